placeholder 290
