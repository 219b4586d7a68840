placeholder 751
