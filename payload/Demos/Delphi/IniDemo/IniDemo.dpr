placeholder 251
