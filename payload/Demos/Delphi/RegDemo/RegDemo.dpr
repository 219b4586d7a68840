placeholder 256
