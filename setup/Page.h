// Base class of the wizard pages and the small control helpers they share.
// All pages work on the controls of the one wizard dialog.
#pragma once
#include <windows.h>
#include <string>
#include "script/runner/InstallContext.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

// What the shell does once a page has been shown: stay on it, or move on at
// once to the previous page, show the same page again (without hiding it) or
// go to the next page. The numbers are those the pages have always answered with.
enum class PageMove { Stay = 1, Back = 9, Again = 10, Next = 11 };

class Page {
public:
    // Every page works on the one install of the wizard.
    explicit Page(script::InstallContext& install) : install_(install) {}
    virtual ~Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    virtual PageMove Show() = 0;
    virtual void Hide() = 0;
    // Asked before Next leaves the page; false keeps the page as it is.
    virtual bool MayGoOn();
    // A command of a control the shell does not handle itself (Next, Back and
    // Cancel are the shell's); true when the page handled it.
    virtual bool OnCommand(int controlId);

    // The wizard dialog, written by the shell before every Show.
    HWND Dialog() const { return dialog_; }
    void SetDialog(HWND dialog) { dialog_ = dialog; }
    script::InstallContext& Install() const { return install_; }

protected:
    HWND Item(int id) const { return gui::GetDlgItem(dialog_, id); }
    void ShowItem(int id, bool visible) const;
    void EnableItem(int id, bool enabled) const;
    void SetItemText(int id, const std::wstring& text) const;
    std::wstring GetItemText(int id, int limit) const;
    void FocusItem(int id) const;
    // Sizes the page text to 1/divisor of the picture's client height, fills it
    // with text and shows it on top.
    void ShowPageText(int divisor, const std::wstring& text) const;

private:
    script::InstallContext& install_;
    HWND dialog_ = nullptr;
};

}  // namespace tessel::setup
