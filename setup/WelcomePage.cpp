// Wizard page: welcome.
#include "setup/WelcomePage.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

int WelcomePage::Show() {
    LayoutPageText(1);
    SetItemText(IDC_PAGETEXT, WelcomeText());
    ShowItem(IDC_PAGETEXT, true);
    FocusItem(IDC_NEXT);
    return 1;
}

int WelcomePage::Hide() { return 1; }

}  // namespace tessel::setup
