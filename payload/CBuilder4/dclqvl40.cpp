placeholder 194
