placeholder 35
