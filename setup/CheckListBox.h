// A check box in front of every line of an ordinary owner-drawn list box.
// The object attaches itself to an existing list box (and its parent) by
// replacing their window procedures; each line's check mark and enabled
// state live in the list box's item data word. The list box's window property
// CheckListBoxProp::Box leads from the window to its object.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include "common/Handles.h"
#include "common/WindowHandles.h"

namespace tessel::setup {

class CheckListBox;

// Event bound to some object's method; empty = not assigned.
using CheckListBoxNotifyEvent = std::function<void(CheckListBox* sender)>;

// Bits of a line's item data word.
namespace LineFlag {
inline constexpr LPARAM Checked = 1;
inline constexpr LPARAM Disabled = 4;
}  // namespace LineFlag

// Names of the window properties a box sets.
namespace CheckListBoxProp {
inline constexpr const wchar_t* Box = L"qmvCLBWndProc";                 // on the list box: the object
inline constexpr const wchar_t* ParentProc = L"qmvParentCLBWndProc";    // on the parent: its previous procedure
inline constexpr const wchar_t* ParentCount = L"qmvParentCLBRefCount";  // on the parent: boxes attached to its children
}  // namespace CheckListBoxProp

// The mark a drawn check box shows.
enum class CheckMark { Clear, Checked, Mixed };

class CheckListBox {
public:
    explicit CheckListBox(HWND listBox);  // attaches
    virtual ~CheckListBox();              // detaches
    CheckListBox(const CheckListBox&) = delete;
    CheckListBox& operator=(const CheckListBox&) = delete;

    void Clear();
    int Add(const std::wstring& value);
    void Insert(int index, const std::wstring& value);
    void Delete(int index);
    std::wstring GetItemString(int index) const;
    void SetItemString(int index, const std::wstring& value);
    bool GetChecked(int index) const;
    void SetChecked(int index, bool value);
    bool GetEnabled(int index) const;
    void SetEnabled(int index, bool value);
    int Count() const;
    int Selected() const;
    void SetSelected(int index);
    HWND Handle() const { return handle_; }

    CheckListBoxNotifyEvent OnCheckClick;  // after the user toggled a line
    CheckListBoxNotifyEvent OnClick;       // the selection changed

    // Drawing of one line, called from the parent's owner-draw message.
    void DrawItem(HDC dc, int index, UINT state, const RECT& rect);
    // Toggles the selected line when it is enabled; fires OnCheckClick.
    void ToggleSelected();
    RECT GetItemRect(int index) const;

    // The size of one image of the system's check box bitmap (cy: a quarter of
    // the bitmap's height), shared by every box: measured once per process.
    static SIZE CheckSize();

private:
    static LRESULT CALLBACK ListWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LPARAM Flags(int index) const;

    int32_t pendingClicks_ = 0;  // 1 from a left button press until its release toggles the line
    HWND handle_ = nullptr;
    HWND parent_ = nullptr;
    WNDPROC oldWndProc_ = nullptr;
    common::UniqueWindowProp boxProp_;
};

// Draws the flat check box of a line into rect.
void DrawCheckBox(HDC dc, const RECT& rect, bool enabled, CheckMark mark);

}  // namespace tessel::setup
