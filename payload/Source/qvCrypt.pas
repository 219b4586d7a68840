placeholder 20
