// Placeholder until the wizard exists: wizard mode shows nothing and returns.
#include "setup/UWizard.h"
void RunWizard() {}
