placeholder 666
