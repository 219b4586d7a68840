placeholder 688
