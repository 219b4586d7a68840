// IDEs left running. An open IDE holds the packages that an install replaces
// and, when it closes, writes its settings back over the "Known Packages" and
// search paths just written; so both programs refuse to change anything while
// an IDE they touch runs. The matching is plain logic; only the process list
// comes from the system.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "common/IdeDiscovery.h"

namespace tessel::common {

// One process of the machine as the system lists it.
struct RunningProcess {
    DWORD Id = 0;
    std::wstring Image;  // full path of its program, e.g. "C:\X\bin\bds.exe"
};

// The programs that are an IDE installed in rootDir: "bin\delphi32.exe"
// (Delphi 3 to 7), "bin\bcb.exe" (C++Builder 3 to 6), "bin\bds.exe" (Delphi 2005
// onward) and "bin64\bds.exe" (the 64-bit IDE). Empty for an empty root.
std::vector<std::wstring> IdeProgramPaths(const std::wstring& rootDir);

// The path a file resolves to once opened (short names spelt out, mapped and
// substituted drives and links resolved), as the system gives it, with its
// "\\?\" prefix; empty when the file cannot be opened.
std::wstring FinalPathOf(const std::wstring& path);
// The text final paths are compared by: without the "\\?\" or "\\?\UNC\"
// prefix (the latter as "\\"), lower-cased.
std::wstring ComparablePath(const std::wstring& finalPath);
// Resolves a path as FinalPathOf does (tests give a table instead).
using PathResolver = std::function<std::wstring(const std::wstring&)>;
// Whether two program paths name the same file: each is compared by what
// resolve makes of it (by itself when resolve gives nothing), whole and
// case-blind, so "C:\PROGRA~2\..." and a substituted drive match the long path.
bool SameProgramPath(const std::wstring& a, const std::wstring& b, const PathResolver& resolve);

// The IDE indexes, ascending, of the IDEs in ideMask (InternalId bits) whose
// program, below the root that ides holds for them, is one of images, compared
// as SameProgramPath does, so a "bds.exe" elsewhere does not count.
std::vector<IdeIndex> RunningIdesAmong(const InstalledIdes& ides, IdeMask ideMask,
                                       const std::vector<std::wstring>& images,
                                       const PathResolver& resolve = FinalPathOf);

// The IDE bits (InternalId) of the IDEs an undo log selects in its records:
// the IDEs whose settings its uninstall changes. Damaged records end the reading.
IdeMask IdeMaskOfUndoLog(const std::string& bytes);

// The processes running now whose program path can be read (others are left out).
std::vector<RunningProcess> RunningProcesses();

// RunningIdesAmong with the programs of the processes running now.
std::vector<IdeIndex> FindRunningIdes(const InstalledIdes& ides, IdeMask ideMask);

// The caption and text of the Retry/Cancel box that names the running IDEs
// (one name a line) before anything is changed.
inline constexpr const wchar_t* RunningIdesCaption = L"IDE running";
std::wstring RunningIdesText(const std::vector<std::wstring>& names);
// While runningNames() names any IDE, asks in that box, owned by owner, to close
// them (Retry asks again) or to give up (Cancel); true once none runs.
bool AskUntilIdesClosed(HWND owner, const std::function<std::vector<std::wstring>()>& runningNames);

}  // namespace tessel::common
