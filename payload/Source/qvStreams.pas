placeholder 21
