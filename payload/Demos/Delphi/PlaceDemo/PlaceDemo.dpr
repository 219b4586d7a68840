placeholder 293
