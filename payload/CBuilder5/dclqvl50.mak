placeholder 227
