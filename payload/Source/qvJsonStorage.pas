placeholder 950
