placeholder 408
