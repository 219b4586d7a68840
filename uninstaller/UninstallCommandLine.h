// The uninstaller's command line and the exit codes of a silent run, as plain
// values (no Win32 calls).
#pragma once
#include <string>
#include <vector>
#include "changes/UninstallEngine.h"

namespace tessel::uninstaller {

struct UninstallCommandLine {
    bool HasParameters = false;  // at least one parameter was given
    bool Partial = false;        // "/P": keep what a partial uninstall keeps
    bool Silent = false;         // "/S" or "/K": no window at all; the outcome is the exit code
    std::wstring LogFileName;    // the last non-switch parameter, quotes removed
};

// params are the parameters after the program name, already split with the
// platform's quoting rules. A parameter of two or more characters starting with
// "/", "-" or "\" is a switch, and the last switch alone decides the mode:
// exactly "?P" asks for a partial uninstall with the dialog, "?S" for a complete
// one without any window, "?K" for a partial one without any window (either
// case); any other switch means a complete uninstall with the dialog. Every
// other parameter is the log file name (one pair of enclosing double quotes
// removed); the last wins.
UninstallCommandLine ParseUninstallCommandLine(const std::vector<std::wstring>& params);

// Exit codes of a silent uninstall (every other run ends with 0).
enum class SilentExit : int {
    Complete = 0,     // every record was undone (or kept, with /K)
    CannotOpen = 2,   // the log cannot be opened (or none was named)
    InvalidLog = 3,   // the log is empty, too short or has a wrong signature
    WalkStopped = 4,  // a damaged record stopped the walk; what lies beyond it stays
    StepFailed = 5,   // the walk went to its end, but a step failed (the help batch, or a refused record)
    IdeRunning = 6,   // an IDE the log names is running; nothing was changed
    CannotRun = 7,    // Windows lacks the update that limits the DLL search; nothing was changed
};

// What the dialog says after a complete walk of a log whose last record was
// torn (a silent run ends with Complete: nothing was lost).
inline constexpr const wchar_t* TornTailNote =
    L"The uninstall is complete.\r\n\r\nThe last record of the uninstall information was incomplete: the "
    L"installation was stopped while writing it, before the change it describes. Everything recorded before it "
    L"was removed.";

// The exit code of a silent run whose log did not load (Loaded gives Complete).
SilentExit SilentExitFor(changes::UndoLogLoad load);
// The exit code of a silent run whose walk ended with result.
SilentExit SilentExitFor(const changes::WalkResult& result);

}  // namespace tessel::uninstaller
