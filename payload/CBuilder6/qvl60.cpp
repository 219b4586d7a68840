placeholder 571
