// Restricts the DLL search order of the running process to the system folder.
#include "common/DllSearch.h"

namespace tessel::common {

DWORD LimitDllSearch(SetDefaultDllDirectoriesCall setDefault) {
    // The current folder out of the classic search order in any case.
    SetDllDirectoryW(L"");
    if (!setDefault) return ERROR_PROC_NOT_FOUND;
    if (!setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return LastErrorOr(ERROR_INVALID_FUNCTION);
    return 0;
}

DWORD LimitDllSearchToSystemFolder() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesCall>(
                                         reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                   : nullptr;
    return LimitDllSearch(setDefault);
}

void RefuseToRunWithOpenDllSearch(bool quiet, UINT exitCode) {
    // The system's own error box: it loads no DLL into this process, where any
    // DLL not yet loaded could now come from the program's folder.
    if (!quiet) FatalAppExitW(0, DllSearchUpdateText);
    ExitProcess(exitCode);
}

}  // namespace tessel::common
