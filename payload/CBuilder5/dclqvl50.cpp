placeholder 224
