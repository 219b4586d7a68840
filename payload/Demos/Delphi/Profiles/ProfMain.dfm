placeholder 416
