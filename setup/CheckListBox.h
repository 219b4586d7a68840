// A check box in front of every line of an ordinary owner-drawn list box.
// The object attaches itself to an existing list box (and its parent) by
// replacing their window procedures; each line's check mark and enabled
// state live in the list box's item data word. The list box's window property
// ClbPropBox leads from the window to its object.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "common/Handles.h"

namespace tessel::setup {

using namespace tessel::common;

class CheckListBox;

// Event bound to some object's method; empty = not assigned.
using CheckListBoxNotifyEvent = std::function<void(CheckListBox* Sender)>;

// Bits of a line's item data word.
namespace LineFlag {
inline constexpr LPARAM Checked = 1;
inline constexpr LPARAM Disabled = 4;
}  // namespace LineFlag

// Window property names.
inline constexpr const wchar_t* ClbPropBox = L"qmvCLBWndProc";                // on the list box: the object
inline constexpr const wchar_t* ClbPropParentProc = L"qmvParentCLBWndProc";   // on the parent: its previous procedure
inline constexpr const wchar_t* ClbPropParentCount = L"qmvParentCLBRefCount"; // on the parent: boxes attached to its children

// Size of one image of the system's check box bitmap. Process-wide on purpose:
// measured once at start-up, read by every box's drawing.
extern int CheckWidth;
extern int CheckHeight;

class CheckListBox {
public:
    explicit CheckListBox(HWND ListBoxHandle);  // attaches
    virtual ~CheckListBox();                    // detaches
    CheckListBox(const CheckListBox&) = delete;
    CheckListBox& operator=(const CheckListBox&) = delete;

    void Clear();
    int Add(const std::wstring& Value);
    void Insert(int Index, const std::wstring& Value);
    void Delete(int Index);
    std::wstring GetItemString(int Index) const;
    void SetItemString(int Index, const std::wstring& Value);
    bool GetChecked(int Index) const;
    void SetChecked(int Index, bool Value);
    bool GetEnabled(int Index) const;
    void SetEnabled(int Index, bool Value);
    int Count() const;
    int Selected() const;
    void SetSelected(int Index);
    HWND Handle() const { return FHandle; }

    CheckListBoxNotifyEvent OnCheckClick;  // after the user toggled a line
    CheckListBoxNotifyEvent OnClick;       // the selection changed

    // Drawing of one line, called from the parent's owner-draw message.
    void DrawItem(HDC dc, int Index, UINT State, const RECT& Rect);
    // Toggles the selected line when it is enabled; fires OnCheckClick.
    void ToggleSelected();
    RECT GetItemRect(int Index) const;

private:
    static LRESULT CALLBACK ListWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ParentWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LPARAM Flags(int Index) const;

    int32_t FLClicksCount = 0;
    HWND FHandle = nullptr;
    HWND FParent = nullptr;
    WNDPROC FOldWndProc = nullptr;
    UniqueWindowProp FBoxProp;
};

// Draws the flat check box of a line into R.
void DrawCheckBox(HDC dc, const RECT& R, bool Enabled, int State);

}  // namespace tessel::setup
