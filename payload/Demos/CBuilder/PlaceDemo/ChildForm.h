placeholder 677
