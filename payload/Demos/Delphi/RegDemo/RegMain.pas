placeholder 258
