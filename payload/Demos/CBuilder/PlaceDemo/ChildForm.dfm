placeholder 678
