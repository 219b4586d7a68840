placeholder 72
