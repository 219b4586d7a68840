placeholder 577
