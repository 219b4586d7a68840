placeholder 295
