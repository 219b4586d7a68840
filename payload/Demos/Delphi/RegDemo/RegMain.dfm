placeholder 259
