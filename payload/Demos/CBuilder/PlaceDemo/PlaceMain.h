placeholder 674
