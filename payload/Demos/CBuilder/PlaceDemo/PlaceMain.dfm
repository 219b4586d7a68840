placeholder 675
