placeholder 14
