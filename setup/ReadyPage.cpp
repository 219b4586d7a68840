// Wizard page: summary before the install starts.
#include "setup/ReadyPage.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

int ReadyPage::Show() {
    LayoutPageText(2);
    SetItemText(IDC_PAGETEXT, ReadyText());
    ShowItem(IDC_PAGETEXT, true);
    SetItemText(IDC_NEXT, L"Start");
    FocusItem(IDC_NEXT);
    return 1;
}

int ReadyPage::Hide() {
    SetItemText(IDC_NEXT, L"&Next >");
    return 1;
}

}  // namespace tessel::setup
