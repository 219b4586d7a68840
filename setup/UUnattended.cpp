#include "setup/UUnattended.h"
#include "common/UGlobals.h"
#include "script/UConst.h"
#include "script/UScript.h"
#include "setup/UChoices.h"
#include "setup/UWizardLogic.h"

int RunUnattendedInstall(const std::wstring& folder) {
    // What the IDE page starts from, taken as it is.
    LoadPreviousSelection();
    LoadStoredCustomizeMask();
    SelectCheckedItems();
    // The wizard cannot go on from an IDE page with no line ticked.
    if (SelectedItemMask == 0) return unattendedNothingToDo;
    // The directory page's proposal or the folder given, stored as the page stores its text.
    InstallDir = StripOneTrailingSeparator(folder.empty() ? ProposedInstallDir(StoredInstallDir()) : folder);
    return RunChosenInstall();
}

int RunChosenInstall() {
    TScript script;
    script.Start();
    const int failed = RunRemainingRows(script, [&script](int result) {
        if (result != 0)
            script.WriteLogLine(FormatRowError(script.FCurrent, result, script.GetItem().Word0, script.LogText()));
    });
    if (LastRunRefused) return unattendedRefused;
    // As the finish page does, before the logs are closed.
    StoreChoices();
    return failed == 0 ? unattendedSuccess : unattendedRowsFailed;
}
