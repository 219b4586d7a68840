placeholder 23
