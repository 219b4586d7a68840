placeholder 654
