placeholder 753
