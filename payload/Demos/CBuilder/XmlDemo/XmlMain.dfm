placeholder 668
