placeholder 407
