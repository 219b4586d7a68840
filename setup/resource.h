// Resource and control ids of the wizard dialog (template 1) and the
// customise dialog (template 900). Shared by the .rc scripts and the pages.
#pragma once

#define IDD_WIZARD 1
#define IDB_WIZARD 1
#define IDI_SETUP 1
#define IDD_CUSTOMIZE 900

// Wizard dialog controls.
#define IDC_NEXT 1000
#define IDC_BACK 1001
#define IDC_BROWSE 1002
#define IDC_CUSTOMIZE 1003
#define IDC_PROGRESS 1009
#define IDC_DIRECTORY 1010
#define IDC_LIST 1013
#define IDC_PICTURE 501
#define IDC_PAGETEXT 256
#define IDC_DIRFRAME 258
#define IDC_ROWCAPTION 260
#define IDC_PROGRESSFRAME 261

// Customise dialog controls.
#define IDC_CUSTOMLIST 901
#define IDC_CUSTOMDESC 902
#define IDC_CUSTOMSEP 903
#define IDC_CUSTOMOK 904
#define IDC_CUSTOMCANCEL 905
