// Restricts the DLL search order of the running process to the system folder.
#include "common/DllSearch.h"

#include <windows.h>

namespace tessel::common {

void LimitDllSearchToSystemFolder() {
    // Looked up, not imported: Windows 7 without its loader update lacks it, and a
    // missing import would keep the program from starting at all. Without it the
    // current folder is still dropped below; nothing else can be done there.
    using SetDefaultDirs = BOOL(WINAPI*)(DWORD);
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        const auto setDefault = reinterpret_cast<SetDefaultDirs>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // The current folder out of the classic search order (still used by LoadLibrary
    // calls that name their own search flags and by systems without the call above).
    SetDllDirectoryW(L"");
}

}  // namespace tessel::common
