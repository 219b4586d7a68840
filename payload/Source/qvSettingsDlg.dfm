placeholder 12
