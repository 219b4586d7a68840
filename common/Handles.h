// Small owners for Win32 handles, so that every handle closes on every path.
#pragma once
#include <windows.h>
#include <utility>
#include "common/WindowLibraries.h"

namespace tessel::common {

template <typename T, typename Traits>
class UniqueHandleT {
public:
    UniqueHandleT() = default;
    explicit UniqueHandleT(T h) : h_(h) {}
    ~UniqueHandleT() { reset(); }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueHandleT& operator=(UniqueHandleT&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::invalid());
        }
        return *this;
    }
    T get() const { return h_; }
    bool valid() const { return h_ != Traits::invalid(); }
    explicit operator bool() const { return valid(); }
    // Address for out-parameters; closes what is held first.
    T* put() {
        reset();
        return &h_;
    }
    T release() { return std::exchange(h_, Traits::invalid()); }
    // Closes now; true when the close succeeded (or nothing was held).
    bool reset(T h = Traits::invalid()) {
        bool ok = true;
        if (h_ != Traits::invalid()) ok = Traits::close(h_);
        h_ = h;
        return ok;
    }

private:
    T h_ = Traits::invalid();
};

struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) { return CloseHandle(h) != 0; }
};
struct KernelHandleTraits {  // process, thread: null when empty
    static HANDLE invalid() { return nullptr; }
    static bool close(HANDLE h) { return CloseHandle(h) != 0; }
};
struct FindHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool close(HANDLE h) { return FindClose(h) != 0; }
};
struct RegKeyTraits {
    static HKEY invalid() { return nullptr; }
    static bool close(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
struct GdiObjectTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static bool close(HGDIOBJ h) { return gui::DeleteObject(h) != 0; }
};
struct LocalMemTraits {
    static HLOCAL invalid() { return nullptr; }
    static bool close(HLOCAL h) { return LocalFree(h) == nullptr; }
};
struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static bool close(HMODULE h) { return FreeLibrary(h) != 0; }
};

using UniqueFile = UniqueHandleT<HANDLE, FileHandleTraits>;
using UniqueKernelHandle = UniqueHandleT<HANDLE, KernelHandleTraits>;
using UniqueFind = UniqueHandleT<HANDLE, FindHandleTraits>;
using UniqueHKey = UniqueHandleT<HKEY, RegKeyTraits>;
using UniqueGdiObject = UniqueHandleT<HGDIOBJ, GdiObjectTraits>;
using UniqueLocal = UniqueHandleT<HLOCAL, LocalMemTraits>;
using UniqueModule = UniqueHandleT<HMODULE, ModuleTraits>;

// Both handles of a started process.
struct ProcessHandles {
    UniqueKernelHandle Process;
    UniqueKernelHandle Thread;
};

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
