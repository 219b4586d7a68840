placeholder 26
