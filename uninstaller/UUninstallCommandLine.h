// The uninstaller's command line, as plain values (no Win32 calls).
#pragma once
#include <string>
#include <vector>

struct TUninstallCommandLine {
    bool HasParameters = false;  // at least one parameter was given
    bool Partial = false;        // "/P": keep what a partial uninstall keeps
    std::wstring LogFileName;    // the last non-switch parameter, quotes removed
};

// params are the parameters after the program name, already split with the
// platform's quoting rules. A parameter of two or more characters starting with
// "/", "-" or "\" is a switch: exactly "?P" or "?p" asks for a partial uninstall,
// any other switch cancels that; the last switch wins. Every other parameter is
// the log file name (one pair of enclosing double quotes removed); the last wins.
TUninstallCommandLine ParseUninstallCommandLine(const std::vector<std::wstring>& params);
