placeholder 296
