placeholder 655
