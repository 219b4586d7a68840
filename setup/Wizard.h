// Wizard mode of the setup: runs the six-page wizard dialog.
#pragma once
#include <windows.h>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

// Registers the link label's class, creates the pages for install, runs
// dialog template 1 and frees the pages.
void RunWizard(script::InstallContext& install);

}  // namespace tessel::setup
