placeholder 574
