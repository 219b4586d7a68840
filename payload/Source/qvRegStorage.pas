placeholder 6
