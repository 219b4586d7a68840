placeholder 34
