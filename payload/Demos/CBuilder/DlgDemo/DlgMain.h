placeholder 689
