placeholder 680
