// Which IDEs an install touches, and whether any of them runs.
#include "setup/RunningIdeCheck.h"
#include "common/RunningIdes.h"
#include "common/WholeFile.h"
#include "script/manifest/Manifest.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "script/runner/ScriptRunner.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

IdeMask IdeMaskTouchedByRun(const InstallContext& install) {
    IdeMask mask = install.Plan.SelectedIdeMask;
    const std::wstring previous = uninstall_entry::PreviousUndoLogPath();
    std::string bytes;
    if (!previous.empty() && ReadFileBytes(previous, bytes, FILE_SHARE_READ) == 0) mask |= IdeMaskOfUndoLog(bytes);
    return mask;
}

std::vector<std::wstring> RunningIdeNames(const InstallContext& install) {
    std::vector<std::wstring> names;
    for (IdeIndex index : FindRunningIdes(install.Plan.Ides, IdeMaskTouchedByRun(install)))
        names.push_back(IdeCaption(index));
    return names;
}

bool WaitForIdesClosed(HWND owner, const InstallContext& install) {
    return AskUntilIdesClosed(owner, [&install] { return RunningIdeNames(install); });
}

}  // namespace tessel::setup
