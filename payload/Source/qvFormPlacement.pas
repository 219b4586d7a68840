placeholder 8
