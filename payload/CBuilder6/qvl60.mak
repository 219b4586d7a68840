placeholder 576
