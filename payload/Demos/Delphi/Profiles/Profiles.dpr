placeholder 413
