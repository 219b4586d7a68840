placeholder 690
