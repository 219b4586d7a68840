// Location codes and install sub-path codes, and their resolution to folders.
#pragma once
#include <string>

namespace tessel::common {

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

// What the location and sub-path codes resolve against: the install folder and
// the IDE whose block is being installed or undone. The runner and the uninstall
// engine each keep their own; an empty one still resolves the machine's folders
// (Windows, system, temporary).
struct LocationContext {
    std::wstring InstallDir;  // the install folder
    int CurrentIde = 0;       // IDE index 1..29, 0 for none
    std::wstring IdeFolder;   // package folder name of the current IDE inside InstallDir
    std::wstring IdeRoot;     // RootDir of the current IDE as discovery found it (SelectIde sets all three)
};

// The common folder (BDSCOMMONDIR) of the context's IDE; empty when not found.
std::wstring GetBdsCommonDir(const LocationContext& context);
// The folder of a location code for the context; empty for unknown codes.
std::wstring GetLocationPath(const LocationContext& context, unsigned code);
// The folder of an install sub-path code (0..4, taken modulo 128); empty otherwise.
std::wstring GetInstallSubPath(const LocationContext& context, unsigned code);
// GetLocationPath(location) joined with text; location 0 gives text unchanged.
std::wstring ResolvePath(const LocationContext& context, unsigned location, const std::wstring& text);

}  // namespace tessel::common
