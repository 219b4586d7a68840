placeholder 254
