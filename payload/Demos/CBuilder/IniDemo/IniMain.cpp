placeholder 653
