placeholder 673
