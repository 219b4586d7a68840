// Wizard page: welcome.
#include "setup/WelcomePage.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

PageMove WelcomePage::Show() {
    ShowPageText(1, WelcomeText());
    FocusItem(IDC_NEXT);
    return PageMove::Stay;
}

void WelcomePage::Hide() {}

}  // namespace tessel::setup
