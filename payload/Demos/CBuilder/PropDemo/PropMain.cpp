placeholder 682
