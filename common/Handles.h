// Small owners for Win32 handles, so that every handle closes on every path.
#pragma once
#include <windows.h>
#include <utility>

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
using UniqueLocal = UniqueHandleT<HLOCAL, LocalMemTraits>;
using UniqueModule = UniqueHandleT<HMODULE, ModuleTraits>;

// Both handles of a started process.
struct ProcessHandles {
    UniqueKernelHandle Process;
    UniqueKernelHandle Thread;
};

}  // namespace tessel::common
