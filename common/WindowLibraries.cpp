// Loads the window libraries from the system folder and looks up their functions.
#include "common/WindowLibraries.h"

#include <atomic>
#include <string>

namespace tessel::gui {
namespace {

const wchar_t* LibraryName(WindowLibrary library) {
    switch (library) {
    case WindowLibrary::User32: return L"user32.dll";
    case WindowLibrary::Gdi32: return L"gdi32.dll";
    case WindowLibrary::Comctl32: return L"comctl32.dll";
    case WindowLibrary::Shell32: return L"shell32.dll";
    case WindowLibrary::Ole32: return L"ole32.dll";
    case WindowLibrary::OleAut32: return L"oleaut32.dll";
    }
    return L"";
}

// By name, so that the activation context of the program's manifest still
// picks the version-6 common controls; the search is the system folder only.
// Windows 7 without its loader update refuses the flag: there the full path
// in the system folder is loaded instead.
HMODULE LoadFromSystemFolder(WindowLibrary library) noexcept {
    const wchar_t* name = LibraryName(library);
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L'\\' + name).c_str());
}

// Loaded once per library and kept for the life of the process, as the loader
// keeps an imported DLL. Two threads that both load one first only raise its
// reference count.
HMODULE Module(WindowLibrary library) noexcept {
    static std::atomic<HMODULE> modules[static_cast<int>(WindowLibrary::OleAut32) + 1];
    std::atomic<HMODULE>& slot = modules[static_cast<int>(library)];
    HMODULE module = slot.load(std::memory_order_acquire);
    if (!module) {
        module = LoadFromSystemFolder(library);
        slot.store(module, std::memory_order_release);
    }
    return module;
}

[[noreturn]] void Missing(WindowLibrary library, const char* name) noexcept {
    std::wstring text = L"This program cannot run: ";
    text += LibraryName(library);
    text += L" in the Windows system folder";
    if (Module(library)) {
        text += L" has no function ";
        for (const char* c = name; *c; ++c) text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    } else {
        text += L" cannot be loaded";
    }
    text += L'.';
    FatalAppExitW(0, text.c_str());
    ExitProcess(ERROR_PROC_NOT_FOUND);
}

}  // namespace

void* WindowFunctionAddress(WindowLibrary library, const char* name) noexcept {
    HMODULE module = Module(library);
    FARPROC address = module ? GetProcAddress(module, name) : nullptr;
    if (!address) Missing(library, name);
    return reinterpret_cast<void*>(address);
}

}  // namespace tessel::gui
