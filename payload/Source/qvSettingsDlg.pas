placeholder 11
