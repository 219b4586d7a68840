placeholder 657
