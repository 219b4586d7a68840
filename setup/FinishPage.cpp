// Wizard page: the end of the install.
#include "setup/FinishPage.h"
#include "changes/packages/ManualBuild.h"
#include "script/runner/ScriptRunner.h"
#include "setup/InstallChoices.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

PageMove FinishPage::Show() {
    ShowItem(IDC_BACK, false);
    ShowItem(IDC_NEXT, false);
    ShowItem(IDC_ROWCAPTION, true);
    FocusItem(IDCANCEL);
    gui::SendMessageW(Item(IDCANCEL), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    // A refused run installed nothing, so there are no choices to remember; a
    // run stopped by an undo record it could not write may not change the
    // product key unrecorded. Stored before the text, which tells a failure.
    Install().StoreFailure = 0;
    if (!Install().Outcome.RunRefused() && !Install().Outcome.RunStopped()) Install().StoreFailure = StoreSettings();
    std::wstring text = Install().Outcome.RunRefused() ? RefusedFinishText(Install().Plan.InstallDir, Install().Outcome.RunRefusal)
                                               : RunFinishText(Install());
    const std::wstring manualBuild = packages::ManualBuildFinishText(Install().Outcome.ManualBuildIdeMask);
    if (!manualBuild.empty()) text += L"\r\n\r\n" + manualBuild;
    SetItemText(IDC_PAGETEXT, text);
    SetItemText(IDCANCEL, L"Finish");
    return PageMove::Stay;
}

void FinishPage::Hide() {}

DWORD FinishPage::StoreSettings() { return StoreChoices(Install()); }

}  // namespace tessel::setup
