// The uninstaller's command line, as plain values (no Win32 calls).
#pragma once
#include <string>
#include <vector>

struct TUninstallCommandLine {
    bool HasParameters = false;  // at least one parameter was given
    bool Partial = false;        // "/P": keep what a partial uninstall keeps
    bool Silent = false;         // "/S": no window at all; the outcome is the exit code
    std::wstring LogFileName;    // the last non-switch parameter, quotes removed
};

// params are the parameters after the program name, already split with the
// platform's quoting rules. A parameter of two or more characters starting with
// "/", "-" or "\" is a switch: exactly "?P" or "?p" asks for a partial uninstall,
// exactly "?S" or "?s" for a silent one; the two combine in either order, and
// any other switch cancels both, so the last switch wins. Every other parameter
// is the log file name (one pair of enclosing double quotes removed); the last wins.
// Exit codes of a silent uninstall (every other run ends with 0).
enum TSilentExit : int {
    silentComplete = 0,       // every record was undone (or kept, with /P)
    silentCannotOpen = 2,     // the log cannot be opened (or none was named)
    silentInvalidLog = 3,     // the log is empty, too short or has a wrong signature
    silentWalkStopped = 4,    // a damaged record stopped the walk; what lies beyond it stays
    silentStepFailed = 5,     // the walk went to its end, but a step failed (the help batch)
};

TUninstallCommandLine ParseUninstallCommandLine(const std::vector<std::wstring>& params);
