placeholder 16
