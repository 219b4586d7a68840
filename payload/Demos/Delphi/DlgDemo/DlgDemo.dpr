placeholder 404
