placeholder 415
