placeholder 402
