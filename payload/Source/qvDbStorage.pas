placeholder 874
