// Wizard page: summary before the install starts.
#include "setup/ReadyPage.h"
#include "setup/RunningIdeCheck.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

PageMove ReadyPage::Show() {
    ShowPageText(2, ReadyText());
    SetItemText(IDC_NEXT, L"Start");
    FocusItem(IDC_NEXT);
    return PageMove::Stay;
}

bool ReadyPage::MayGoOn() {
    // Checked before anything changes; Cancel leaves the user on this page.
    return WaitForIdesClosed(Dialog(), Install());
}

void ReadyPage::Hide() { SetItemText(IDC_NEXT, L"&Next >"); }

}  // namespace tessel::setup
