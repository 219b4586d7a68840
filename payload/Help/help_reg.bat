placeholder 71
