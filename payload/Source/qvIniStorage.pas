placeholder 5
