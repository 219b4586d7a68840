// Owners of window-side handles (GDI objects, icons, windows, window
// properties), apart from common/Handles.h so that code without windows does
// not see the window libraries.
#pragma once
#include <windows.h>

#include "common/Handles.h"
#include "common/WindowLibraries.h"

namespace tessel::common {

struct GdiObjectTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static bool close(HGDIOBJ h) { return gui::DeleteObject(h) != 0; }
};
using UniqueGdiObject = UniqueHandleT<HGDIOBJ, GdiObjectTraits>;

// Window-side owners used by the setup's dialogs.
struct IconTraits {
    static HICON invalid() { return nullptr; }
    static bool close(HICON h) { return gui::DestroyIcon(h) != 0; }
};
struct WindowTraits {
    static HWND invalid() { return nullptr; }
    static bool close(HWND h) { return gui::DestroyWindow(h) != 0; }
};
using UniqueIcon = UniqueHandleT<HICON, IconTraits>;
using UniqueWindow = UniqueHandleT<HWND, WindowTraits>;

// A named property set on a window; removed again when the owner lets go.
class UniqueWindowProp {
public:
    UniqueWindowProp() = default;
    UniqueWindowProp(HWND wnd, const wchar_t* name, HANDLE value) { set(wnd, name, value); }
    ~UniqueWindowProp() { reset(); }
    UniqueWindowProp(const UniqueWindowProp&) = delete;
    UniqueWindowProp& operator=(const UniqueWindowProp&) = delete;
    // Sets the property (removing one held before); false when the window refused it.
    bool set(HWND wnd, const wchar_t* name, HANDLE value) {
        reset();
        if (!gui::SetPropW(wnd, name, value)) return false;
        wnd_ = wnd;
        name_ = name;
        return true;
    }
    // Forgets the property without removing it (someone else removes it).
    void release() {
        wnd_ = nullptr;
        name_ = nullptr;
    }
    void reset() {
        if (wnd_ && name_) gui::RemovePropW(wnd_, name_);
        release();
    }

private:
    HWND wnd_ = nullptr;
    const wchar_t* name_ = nullptr;
};

}  // namespace tessel::common
