// Page 3: the install folder, proposed and editable, with a folder browser.
#pragma once
#include <string>
#include "setup/Page.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class DirectoryPage : public Page {
public:
    using Page::Page;
    int Show() override;
    int Hide() override;
    int DlgProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

    void InitDirectory();
    void ShowDirectory();
    bool BrowseForDirectory();

    std::wstring FPrevInstallPath;
    bool FFirstShow = true;
    std::wstring Directory;
};

}  // namespace tessel::setup
