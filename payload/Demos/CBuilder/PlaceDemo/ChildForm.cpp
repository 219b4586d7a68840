placeholder 676
