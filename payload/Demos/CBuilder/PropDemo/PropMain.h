placeholder 683
