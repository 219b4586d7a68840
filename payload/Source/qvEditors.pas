placeholder 13
