placeholder 19
