placeholder 755
