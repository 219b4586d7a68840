placeholder 291
