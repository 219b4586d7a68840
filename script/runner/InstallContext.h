// One install as the setup sees it: the plan its pages build, how the last
// run of it ended, and whether its choices were stored. The setup's main
// block owns the one instance; the pages fill in the plan, the progress page
// hands the plan to the runner and keeps the runner's outcome here.
#pragma once
#include <windows.h>
#include "changes/InstallPlan.h"

namespace tessel::script {

struct InstallContext {
    changes::InstallPlan Plan;
    changes::RunOutcome Outcome;
    // The choices could not be stored under the product key (the finish page's
    // or the unattended run's last step).
    DWORD StoreFailure = 0;
};

}  // namespace tessel::script
