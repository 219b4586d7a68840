placeholder 411
