placeholder 4
