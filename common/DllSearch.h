// Where Windows may look for the DLLs that the programs, and the system on
// their behalf, load after start-up: the system folder only.
#pragma once
#include <windows.h>
#include "common/Errors.h"

namespace tessel::common {

// The system's SetDefaultDllDirectories, or a stand-in for it.
using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

// Restricts the DLL search of the process with setDefault and drops the
// current folder from it. 0, or why the search stays open: ERROR_PROC_NOT_FOUND
// when there is no setDefault (Windows 7 without the update KB2533623), or the
// error of its failure. The programs do not run then: the DLLs that the
// window libraries load later would be looked for in the program's folder.
[[nodiscard]] DWORD LimitDllSearch(SetDefaultDllDirectoriesCall setDefault);

// Called first in both programs, with the system's SetDefaultDllDirectories
// (looked up, not imported: a missing import would keep the program from
// starting with no word of why). Both run as administrator, often from a
// Downloads folder or with the current folder in a package folder: a DLL
// planted there must never be loaded. The imports are all KnownDLLs, so the
// loader takes none of them from the program's folder before this runs; the
// window libraries are loaded at their first call (common/WindowLibraries.h),
// from the system folder.
[[nodiscard]] DWORD LimitDllSearchToSystemFolder();

// What the programs say before they end when the search cannot be limited.
inline constexpr const wchar_t* DllSearchUpdateText =
    L"This program cannot run safely on this system: Windows lacks the update that lets a program load system "
    L"DLLs from the system folder only (KB2533623, included in Windows 7 Service Pack 1 updates and in every later "
    L"Windows). Install the update from Windows Update, then run this program again.";

// Ends the process: unless quiet, after saying DllSearchUpdateText in the
// system's fatal-error box (the process then ends as after any fatal error);
// quiet, with exitCode (an unattended run says it through that alone).
[[noreturn]] void RefuseToRunWithOpenDllSearch(bool quiet, UINT exitCode);

}  // namespace tessel::common
