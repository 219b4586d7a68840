placeholder 9
