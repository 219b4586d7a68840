// The check list box attached to real list boxes in this process: toggling by
// mouse and keyboard, disabled lines, events, the parent's procedure and
// properties with two boxes, drawing, and finding a box by its list box.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>
// The unit is part of setup.exe only, so the test builds it in.
#include "setup/CheckListBox.h"
#include "common/WindowHandles.h"

using namespace tessel::common;
using namespace tessel::setup;

namespace {

int parentCommands = 0;  // selection-change notifications that reached the parent's own procedure

LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) ++parentCommands;
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

struct Windows {
    UniqueWindow parent;
    HWND list1 = nullptr;
    HWND list2 = nullptr;
    Windows() {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = ParentProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"ClbTestParent";
            RegisterClassW(&wc);
            registered = true;
        }
        parent.reset(CreateWindowExW(0, L"ClbTestParent", L"parent", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr));
        DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                      LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
        list1 = CreateWindowExW(0, L"LISTBOX", L"", style, 5, 5, 180, 200, parent.get(), reinterpret_cast<HMENU>(11),
                                GetModuleHandleW(nullptr), nullptr);
        list2 = CreateWindowExW(0, L"LISTBOX", L"", style, 200, 5, 180, 200, parent.get(), reinterpret_cast<HMENU>(12),
                                GetModuleHandleW(nullptr), nullptr);
    }
};

LPARAM LinePoint(HWND list, int index) {
    int h = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    return MAKELPARAM(20, index * h + h / 2);
}

void Press(HWND list, int index) { SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, LinePoint(list, index)); }
void Release(HWND list, int index) { SendMessageW(list, WM_LBUTTONUP, 0, LinePoint(list, index)); }

}  // namespace

TEST(CheckListBox, UnitStartMeasuresTheSystemCheckBoxes) {
    EXPECT_GT(CheckListBox::CheckSize().cx, 0);
    EXPECT_GT(CheckListBox::CheckSize().cy, 0);
}

TEST(CheckListBox, ClicksDoubleClicksSpaceAndDisabledLines) {
    Windows w;
    CheckListBox box(w.list1);
    int clicks = 0;
    box.OnCheckClick = [&](CheckListBox* sender) {
        EXPECT_EQ(sender, &box);
        ++clicks;
    };
    for (const wchar_t* s : {L"one", L"two", L"three"}) box.Add(s);
    ASSERT_EQ(box.Count(), 3);
    EXPECT_FALSE(box.GetChecked(0));
    EXPECT_TRUE(box.GetEnabled(0));

    // The press selects; the release toggles, once.
    Press(w.list1, 1);
    EXPECT_FALSE(box.GetChecked(1));
    Release(w.list1, 1);
    EXPECT_EQ(box.Selected(), 1);
    EXPECT_TRUE(box.GetChecked(1));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageW(w.list1, LB_GETITEMDATA, 1, 0), LineFlag::Checked);

    // Double click: toggled on the first release and on the double click; the second release does nothing.
    clicks = 0;
    Press(w.list1, 0);
    Release(w.list1, 0);
    SendMessageW(w.list1, WM_LBUTTONDBLCLK, MK_LBUTTON, LinePoint(w.list1, 0));
    Release(w.list1, 0);
    EXPECT_FALSE(box.GetChecked(0));
    EXPECT_EQ(clicks, 2);
    // The next press starts counting afresh.
    Press(w.list1, 0);
    Release(w.list1, 0);
    EXPECT_TRUE(box.GetChecked(0));
    EXPECT_EQ(clicks, 3);

    // Space toggles the selected line; other characters do not.
    SendMessageW(w.list1, WM_CHAR, L' ', 0);
    EXPECT_FALSE(box.GetChecked(0));
    SendMessageW(w.list1, WM_CHAR, L'x', 0);
    EXPECT_FALSE(box.GetChecked(0));
    EXPECT_EQ(clicks, 4);

    // A disabled line is selected by a click but never toggled, and no event fires.
    clicks = 0;
    box.SetEnabled(2, false);
    EXPECT_EQ(SendMessageW(w.list1, LB_GETITEMDATA, 2, 0), LineFlag::Disabled);
    Press(w.list1, 2);
    Release(w.list1, 2);
    EXPECT_EQ(box.Selected(), 2);
    EXPECT_FALSE(box.GetChecked(2));
    SendMessageW(w.list1, WM_CHAR, L' ', 0);
    EXPECT_FALSE(box.GetChecked(2));
    EXPECT_EQ(clicks, 0);
    // Set by the program, a disabled line may still carry a tick.
    box.SetChecked(2, true);
    EXPECT_TRUE(box.GetChecked(2));
    EXPECT_FALSE(box.GetEnabled(2));

    // No selection: nothing happens.
    box.SetSelected(-1);
    box.ToggleSelected();
    EXPECT_EQ(clicks, 0);
}

TEST(CheckListBox, FailingHandlersStayInsideTheBox) {
    // A handler that throws must not unwind through the system's dispatch:
    // the toggle and the list box's own handling still happen.
    Windows w;
    CheckListBox box(w.list1);
    box.Add(L"one");
    box.Add(L"two");
    int checkCalls = 0, clickCalls = 0;
    box.OnCheckClick = [&](CheckListBox*) {
        ++checkCalls;
        throw std::runtime_error("handler failed");
    };
    box.OnClick = [&](CheckListBox*) {
        ++clickCalls;
        throw std::runtime_error("handler failed");
    };
    Press(w.list1, 1);  // the selection change reaches OnClick as well
    Release(w.list1, 1);
    EXPECT_TRUE(box.GetChecked(1));
    EXPECT_EQ(box.Selected(), 1);
    SendMessageW(w.list1, WM_CHAR, L' ', 0);
    EXPECT_FALSE(box.GetChecked(1));
    EXPECT_EQ(checkCalls, 2);
    const int before = clickCalls;
    EXPECT_EQ(
        SendMessageW(w.parent.get(), WM_COMMAND, MAKEWPARAM(11, LBN_SELCHANGE), reinterpret_cast<LPARAM>(w.list1)), 1);
    EXPECT_EQ(clickCalls, before + 1);
}

TEST(CheckListBox, LinesTextsAndMissingIndexes) {
    Windows w;
    CheckListBox box(w.list1);
    box.Add(L"alpha");
    box.Add(L"beta");
    box.Insert(1, L"between");
    box.Insert(-1, L"last");
    EXPECT_EQ(box.GetItemString(1), L"between");
    EXPECT_EQ(box.GetItemString(3), L"last");
    box.SetChecked(1, true);
    box.SetEnabled(1, false);
    box.SetItemString(1, L"replaced");
    EXPECT_EQ(box.GetItemString(1), L"replaced");
    EXPECT_FALSE(box.GetChecked(1));
    EXPECT_TRUE(box.GetEnabled(1));
    box.SetItemString(9, L"ignored");
    EXPECT_EQ(box.Count(), 4);
    // A line that does not exist reads as all bits set.
    EXPECT_TRUE(box.GetChecked(99));
    EXPECT_FALSE(box.GetEnabled(99));
    EXPECT_EQ(box.GetItemString(99), L"");
    // Rectangles: a line, one past the last line, and beyond.
    RECT r0 = box.GetItemRect(0), past = box.GetItemRect(4), last = box.GetItemRect(3), none = box.GetItemRect(7);
    EXPECT_GT(r0.bottom, r0.top);
    EXPECT_EQ(past.top, last.bottom);
    EXPECT_EQ(none.bottom - none.top, 0);
    box.Delete(0);
    EXPECT_EQ(box.GetItemString(0), L"replaced");
    box.Clear();
    EXPECT_EQ(box.Count(), 0);
}

TEST(CheckListBox, TwoBoxesShareTheParentProcedure) {
    Windows w;
    HWND parent = w.parent.get();
    auto own = GetWindowLongPtrW(parent, GWLP_WNDPROC);
    auto listProc = GetWindowLongPtrW(w.list1, GWLP_WNDPROC);
    {
        auto first = std::make_unique<CheckListBox>(w.list1);
        auto second = std::make_unique<CheckListBox>(w.list2);
        EXPECT_NE(GetWindowLongPtrW(parent, GWLP_WNDPROC), own);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropW(parent, CheckListBoxProp::ParentCount)), 2);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(parent, CheckListBoxProp::ParentProc)), own);
        EXPECT_EQ(GetPropW(w.list1, CheckListBoxProp::Box), first.get());

        // The selection change reaches OnClick of the right box and not the parent.
        int clicked1 = 0, clicked2 = 0;
        first->OnClick = [&](CheckListBox*) { ++clicked1; };
        second->OnClick = [&](CheckListBox*) { ++clicked2; };
        second->Add(L"x");
        parentCommands = 0;
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(12, LBN_SELCHANGE), reinterpret_cast<LPARAM>(w.list2));
        EXPECT_EQ(clicked2, 1);
        EXPECT_EQ(clicked1, 0);
        EXPECT_EQ(parentCommands, 0);
        // A list box without a box passes through to the parent's own procedure.
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(13, LBN_SELCHANGE), reinterpret_cast<LPARAM>(parent));
        EXPECT_EQ(parentCommands, 1);

        first.reset();
        EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropW(parent, CheckListBoxProp::ParentCount)), 1);
        EXPECT_NE(GetWindowLongPtrW(parent, GWLP_WNDPROC), own);
        EXPECT_EQ(GetWindowLongPtrW(w.list1, GWLP_WNDPROC), listProc);
        EXPECT_EQ(GetPropW(w.list1, CheckListBoxProp::Box), nullptr);
        second.reset();
    }
    EXPECT_EQ(GetWindowLongPtrW(parent, GWLP_WNDPROC), own);
    EXPECT_EQ(GetPropW(parent, CheckListBoxProp::ParentCount), nullptr);
    EXPECT_EQ(GetPropW(parent, CheckListBoxProp::ParentProc), nullptr);
}

TEST(CheckListBox, DestroyedAfterItsWindowsAreGone) {
    Windows w;
    auto box = std::make_unique<CheckListBox>(w.list1);
    w.parent.reset();
    box.reset();  // no window left to restore: nothing to do, and nothing fails
    Windows again;
    CheckListBox fresh(again.list1);
    EXPECT_EQ(GetPropW(again.list1, CheckListBoxProp::Box), &fresh);
}

TEST(CheckListBox, DrawsThroughTheParent) {
    Windows w;
    CheckListBox box(w.list1);
    box.Add(L"checked");
    box.Add(L"greyed");
    box.SetChecked(0, true);
    box.SetEnabled(1, false);
    RECT r = box.GetItemRect(0);
    UniqueGdiObject bmp;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    bmp.reset(CreateCompatibleBitmap(screen, 200, 40));
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp.get());
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    RECT all{0, 0, 200, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.hwndItem = w.list1;
    dis.hDC = dc;
    dis.itemID = 0;
    dis.itemState = ODS_SELECTED;
    dis.rcItem = RECT{0, 0, 200, r.bottom - r.top};
    EXPECT_EQ(SendMessageW(w.parent.get(), WM_DRAWITEM, 11, reinterpret_cast<LPARAM>(&dis)), 1);
    // The text area carries the highlight colour; the context's colours are restored.
    EXPECT_EQ(GetPixel(dc, 150, 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    // The flat box's shadow-coloured frame lies inside the check area.
    const int checkWidth = CheckListBox::CheckSize().cx;
    int left = (checkWidth + 2 - checkWidth) / 2;
    int top = ((r.bottom - r.top) - checkWidth) / 2;
    EXPECT_EQ(GetPixel(dc, left + 1, top + 1), GetSysColor(COLOR_BTNSHADOW));
    SelectObject(dc, old);
    DeleteDC(dc);
}

// The parent finds each box through its list box, whatever was attached or
// detached before it and however many boxes there are.
TEST(CheckListBox, TheParentFindsEveryBoxByItsListBox) {
    Windows w;
    std::vector<HWND> lists{w.list1, w.list2};
    while (lists.size() < 40)
        lists.push_back(CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                                        0, 0, 10, 10, w.parent.get(), nullptr, GetModuleHandleW(nullptr), nullptr));
    std::vector<std::unique_ptr<CheckListBox>> boxes;
    std::vector<int> clicks(lists.size());
    for (size_t i = 0; i < lists.size(); ++i) {
        boxes.push_back(std::make_unique<CheckListBox>(lists[i]));
        boxes.back()->OnClick = [&clicks, i](CheckListBox*) { ++clicks[i]; };
    }
    boxes[0].reset();
    parentCommands = 0;
    for (HWND list : lists)
        SendMessageW(w.parent.get(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    // The detached first list box reaches the parent's own procedure; every other box its own handler.
    EXPECT_EQ(parentCommands, 1);
    EXPECT_EQ(clicks[0], 0);
    for (size_t i = 1; i < lists.size(); ++i) EXPECT_EQ(clicks[i], 1) << i;
}
