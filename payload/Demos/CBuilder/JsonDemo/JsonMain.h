placeholder 754
