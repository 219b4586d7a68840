placeholder 671
