// Location codes and install sub-path codes, and their resolution to folders.
#pragma once
#include <string>

enum : unsigned {
    locWindows = 1,  // the Windows folder
    locIdeRoot = 2,  // RootDir of the current IDE
    locInstall = 3,  // InstallDir
    locIdeHelp = 4,  // RootDir of the current IDE + "\Help\"
    locTemp    = 5,  // the temporary folder (with trailing backslash)
    locSystem  = 6,  // the Windows system folder
    locBpl     = 7,  // GetBdsCommonDir() joined with "Bpl"
    locBpl64   = 8,  // GetBdsCommonDir() joined with "Bpl\Win64"
};

// The common folder (BDSCOMMONDIR) of the current IDE; empty when not found.
std::wstring GetBdsCommonDir();
// The folder of a location code for the current IDE; empty for unknown codes.
std::wstring GetLocationPath(unsigned code);
// The folder of an install sub-path code (0..4, taken modulo 128); empty otherwise.
std::wstring GetInstallSubPath(unsigned code);
// GetLocationPath(location) joined with text; location 0 gives text unchanged.
std::wstring ResolvePath(unsigned location, const std::wstring& text);
