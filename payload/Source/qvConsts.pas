placeholder 2
