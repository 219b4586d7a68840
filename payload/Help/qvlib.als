placeholder 65
