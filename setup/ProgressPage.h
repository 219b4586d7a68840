// Page 5: runs the whole install on the dialog's thread, one script row at a
// time, and moves on to the finish page by itself.
#pragma once
#include <string>
#include "setup/Page.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class ProgressPage : public Page {
public:
    using Page::Page;
    int Show() override;
    int Hide() override;

    int DoScript();
    // Called by the shell's cancel rule during the run; 0 = not handled here
    // (the shell then asks), the run is never interrupted.
    int Terminate();
    void SetText(const std::wstring& Value);
    bool InDoScript() const { return FInDoScript; }

private:
    bool FInDoScript = false;
};

// Takes at most one queued keyboard message, else one mouse message, of any
// window of the thread and dispatches it; true when one was taken.
bool DispatchOneInputMessage();

}  // namespace tessel::setup
