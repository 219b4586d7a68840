// Moving between the wizard's pages.
#include "setup/PageFlow.h"
#include <algorithm>
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

void PageFlow::Switch(HWND dialog, int step) {
    if (step > 0 && !Current().MayGoOn()) return;
    for (;;) {
        if (step != 0) Current().Hide();
        position_ = std::clamp(position_ + step, 1, PageCount);
        Page& page = Current();
        page.SetDialog(dialog);
        gui::EnableWindow(gui::GetDlgItem(dialog, IDC_BACK), position_ > 1);
        gui::EnableWindow(gui::GetDlgItem(dialog, IDC_NEXT), position_ < PageCount);
        switch (page.Show()) {
        case PageMove::Stay: return;
        case PageMove::Back: step = -1; break;
        case PageMove::Again: step = 0; break;
        case PageMove::Next: step = +1; break;
        }
    }
}

}  // namespace tessel::setup
