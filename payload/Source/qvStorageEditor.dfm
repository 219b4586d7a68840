placeholder 17
