placeholder 22
