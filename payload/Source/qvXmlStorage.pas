placeholder 7
