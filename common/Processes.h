// Starting programs: the one process starter and the program runner built on it.
// Failures are Win32 error codes (0 = success), as common/Errors.h describes.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// What StartAndWait starts, where, and how long it waits.
struct ProcessStart {
    std::wstring CommandLine;
    std::wstring WorkingDir;  // the process's current folder; empty: this process's own
    DWORD TimeoutMs = INFINITE;
    HANDLE Output = nullptr;  // inheritable handle taking standard output and error, or none
};
struct ProcessEnd {
    bool Finished = false;  // it ended within the wait; ExitCode is its
    DWORD ExitCode = 0;
};
// The one process starter: starts the command line hidden (no window, default
// security, only Output inherited) and waits up to TimeoutMs. A process still
// running then is left to run, until this program ends: the started
// processes end with it (ChildProcessJob.h); end says so. 0 when it was started, otherwise
// the Win32 error of the start (ERROR_INTERNAL_ERROR, a passing failure seen
// under load, is tried again a few times first).
[[nodiscard]] DWORD StartAndWait(const ProcessStart& start, ProcessEnd& end);
// StartAndWait without the wait: the process handle goes to process, for a
// caller that waits for several programs at once or handles its window's
// messages meanwhile (TimeoutMs is the caller's to keep). 0 or the Win32 error of the start.
[[nodiscard]] DWORD StartProcess(const ProcessStart& start, UniqueKernelHandle& process);
// How process (started by StartProcess) ended: Finished when it has ended.
ProcessEnd EndOf(HANDLE process);

// Waits for a started program: returns when it ended or timeoutMs passed, or
// earlier (the caller asks again). A window's thread handles its messages
// meanwhile (the progress page); empty: a plain wait.
using ProgramWait = std::function<void(HANDLE process, DWORD timeoutMs)>;
// Waits through wait until process ended or timeoutMs passed.
void WaitForProgram(HANDLE process, DWORD timeoutMs, const ProgramWait& wait);

// How long a program or batch file of the install or the uninstall is waited
// for: long enough for any help registration on a slow machine, so that only a
// program that hangs is left behind (the run goes on as after its end).
inline constexpr DWORD ProgramTimeoutMs = 10 * 60 * 1000;
// Starts program (quoted when it holds a blank) with params in workingDir and
// waits up to timeoutMs (through wait). A batch file (.bat, .cmd) runs in the system folder's
// cmd.exe with /d. 0 when it ran, otherwise the Win32 error code of the failed start.
[[nodiscard]] DWORD RunAndWait(const std::wstring& program, const std::wstring& params, const std::wstring& workingDir,
                               DWORD timeoutMs = ProgramTimeoutMs, const ProgramWait& wait = nullptr);
// RunAndWait's command line; systemDir is the system folder (of cmd.exe).
std::wstring CommandLineFor(const std::wstring& program, const std::wstring& params, const std::wstring& systemDir);

}  // namespace tessel::common
