placeholder 3
