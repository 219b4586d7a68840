placeholder 873
