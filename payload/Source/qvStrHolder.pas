placeholder 10
