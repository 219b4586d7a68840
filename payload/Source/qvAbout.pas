placeholder 18
