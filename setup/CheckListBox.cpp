// The owner-drawn check list box of the IDE page.
#include "setup/CheckListBox.h"
#include <vector>

namespace tessel::setup {

using namespace tessel::common;

int CheckWidth = 0;
int CheckHeight = 0;

namespace {

constexpr int CheckBoxesBitmap = 32759;  // the system's four check box images in a row
constexpr int ItemTextLimit = 4096;

// Unit start-up: the check box size is taken once from the system bitmap.
struct CheckMetrics {
    CheckMetrics() {
        UniqueGdiObject bmp(LoadBitmapW(nullptr, MAKEINTRESOURCEW(CheckBoxesBitmap)));
        BITMAP info{};
        if (bmp && GetObjectW(bmp.get(), sizeof(info), &info) == sizeof(info)) {
            CheckWidth = info.bmWidth / 4;
            CheckHeight = info.bmHeight / 4;
        }
    }
};
const CheckMetrics checkMetrics;

// The box attached to a list box window, or none.
CheckListBox* BoxOf(HWND listBox) { return static_cast<CheckListBox*>(GetPropW(listBox, ClbPropBox)); }

}  // namespace

// ---- attaching and detaching ----

CheckListBox::CheckListBox(HWND ListBoxHandle) : FHandle(ListBoxHandle) {
    FOldWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FHandle, GWLP_WNDPROC));
    FBoxProp.set(FHandle, ClbPropBox, this);
    SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListWndProc));

    FParent = GetParent(FHandle);
    if (FParent) {
        auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FParent, GWLP_WNDPROC));
        if (current == &ParentWndProc) {
            auto n = reinterpret_cast<INT_PTR>(GetPropW(FParent, ClbPropParentCount));
            SetPropW(FParent, ClbPropParentCount, reinterpret_cast<HANDLE>(n + 1));
        } else {
            SetPropW(FParent, ClbPropParentProc, reinterpret_cast<HANDLE>(current));
            SetPropW(FParent, ClbPropParentCount, reinterpret_cast<HANDLE>(INT_PTR{1}));
            SetWindowLongPtrW(FParent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentWndProc));
        }
    }
    FLClicksCount = 0;
}

CheckListBox::~CheckListBox() {
    // The windows may already be gone (the wizard page frees its box after the
    // dialog has ended); then there is nothing to give back.
    if (FParent && IsWindow(FParent) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FParent, GWLP_WNDPROC)) == &ParentWndProc) {
        auto n = reinterpret_cast<INT_PTR>(GetPropW(FParent, ClbPropParentCount));
        if (n - 1 > 0) {
            SetPropW(FParent, ClbPropParentCount, reinterpret_cast<HANDLE>(n - 1));
        } else {
            auto old = reinterpret_cast<LONG_PTR>(GetPropW(FParent, ClbPropParentProc));
            if (old) SetWindowLongPtrW(FParent, GWLP_WNDPROC, old);
            RemovePropW(FParent, ClbPropParentProc);
            RemovePropW(FParent, ClbPropParentCount);
        }
    }
    if (IsWindow(FHandle)) {
        SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
        FBoxProp.reset();
    } else {
        FBoxProp.release();
    }
}

// ---- lines ----

void CheckListBox::Clear() { SendMessageW(FHandle, LB_RESETCONTENT, 0, 0); }

int CheckListBox::Add(const std::wstring& Value) {
    return static_cast<int>(SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Value.c_str())));
}

void CheckListBox::Insert(int Index, const std::wstring& Value) {
    SendMessageW(FHandle, LB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Value.c_str()));
}

void CheckListBox::Delete(int Index) { SendMessageW(FHandle, LB_DELETESTRING, static_cast<WPARAM>(Index), 0); }

std::wstring CheckListBox::GetItemString(int Index) const {
    LRESULT len = SendMessageW(FHandle, LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
    if (len == LB_ERR || len >= ItemTextLimit) return std::wstring();
    std::vector<wchar_t> buf(ItemTextLimit, L'\0');
    LRESULT got = SendMessageW(FHandle, LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(buf.data()));
    if (got == LB_ERR || got < 0) return std::wstring();
    return std::wstring(buf.data(), static_cast<size_t>(got));
}

void CheckListBox::SetItemString(int Index, const std::wstring& Value) {
    if (Index < Count()) {
        Delete(Index);
        Insert(Index, Value);
    }
}

LPARAM CheckListBox::Flags(int Index) const {
    return static_cast<LPARAM>(SendMessageW(FHandle, LB_GETITEMDATA, static_cast<WPARAM>(Index), 0));
}

bool CheckListBox::GetChecked(int Index) const { return (Flags(Index) & LineFlag::Checked) != 0; }

void CheckListBox::SetChecked(int Index, bool Value) {
    LPARAM f = Flags(Index);
    f = Value ? (f | LineFlag::Checked) : (f & ~LineFlag::Checked);
    SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(Index), f);
}

bool CheckListBox::GetEnabled(int Index) const { return (Flags(Index) & LineFlag::Disabled) == 0; }

void CheckListBox::SetEnabled(int Index, bool Value) {
    LPARAM f = Flags(Index);
    f = Value ? (f & ~LineFlag::Disabled) : (f | LineFlag::Disabled);
    SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(Index), f);
}

int CheckListBox::Count() const { return static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0)); }

int CheckListBox::Selected() const { return static_cast<int>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0)); }

void CheckListBox::SetSelected(int Index) { SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(Index), 0); }

RECT CheckListBox::GetItemRect(int Index) const {
    RECT r{};
    int n = Count();
    if (Index == 0 || (Index >= 0 && Index < n)) {
        SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    } else if (Index == n && n > 0) {
        SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, 0, r.bottom - r.top);
    }
    return r;
}

// ---- toggling ----

void CheckListBox::ToggleSelected() {
    int i = Selected();
    if (i < 0 || !GetEnabled(i)) return;
    SetChecked(i, !GetChecked(i));
    RECT r = GetItemRect(i);
    r.right = r.left + CheckWidth + 2;
    InvalidateRect(FHandle, &r, TRUE);
    UpdateWindow(FHandle);
    if (OnCheckClick) OnCheckClick(this);
}

LRESULT CALLBACK CheckListBox::ListWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CheckListBox* box = BoxOf(wnd);
    if (!box) return DefWindowProcW(wnd, msg, wParam, lParam);
    // An event handler that fails must not unwind through the system's message
    // dispatch; the list box still gets the message.
    try {
        switch (msg) {
        case WM_CHAR:
            if (wParam == L' ') box->ToggleSelected();
            break;
        case WM_LBUTTONDOWN:
            box->FLClicksCount = 1;
            break;
        case WM_LBUTTONUP:
            if (--box->FLClicksCount == 0) box->ToggleSelected();
            break;
        case WM_LBUTTONDBLCLK:
            box->ToggleSelected();
            break;
        default:
            break;
        }
    } catch (...) {
    }
    return CallWindowProcW(box->FOldWndProc, wnd, msg, wParam, lParam);
}

LRESULT CALLBACK CheckListBox::ParentWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType == ODT_LISTBOX) {
            if (CheckListBox* box = BoxOf(dis->hwndItem)) {
                try {
                    box->DrawItem(dis->hDC, static_cast<int>(dis->itemID), dis->itemState, dis->rcItem);
                } catch (...) {
                    // no memory for the line's text: the line stays undrawn
                }
                return 1;
            }
        }
    } else if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        if (CheckListBox* box = BoxOf(reinterpret_cast<HWND>(lParam))) {
            try {
                if (box->OnClick) box->OnClick(box);
            } catch (...) {
                // a failing handler must not unwind through the system's message dispatch
            }
            return 1;
        }
    }
    auto old = reinterpret_cast<WNDPROC>(GetPropW(wnd, ClbPropParentProc));
    if (!old) return DefWindowProcW(wnd, msg, wParam, lParam);
    return CallWindowProcW(old, wnd, msg, wParam, lParam);
}

// ---- drawing ----

void CheckListBox::DrawItem(HDC dc, int Index, UINT State, const RECT& Rect) {
    // Read before anything is selected into the context, so that a failed
    // allocation leaves the context as it was.
    const std::wstring s = Index >= 0 ? GetItemString(Index) : std::wstring();
    COLORREF back, text;
    if (Index >= 0 && (State & ODS_SELECTED)) {
        back = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        back = GetBkColor(dc);
        text = GetTextColor(dc);
    }
    UniqueGdiObject brush(CreateSolidBrush(back));
    UniqueGdiObject pen(CreatePen(PS_SOLID, 0, text));
    HGDIOBJ oldBrush = SelectObject(dc, brush.get());
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    COLORREF oldBack = SetBkColor(dc, back);
    COLORREF oldText = SetTextColor(dc, text);

    RECT textRect = Rect;
    textRect.left += CheckWidth + 2;
    if (Index < 0) {
        FillRect(dc, &textRect, static_cast<HBRUSH>(brush.get()));
    } else {
        RECT checkRect = Rect;
        checkRect.right = Rect.left + CheckWidth + 2;
        bool enabled = GetEnabled(Index);
        DrawCheckBox(dc, checkRect, enabled, GetChecked(Index) ? 1 : 0);
        if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        FillRect(dc, &textRect, static_cast<HBRUSH>(brush.get()));
        DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!enabled) SetTextColor(dc, text);
    }
    if (State & ODS_FOCUS) DrawFocusRect(dc, &textRect);

    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void DrawCheckBox(HDC dc, const RECT& R, bool Enabled, int State) {
    RECT box;
    box.left = R.left + (R.right - R.left - CheckWidth) / 2;
    box.top = R.top + (R.bottom - R.top - CheckWidth) / 2;
    box.right = box.left + CheckWidth;
    box.bottom = box.top + CheckHeight + 4;

    UINT flags = DFCS_BUTTONCHECK;
    if (State == 1) flags |= DFCS_CHECKED;
    else if (State != 0) flags |= DFCS_CHECKED | DFCS_BUTTON3STATE;
    if (!Enabled) flags |= DFCS_INACTIVE;

    {
        UniqueGdiObject shadow(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW)));
        HGDIOBJ old = SelectObject(dc, shadow.get());
        Rectangle(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
        SelectObject(dc, old);
    }

    // Clip away the frame control's own 3-D border so only its face and mark show.
    UniqueGdiObject saved(CreateRectRgn(0, 0, 0, 0));
    int had = saved ? GetClipRgn(dc, static_cast<HRGN>(saved.get())) : -1;
    IntersectClipRect(dc, box.left + 2, box.top + 2, box.right - 2, box.bottom - 2);
    DrawFrameControl(dc, &box, DFC_BUTTON, flags);
    SelectClipRgn(dc, had == 1 ? static_cast<HRGN>(saved.get()) : nullptr);
}

}  // namespace tessel::setup
