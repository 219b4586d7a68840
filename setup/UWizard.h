// Wizard mode of the setup: runs the six-page wizard dialog.
#pragma once
#include <windows.h>
#include "script/InstallContext.h"
#include "setup/UPage.h"

constexpr int PageCount = 6;
// The page objects at positions 1..6 (index 0 unused) and the one shown.
extern TPage* Pages[PageCount + 1];
extern int CurrentPage;

// The maker's web site, opened by the link label.
extern const wchar_t* const MakerWebAddress;
// Class name of the hyperlink label (a "Static" with a hand cursor).
extern const wchar_t* const LinkLabelClass;

// Registers the label class, creates the pages for install, runs dialog template 1 and frees the pages.
void RunWizard(tessel::script::InstallContext& install);
// Registers "QV_ILABEL" from the system's "Static" class.
void RegisterLinkLabelClass();
INT_PTR CALLBACK WizardDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
// Moves by step (-1, 0, +1) and shows the page where it stops; its Show result.
int SwitchPage(int step);
