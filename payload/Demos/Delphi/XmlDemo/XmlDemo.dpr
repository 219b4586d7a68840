placeholder 288
