placeholder 526
