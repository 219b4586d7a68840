placeholder 659
