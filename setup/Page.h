// Base class of the wizard pages and the small control helpers they share.
// All pages work on the controls of the one wizard dialog (DlgHandle).
#pragma once
#include <windows.h>
#include <string>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class Page {
public:
    // Every page works on the one install of the wizard.
    explicit Page(script::InstallContext& install) : install_(install) {}
    virtual ~Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // 1 = stay; 9, 10, 11 = move on at once by -1, 0, +1; anything else acts like 1.
    virtual int Show() = 0;
    virtual int Hide() = 0;
    // Result of a command the shell does not handle itself.
    virtual int DlgProc(UINT Msg, WPARAM wParam, LPARAM lParam);

    HWND DlgHandle = nullptr;  // written by the shell before every Show
    script::InstallContext& Install() const { return install_; }

protected:
    HWND Item(int id) const { return GetDlgItem(DlgHandle, id); }
    void ShowItem(int id, bool visible) const;
    void EnableItem(int id, bool enabled) const;
    void SetItemText(int id, const std::wstring& text) const;
    std::wstring GetItemText(int id, int limit) const;
    void FocusItem(int id) const;
    // Sizes the page text to 1/divisor of the picture's client height and shows it on top.
    void LayoutPageText(int divisor) const;

private:
    script::InstallContext& install_;
};

}  // namespace tessel::setup
