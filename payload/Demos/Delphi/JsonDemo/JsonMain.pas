placeholder 410
