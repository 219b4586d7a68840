placeholder 660
