// The setup's check for IDEs left running, made before an install changes
// anything: the IDEs ticked and those of the previous installation that the
// run removes first.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

// The IDEs (InternalId bits) the run changes: the ticked ones and those the
// previous installation's undo log names.
common::IdeMask IdeMaskTouchedByRun(const script::InstallContext& install);
// The IDE page's lines of the IDEs the run touches that are running now; empty when none.
std::vector<std::wstring> RunningIdeNames(const script::InstallContext& install);
// Asks, while any of them runs, to close them (Retry) or to give up (Cancel),
// in a box owned by owner; true when none runs any more.
bool WaitForIdesClosed(HWND owner, const script::InstallContext& install);

}  // namespace tessel::setup
