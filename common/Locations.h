// Location codes and install sub-path codes, and their resolution to folders.
#pragma once
#include <cstdint>
#include <string>
#include "common/IdeNumbers.h"

namespace tessel::common {

// The folder a row's or record's text is relative to. The numbers are stored
// in undo records, so they never change.
enum class LocationCode : uint32_t {
    None = 0,     // no folder: the text is used as it is
    Windows = 1,  // the Windows folder
    IdeRoot = 2,  // RootDir of the current IDE
    Install = 3,  // InstallDir
    IdeHelp = 4,  // RootDir of the current IDE + "\Help\"
    Temp = 5,     // the temporary folder (with trailing backslash)
    System = 6,   // the Windows system folder
    Bpl = 7,      // GetBdsCommonDir() joined with "Bpl"
    Bpl64 = 8,    // GetBdsCommonDir() joined with "Bpl\Win64"
};

// A location code as an undo record stores it, and back. A stored number that
// names no code stays unknown and resolves to an empty folder.
constexpr uint32_t StoredLocation(LocationCode code) { return static_cast<uint32_t>(code); }
constexpr LocationCode LocationCodeFrom(uint32_t stored) { return static_cast<LocationCode>(stored); }

// The folders below the install folder that a path row adds to an IDE path
// list (the row's Param, also stored in its undo record).
enum class InstallSubPath : uint32_t {
    Root = 0,       // the install folder
    Source = 1,     // its "Source" folder
    IdeFolder = 2,  // the current IDE's package folder
    IdeWin32 = 3,   // that folder's "Win32" folder
    IdeWin64 = 4,   // that folder's "Win64" folder
    IdeWin64x = 5,  // that folder's "Win64x" folder (the Modern C++ toolchain's files)
};
constexpr uint32_t StoredSubPath(InstallSubPath code) { return static_cast<uint32_t>(code); }

// What the location and sub-path codes resolve against: the install folder and
// the IDE whose block is being installed or undone. The runner and the uninstall
// engine each keep their own; an empty one still resolves the machine's folders
// (Windows, system, temporary).
struct LocationContext {
    std::wstring InstallDir;  // the install folder
    IdeIndex CurrentIde;      // none until an IDE is selected
    std::wstring IdeFolder;   // package folder name of the current IDE inside InstallDir
    std::wstring IdeRoot;     // RootDir of the current IDE as discovery found it
    std::wstring IdeKey;      // its registry key below HKLM (SelectIde sets all four)
    // The registry profile whose per-user keys the IDE's settings are in
    // (setup.exe /PROFILE=); empty: the IDE's own key. SelectIde leaves it.
    std::wstring Profile;
};

// The common folder (BDSCOMMONDIR) of the context's IDE; empty when not found.
std::wstring GetBdsCommonDir(const LocationContext& context);
// The folder of a location code for the context; empty for unknown codes.
std::wstring GetLocationPath(const LocationContext& context, LocationCode code);
// The folder of a stored install sub-path code (taken modulo 128); empty for one
// that names no InstallSubPath.
std::wstring GetInstallSubPath(const LocationContext& context, uint32_t stored);
// GetLocationPath(location) joined with text; LocationCode::None gives text unchanged.
std::wstring ResolvePath(const LocationContext& context, LocationCode location, const std::wstring& text);

}  // namespace tessel::common
