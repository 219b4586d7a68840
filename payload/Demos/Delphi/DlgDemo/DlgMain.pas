placeholder 406
