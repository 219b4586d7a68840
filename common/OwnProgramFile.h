// The running program's own file: it cannot be deleted while the program runs,
// so an uninstaller that removes the folder it runs from has the system
// delete its file (and the folder, once empty) when Windows next starts.
#pragma once
#include <windows.h>
#include <string>

namespace tessel::common {

// True when path names the very file this process was started from (the same
// file on the same volume, however the path is spelt).
bool IsOwnProgramFile(const std::wstring& path);

// Has Windows delete path, a file or an empty folder, when it next starts
// (MoveFileExW with MOVEFILE_DELAY_UNTIL_REBOOT; needs an administrator).
// 0 or the Win32 error.
[[nodiscard]] DWORD RemoveAtNextStart(const std::wstring& path);

// For a folder that a tree removal left in place: when all that is left in it
// is this program's own file, that file and then the folder are scheduled to
// go when Windows next starts: 0 (the removal is done). Otherwise
// ERROR_DIR_NOT_EMPTY: something else stayed.
[[nodiscard]] DWORD RemoveFolderHoldingOnlyOwnFile(const std::wstring& folder);

}  // namespace tessel::common
