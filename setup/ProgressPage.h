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

// Takes at most one queued keyboard message, else one mouse message, of any
// window of the thread and dispatches it; true when one was taken.
bool DispatchOneInputMessage();

}  // namespace tessel::setup
