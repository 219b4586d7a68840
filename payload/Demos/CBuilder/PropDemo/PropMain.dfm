placeholder 684
