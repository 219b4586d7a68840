placeholder 400
