placeholder 253
