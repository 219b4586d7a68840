// Page 5: runs the whole install on the dialog's thread, one script row at a
// time, and moves on to the finish page by itself.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

class ProgressPage : public Page {
public:
    using Page::Page;
    // Returns only after the whole run, with the finish page shown.
    PageMove Show() override;
    void Hide() override;

private:
    void RunScript();
};

}  // namespace tessel::setup
