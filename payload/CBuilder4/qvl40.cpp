placeholder 191
