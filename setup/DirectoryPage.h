// Page 3: the install folder, proposed and editable, with a folder browser.
#pragma once
#include <string>
#include "setup/Page.h"

namespace tessel::setup {

class DirectoryPage : public Page {
public:
    using Page::Page;
    PageMove Show() override;
    void Hide() override;
    bool OnCommand(int controlId) override;
    // Refuses an existing folder that others than administrators can change, saying why.
    bool MayGoOn() override;

private:
    // Puts directory_ into the edit box, caret at its end, and focuses it.
    void ShowDirectory();
    // Lets the user pick a folder: the folder chosen, empty when cancelled.
    std::wstring BrowseForDirectory();

    std::wstring previousDir_;  // the previous installation's folder, read at the first showing
    bool firstShow_ = true;
    std::wstring directory_;  // the folder the edit box shows
};

}  // namespace tessel::setup
