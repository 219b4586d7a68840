placeholder 403
