// The uninstaller's check for IDEs left running: the IDEs its undo log names
// must be closed before the walk changes their settings.
#pragma once
#include <string>
#include <vector>
#include "changes/UninstallEngine.h"

namespace tessel::uninstaller {

// The IDE page's lines of the IDEs the loaded log names that are running now; empty when none.
std::vector<std::wstring> RunningIdeNames(const changes::UninstallEngine& engine);

}  // namespace tessel::uninstaller
