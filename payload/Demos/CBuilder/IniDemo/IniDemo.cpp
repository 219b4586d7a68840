placeholder 651
