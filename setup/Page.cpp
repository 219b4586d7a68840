// Base of the wizard pages.
#include "setup/Page.h"
#include <vector>
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

bool Page::OnCommand(int) { return false; }

bool Page::MayGoOn() { return true; }

void Page::ShowItem(int id, bool visible) const { gui::ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE); }

void Page::EnableItem(int id, bool enabled) const { gui::EnableWindow(Item(id), enabled ? TRUE : FALSE); }

void Page::SetItemText(int id, const std::wstring& text) const { gui::SetDlgItemTextW(dialog_, id, text.c_str()); }

std::wstring Page::GetItemText(int id, int limit) const {
    std::vector<wchar_t> buf(static_cast<size_t>(limit) + 1, L'\0');
    UINT n = gui::GetDlgItemTextW(dialog_, id, buf.data(), limit + 1);
    return std::wstring(buf.data(), n);
}

void Page::FocusItem(int id) const { gui::SetFocus(Item(id)); }

void Page::ShowPageText(int divisor, const std::wstring& content) const {
    RECT picture{};
    gui::GetClientRect(Item(IDC_PICTURE), &picture);
    HWND text = Item(IDC_PAGETEXT);
    RECT r{};
    gui::GetWindowRect(text, &r);
    int height = (picture.bottom - picture.top) / divisor;
    gui::SetWindowPos(text, HWND_TOP, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_SHOWWINDOW);
    SetItemText(IDC_PAGETEXT, content);
    ShowItem(IDC_PAGETEXT, true);
}

}  // namespace tessel::setup
