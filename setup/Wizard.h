// Wizard mode of the setup: runs the six-page wizard dialog.
#pragma once
#include <windows.h>
#include "script/runner/InstallContext.h"
#include "setup/DeploymentSwitches.h"

namespace tessel::setup {

// Registers the link label's class, creates the pages for install, runs
// dialog template 1 and frees the pages.
// The deployment switches (/IDE=, /ITEMS=, /PROFILE=) choose the lines
// the IDE page starts with ticked.
void RunWizard(script::InstallContext& install, const DeploymentSwitches& switches = DeploymentSwitches());

}  // namespace tessel::setup
