placeholder 667
