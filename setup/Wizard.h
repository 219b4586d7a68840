// Wizard mode of the setup: runs the six-page wizard dialog.
#pragma once
#include <windows.h>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

// The maker's web site, opened by the link label.
inline constexpr const wchar_t* MakerWebAddress = L"https://www.veltrane.example/";
// Class name of the hyperlink label (a "Static" with a hand cursor).
inline constexpr const wchar_t* LinkLabelClass = L"QV_ILABEL";

// Registers the label class, creates the pages for install, runs dialog template 1 and frees the pages.
void RunWizard(script::InstallContext& install);
// Registers "QV_ILABEL" from the system's "Static" class.
void RegisterLinkLabelClass();
// The wizard dialog's procedure; the dialog's creation parameter is its wizard.
INT_PTR CALLBACK WizardDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace tessel::setup
