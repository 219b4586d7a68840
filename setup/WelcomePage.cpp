// Wizard page: welcome.
#include "setup/WelcomePage.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

PageMove WelcomePage::Show() {
    LayoutPageText(1);
    SetItemText(IDC_PAGETEXT, WelcomeText());
    ShowItem(IDC_PAGETEXT, true);
    FocusItem(IDC_NEXT);
    return PageMove::Stay;
}

void WelcomePage::Hide() {}

}  // namespace tessel::setup
