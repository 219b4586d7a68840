// The owner-drawn check list box of the IDE page.
#include "setup/CheckListBox.h"
#include "common/WindowLibraries.h"
#include <vector>
#include <exception>
#include "common/WindowHandles.h"

namespace tessel::setup {

using namespace tessel::common;

namespace {

constexpr int CheckBoxesBitmap = 32759;  // the system's four check box images in a row
constexpr int ItemTextLimit = 4096;

// The box attached to a list box window, or none.
CheckListBox* BoxOf(HWND listBox) { return static_cast<CheckListBox*>(gui::GetPropW(listBox, CheckListBoxProp::Box)); }

}  // namespace

SIZE CheckListBox::CheckSize() {
    static const SIZE size = [] {
        SIZE measured{0, 0};
        UniqueGdiObject bmp(gui::LoadBitmapW(nullptr, MAKEINTRESOURCEW(CheckBoxesBitmap)));
        BITMAP info{};
        if (bmp && gui::GetObjectW(bmp.get(), sizeof(info), &info) == sizeof(info)) {
            measured.cx = info.bmWidth / 4;
            measured.cy = info.bmHeight / 4;
        }
        return measured;
    }();
    return size;
}

// ---- attaching and detaching ----

CheckListBox::CheckListBox(HWND listBox) : handle_(listBox) {
    oldWndProc_ = reinterpret_cast<WNDPROC>(gui::GetWindowLongPtrW(handle_, GWLP_WNDPROC));
    boxProp_.set(handle_, CheckListBoxProp::Box, this);
    gui::SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListWndProc));

    parent_ = gui::GetParent(handle_);
    if (parent_) {
        auto current = reinterpret_cast<WNDPROC>(gui::GetWindowLongPtrW(parent_, GWLP_WNDPROC));
        if (current == &ParentWndProc) {
            auto n = reinterpret_cast<INT_PTR>(gui::GetPropW(parent_, CheckListBoxProp::ParentCount));
            gui::SetPropW(parent_, CheckListBoxProp::ParentCount, reinterpret_cast<HANDLE>(n + 1));
        } else {
            gui::SetPropW(parent_, CheckListBoxProp::ParentProc, reinterpret_cast<HANDLE>(current));
            gui::SetPropW(parent_, CheckListBoxProp::ParentCount, reinterpret_cast<HANDLE>(INT_PTR{1}));
            gui::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentWndProc));
        }
    }
    pendingClicks_ = 0;
}

CheckListBox::~CheckListBox() {
    // The windows may already be gone (the wizard page frees its box after the
    // dialog has ended); then there is nothing to give back.
    if (parent_ && gui::IsWindow(parent_) &&
        reinterpret_cast<WNDPROC>(gui::GetWindowLongPtrW(parent_, GWLP_WNDPROC)) == &ParentWndProc) {
        auto n = reinterpret_cast<INT_PTR>(gui::GetPropW(parent_, CheckListBoxProp::ParentCount));
        if (n - 1 > 0) {
            gui::SetPropW(parent_, CheckListBoxProp::ParentCount, reinterpret_cast<HANDLE>(n - 1));
        } else {
            auto old = reinterpret_cast<LONG_PTR>(gui::GetPropW(parent_, CheckListBoxProp::ParentProc));
            if (old) gui::SetWindowLongPtrW(parent_, GWLP_WNDPROC, old);
            gui::RemovePropW(parent_, CheckListBoxProp::ParentProc);
            gui::RemovePropW(parent_, CheckListBoxProp::ParentCount);
        }
    }
    if (gui::IsWindow(handle_)) {
        gui::SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldWndProc_));
        boxProp_.reset();
    } else {
        boxProp_.release();
    }
}

// ---- lines ----

void CheckListBox::Clear() { gui::SendMessageW(handle_, LB_RESETCONTENT, 0, 0); }

int CheckListBox::Add(const std::wstring& value) {
    return static_cast<int>(gui::SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.c_str())));
}

void CheckListBox::Insert(int index, const std::wstring& value) {
    gui::SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(value.c_str()));
}

void CheckListBox::Delete(int index) { gui::SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

std::wstring CheckListBox::GetItemString(int index) const {
    LRESULT len = gui::SendMessageW(handle_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (len == LB_ERR || len >= ItemTextLimit) return std::wstring();
    std::vector<wchar_t> buf(ItemTextLimit, L'\0');
    LRESULT got =
        gui::SendMessageW(handle_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
    if (got == LB_ERR || got < 0) return std::wstring();
    return std::wstring(buf.data(), static_cast<size_t>(got));
}

void CheckListBox::SetItemString(int index, const std::wstring& value) {
    if (index < Count()) {
        Delete(index);
        Insert(index, value);
    }
}

LPARAM CheckListBox::Flags(int index) const {
    return static_cast<LPARAM>(gui::SendMessageW(handle_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool CheckListBox::GetChecked(int index) const { return (Flags(index) & LineFlag::Checked) != 0; }

void CheckListBox::SetChecked(int index, bool value) {
    LPARAM f = Flags(index);
    f = value ? (f | LineFlag::Checked) : (f & ~LineFlag::Checked);
    gui::SendMessageW(handle_, LB_SETITEMDATA, static_cast<WPARAM>(index), f);
}

bool CheckListBox::GetEnabled(int index) const { return (Flags(index) & LineFlag::Disabled) == 0; }

void CheckListBox::SetEnabled(int index, bool value) {
    LPARAM f = Flags(index);
    f = value ? (f & ~LineFlag::Disabled) : (f | LineFlag::Disabled);
    gui::SendMessageW(handle_, LB_SETITEMDATA, static_cast<WPARAM>(index), f);
}

int CheckListBox::Count() const { return static_cast<int>(gui::SendMessageW(handle_, LB_GETCOUNT, 0, 0)); }

int CheckListBox::Selected() const { return static_cast<int>(gui::SendMessageW(handle_, LB_GETCURSEL, 0, 0)); }

void CheckListBox::SetSelected(int index) { gui::SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

RECT CheckListBox::GetItemRect(int index) const {
    RECT r{};
    int n = Count();
    if (index == 0 || (index >= 0 && index < n)) {
        gui::SendMessageW(handle_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    } else if (index == n && n > 0) {
        gui::SendMessageW(handle_, LB_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&r));
        gui::OffsetRect(&r, 0, r.bottom - r.top);
    }
    return r;
}

// ---- toggling ----

void CheckListBox::ToggleSelected() {
    int i = Selected();
    if (i < 0 || !GetEnabled(i)) return;
    SetChecked(i, !GetChecked(i));
    RECT r = GetItemRect(i);
    r.right = r.left + CheckSize().cx + 2;
    gui::InvalidateRect(handle_, &r, TRUE);
    gui::UpdateWindow(handle_);
    if (OnCheckClick) OnCheckClick(this);
}

LRESULT CALLBACK CheckListBox::ListWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CheckListBox* box = BoxOf(wnd);
    if (!box) return gui::DefWindowProcW(wnd, msg, wParam, lParam);
    // An event handler that fails must not unwind through the system's message
    // dispatch; the list box still gets the message.
    try {
        switch (msg) {
        case WM_CHAR:
            if (wParam == L' ') box->ToggleSelected();
            break;
        case WM_LBUTTONDOWN: box->pendingClicks_ = 1; break;
        case WM_LBUTTONUP:
            if (--box->pendingClicks_ == 0) box->ToggleSelected();
            break;
        case WM_LBUTTONDBLCLK: box->ToggleSelected(); break;
        default: break;
        }
    } catch (const std::exception&) {
        // out of memory in a handler: the list box still gets the message
    }
    return gui::CallWindowProcW(box->oldWndProc_, wnd, msg, wParam, lParam);
}

LRESULT CALLBACK CheckListBox::ParentWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType == ODT_LISTBOX) {
            if (CheckListBox* box = BoxOf(dis->hwndItem)) {
                try {
                    box->DrawItem(dis->hDC, static_cast<int>(dis->itemID), dis->itemState, dis->rcItem);
                } catch (const std::exception&) {
                    // no memory for the line's text: the line stays undrawn
                }
                return 1;
            }
        }
    } else if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        if (CheckListBox* box = BoxOf(reinterpret_cast<HWND>(lParam))) {
            try {
                if (box->OnClick) box->OnClick(box);
            } catch (const std::exception&) {
                // a handler out of memory must not unwind through the system's message dispatch
            }
            return 1;
        }
    }
    auto old = reinterpret_cast<WNDPROC>(gui::GetPropW(wnd, CheckListBoxProp::ParentProc));
    if (!old) return gui::DefWindowProcW(wnd, msg, wParam, lParam);
    return gui::CallWindowProcW(old, wnd, msg, wParam, lParam);
}

// ---- drawing ----

void CheckListBox::DrawItem(HDC dc, int index, UINT state, const RECT& rect) {
    // Read before anything is selected into the context, so that a failed
    // allocation leaves the context as it was.
    const std::wstring s = index >= 0 ? GetItemString(index) : std::wstring();
    COLORREF back, text;
    if (index >= 0 && (state & ODS_SELECTED)) {
        back = gui::GetSysColor(COLOR_HIGHLIGHT);
        text = gui::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        back = gui::GetBkColor(dc);
        text = gui::GetTextColor(dc);
    }
    UniqueGdiObject brush(gui::CreateSolidBrush(back));
    UniqueGdiObject pen(gui::CreatePen(PS_SOLID, 0, text));
    HGDIOBJ oldBrush = gui::SelectObject(dc, brush.get());
    HGDIOBJ oldPen = gui::SelectObject(dc, pen.get());
    COLORREF oldBack = gui::SetBkColor(dc, back);
    COLORREF oldText = gui::SetTextColor(dc, text);

    const int checkWidth = CheckSize().cx;
    RECT textRect = rect;
    textRect.left += checkWidth + 2;
    if (index < 0) {
        gui::FillRect(dc, &textRect, static_cast<HBRUSH>(brush.get()));
    } else {
        RECT checkRect = rect;
        checkRect.right = rect.left + checkWidth + 2;
        bool enabled = GetEnabled(index);
        DrawCheckBox(dc, checkRect, enabled, GetChecked(index) ? CheckMark::Checked : CheckMark::Clear);
        if (!enabled) gui::SetTextColor(dc, gui::GetSysColor(COLOR_GRAYTEXT));
        gui::FillRect(dc, &textRect, static_cast<HBRUSH>(brush.get()));
        gui::DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!enabled) gui::SetTextColor(dc, text);
    }
    if (state & ODS_FOCUS) gui::DrawFocusRect(dc, &textRect);

    gui::SetBkColor(dc, oldBack);
    gui::SetTextColor(dc, oldText);
    gui::SelectObject(dc, oldBrush);
    gui::SelectObject(dc, oldPen);
}

void DrawCheckBox(HDC dc, const RECT& rect, bool enabled, CheckMark mark) {
    const SIZE check = CheckListBox::CheckSize();
    RECT box;
    box.left = rect.left + (rect.right - rect.left - check.cx) / 2;
    box.top = rect.top + (rect.bottom - rect.top - check.cx) / 2;
    box.right = box.left + check.cx;
    box.bottom = box.top + check.cy + 4;

    UINT flags = DFCS_BUTTONCHECK;
    if (mark == CheckMark::Checked)
        flags |= DFCS_CHECKED;
    else if (mark == CheckMark::Mixed)
        flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (!enabled) flags |= DFCS_INACTIVE;

    {
        UniqueGdiObject shadow(gui::CreatePen(PS_SOLID, 0, gui::GetSysColor(COLOR_BTNSHADOW)));
        HGDIOBJ old = gui::SelectObject(dc, shadow.get());
        gui::Rectangle(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
        gui::SelectObject(dc, old);
    }

    // Clip away the frame control's own 3-D border so only its face and mark show.
    UniqueGdiObject saved(gui::CreateRectRgn(0, 0, 0, 0));
    int had = saved ? gui::GetClipRgn(dc, static_cast<HRGN>(saved.get())) : -1;
    gui::IntersectClipRect(dc, box.left + 2, box.top + 2, box.right - 2, box.bottom - 2);
    gui::DrawFrameControl(dc, &box, DFC_BUTTON, flags);
    gui::SelectClipRgn(dc, had == 1 ? static_cast<HRGN>(saved.get()) : nullptr);
}

}  // namespace tessel::setup
