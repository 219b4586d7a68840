placeholder 226
