placeholder 527
