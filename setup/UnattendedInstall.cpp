// setup.exe /S: the install without any window.
#include "setup/UnattendedInstall.h"
#include "script/manifest/Manifest.h"
#include "script/runner/ScriptRunner.h"
#include "setup/InstallChoices.h"
#include "setup/RunningIdeCheck.h"
#include "setup/WizardLogic.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

UnattendedExit RunUnattendedInstall(script::InstallContext& install, const std::wstring& folder) {
    // What the IDE page starts from, taken as it is.
    LoadPreviousSelection(install);
    LoadStoredCustomizeMask(install);
    SelectCheckedItems(install);
    // The wizard cannot go on from an IDE page with no line ticked.
    if (install.Plan.SelectedItemMask.Empty()) return UnattendedExit::NothingToDo;
    // The directory page's proposal or the folder given, stored as the page stores its text.
    install.Plan.InstallDir =
        StripOneTrailingSeparator(folder.empty() ? ProposedInstallDir(install, StoredInstallDir()) : folder);
    // Nobody can be asked to close an IDE: the run is refused before it changes anything.
    if (!RunningIdeNames(install).empty()) return UnattendedExit::IdeRunning;
    return RunChosenInstall(install);
}

UnattendedExit RunChosenInstall(script::InstallContext& install) {
    ScriptRunner script(install.Plan);
    script.Start();
    const int failed = RunRemainingRows(script, [&script](ActionResult result) {
        if (result.Failed())
            script.WriteLogLine(
                FormatRowError(script.Current(), result.Code(), script.CurrentRow().Word0, script.LogText()));
    });
    install.Outcome = script.Outcome();
    install.Outcome.FailedRows = failed;
    if (install.Outcome.RunRefused()) return UnattendedExit::Refused;
    // The row whose undo record failed is in the log already; nothing after it
    // ran, and the choices would go into the product key unrecorded.
    if (install.Outcome.RunStopped()) return UnattendedExit::RowsFailed;
    // As the finish page does, before the logs are closed. Choices that are
    // not stored would have the next install start from the wrong ones.
    install.StoreFailure = StoreChoices(install);
    if (install.StoreFailure != 0) {
        script.WriteLogLine(std::wstring(L"Storing choices: ") + ProductRegKey + LogEnding::Fail);
        return UnattendedExit::RowsFailed;
    }
    // An IDE whose packages are left to be built in the IDE is not a complete
    // install either, nor one beside what is left of the previous installation.
    return failed == 0 && install.Outcome.ManualBuildIdeMask.Empty() && !install.Outcome.PreviousRemovalFailed
               ? UnattendedExit::Success
               : UnattendedExit::RowsFailed;
}

}  // namespace tessel::setup
