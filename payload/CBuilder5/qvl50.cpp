placeholder 221
