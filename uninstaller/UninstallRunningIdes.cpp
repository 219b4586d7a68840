// The IDEs an uninstall touches that are running now.
#include "uninstaller/UninstallRunningIdes.h"
#include "common/IdeDiscovery.h"
#include "common/RunningIdes.h"
// Only the IDE page's lines are taken from the product's tables (constants, nothing linked).
#include "script/manifest/Manifest.h"

namespace tessel::uninstaller {

using namespace tessel::common;
using namespace tessel::changes;

std::vector<std::wstring> RunningIdeNames(const UninstallEngine& engine) {
    std::vector<std::wstring> names;
    for (IdeIndex index : FindRunningIdes(FindInstalledIdes(), IdeMaskOfUndoLog(engine.LogBytes())))
        names.push_back(script::IdeCaption(index));
    return names;
}

}  // namespace tessel::uninstaller
