// Resource and control ids of the uninstaller's dialog (template 1). Shared by
// unqmv.rc, the program and the tests.
#pragma once

#define IDD_UNINSTALL 1
#define IDB_SIDE 1

#define IDC_START 1000
#define IDC_SIDE_PICTURE 501
#define IDC_MAIN_TEXT 256
#define IDC_STATUS 260
#define IDC_PROGRESS_FRAME 261
#define IDC_PROGRESS_BAR 1009
