placeholder 664
