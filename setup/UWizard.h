// Wizard mode of the setup: runs the six-page wizard dialog.
#pragma once

void RunWizard();
