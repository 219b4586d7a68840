// The window libraries (user32, gdi32, comctl32, shell32, ole32, oleaut32), loaded at the
// first call into them rather than at start-up: the modes that show no window
// (/X, /S, the silent uninstall) never load them. Each library is loaded from
// the system folder only, whatever the DLL search order says.
//
// The programs call these functions as gui::Name(...), with the signature the
// Windows headers give them. Neither program links an import library of these
// DLLs, so a window function called directly is an import at start-up, which
// tests/imports_test.sh refuses: add it to the list below instead.
//
// The same code runs in the 32-bit and the x86-64 build; only the names of the
// pointer-sized window-long functions differ (the headers map the Ptr names to
// the 32-bit ones there).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>

namespace tessel::gui {

enum class WindowLibrary { User32, Gdi32, Comctl32, Shell32, Ole32, OleAut32 };

// The address of `name` in `library`, loaded from the system folder on first
// use. Never null: a library or function that Windows lacks ends the program
// with a message naming it (every supported Windows has all of them).
[[nodiscard]] void* WindowFunctionAddress(WindowLibrary library, const char* name) noexcept;

// One function of a window library, called with exactly its declared
// parameters (so NULL and 0 still convert as they do in a direct call). The
// address is looked up once; the race of two first calls is benign.
template <class Function>
class WindowFunction;

template <class Result, class... Params>
class WindowFunction<Result WINAPI(Params...)> {
public:
    constexpr WindowFunction(WindowLibrary library, const char* name) : library_(library), name_(name) {}
    Result operator()(Params... params) const { return Target()(params...); }

private:
    using Pointer = Result(WINAPI*)(Params...);
    Pointer Target() const {
        void* address = address_.load(std::memory_order_acquire);
        if (!address) {
            address = WindowFunctionAddress(library_, name_);
            address_.store(address, std::memory_order_release);
        }
        return reinterpret_cast<Pointer>(address);
    }
    WindowLibrary library_;
    const char* name_;
    mutable std::atomic<void*> address_{nullptr};
};

#ifdef _WIN64
#define TESSEL_WINDOW_LONG_FUNCTIONS(X) \
    X(User32, GetWindowLongPtrW)        \
    X(User32, SetWindowLongPtrW)        \
    X(User32, SetClassLongPtrW)
#else
#define TESSEL_WINDOW_LONG_FUNCTIONS(X) \
    X(User32, GetWindowLongW)           \
    X(User32, SetWindowLongW)           \
    X(User32, SetClassLongW)
#endif

// clang-format off
#define TESSEL_WINDOW_FUNCTIONS(X) \
    TESSEL_WINDOW_LONG_FUNCTIONS(X) \
    X(User32, CallWindowProcW)      X(User32, ChildWindowFromPoint) X(User32, CreateWindowExW) \
    X(User32, DefWindowProcW)       X(User32, DestroyIcon)          X(User32, DestroyWindow) \
    X(User32, DialogBoxParamW)      X(User32, DispatchMessageW)     X(User32, DrawFocusRect) \
    X(User32, DrawFrameControl)     X(User32, DrawTextW)            X(User32, EnableWindow) \
    X(User32, EndDialog)            X(User32, FillRect)             X(User32, GetClassInfoExW) \
    X(User32, GetClientRect)        X(User32, GetDC)                X(User32, GetDesktopWindow) \
    X(User32, GetDlgItem)           X(User32, GetDlgItemTextW)      X(User32, GetParent) \
    X(User32, GetPropW)             X(User32, GetSysColor)          X(User32, GetWindowRect) \
    X(User32, InvalidateRect)       X(User32, IsWindow)             X(User32, LoadBitmapW) \
    X(User32, LoadCursorW)          X(User32, LoadIconW)            X(User32, LoadImageW) \
    X(User32, IsDialogMessageW)     X(User32, MsgWaitForMultipleObjectsEx) X(User32, PostQuitMessage) \
    X(User32, MapWindowPoints)      X(User32, MessageBoxW)          X(User32, OffsetRect) \
    X(User32, PeekMessageW)         X(User32, RedrawWindow)         X(User32, RegisterClassExW) \
    X(User32, ReleaseDC)            X(User32, RemovePropW)          X(User32, SendDlgItemMessageW) \
    X(User32, SendMessageW)         X(User32, SetDlgItemTextW)      X(User32, SetFocus) \
    X(User32, SetPropW)             X(User32, SetWindowPos)         X(User32, SetWindowTextW) \
    X(User32, ShowWindow)           X(User32, SystemParametersInfoW) X(User32, TranslateMessage) \
    X(User32, UpdateWindow) \
    X(Gdi32, CreateFontW)           X(Gdi32, CreatePen)             X(Gdi32, CreateRectRgn) \
    X(Gdi32, CreateSolidBrush)      X(Gdi32, DeleteObject)          X(Gdi32, GetBkColor) \
    X(Gdi32, GetClipRgn)            X(Gdi32, GetObjectW)            X(Gdi32, GetStockObject) \
    X(Gdi32, GetTextColor)          X(Gdi32, GetTextExtentPoint32W) X(Gdi32, IntersectClipRect) \
    X(Gdi32, Rectangle)             X(Gdi32, SelectClipRgn)         X(Gdi32, SelectObject) \
    X(Gdi32, SetBkColor)            X(Gdi32, SetBkMode)             X(Gdi32, SetTextColor) \
    X(Comctl32, InitCommonControls) X(Comctl32, InitCommonControlsEx) \
    X(Shell32, SHBrowseForFolderW)  X(Shell32, SHGetPathFromIDListW) X(Shell32, SHGetSpecialFolderLocation) \
    X(Shell32, ShellExecuteW) \
    X(Ole32, CoCreateInstance)      X(Ole32, CoInitializeEx)        X(Ole32, CoTaskMemFree) \
    X(Ole32, CoUninitialize) \
    X(OleAut32, SysAllocString)     X(OleAut32, SysFreeString)      X(OleAut32, VariantClear)
// clang-format on

#define TESSEL_DECLARE_WINDOW_FUNCTION(library, name) \
    inline WindowFunction<decltype(::name)> name{WindowLibrary::library, #name};
TESSEL_WINDOW_FUNCTIONS(TESSEL_DECLARE_WINDOW_FUNCTION)
#undef TESSEL_DECLARE_WINDOW_FUNCTION

}  // namespace tessel::gui
