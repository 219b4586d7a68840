// The shell's known folders.
#include "common/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "common/WindowLibraries.h"

namespace tessel::common {

std::wstring GetShellFolder(int csidl) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(gui::SHGetSpecialFolderLocation(nullptr, csidl, &pidl)) || !pidl) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    const bool ok = gui::SHGetPathFromIDListW(pidl, path) != FALSE;
    gui::CoTaskMemFree(pidl);  // the shell's allocator
    if (!ok) return std::wstring();
    return std::wstring(path);  // cut at the first zero
}

}  // namespace tessel::common
