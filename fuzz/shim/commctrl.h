// Progress bar messages the uninstall engine sends (native fuzz build only).
#pragma once
#define PBM_SETPOS 0x0402
#define PBM_DELTAPOS 0x0403
#define PBM_SETRANGE32 0x0406
