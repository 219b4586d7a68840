placeholder 661
