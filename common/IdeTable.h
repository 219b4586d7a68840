// The table of known IDE versions, shared by the setup and the uninstaller.
#pragma once
#include <cstdint>
#include "common/IdeNumbers.h"
#include "common/RowKinds.h"

namespace tessel::common {

struct IdeVersion {
    const wchar_t* Name;        // identifier of the IDE version, e.g. L"Delphi7"
    IdeMask InternalId;         // the IDE bit: 1 << (index - 1)
    const wchar_t* RegKey;      // same path below HKLM and HKCU
    const wchar_t* HelpStr[3];  // help-configuration files, nullptr when absent
    bool IsDelphi;              // dcc32/dcc64; false: make.exe (C++Builder 3 to 6)
    bool Is32and64;             // has a 64-bit compiler and Win32/Win64 library keys
    bool Can64BitIde;           // may come with the 64-bit IDE, which loads Win64 design packages
};

// 1-based: IdeTable[1] .. IdeTable[30]; IdeTable[0] is an unused empty record.
// Constant facts about each version, the same on every machine. What discovery
// finds on this machine is a separate value (common/IdeDiscovery.h).
extern const IdeVersion IdeTable[IdeCount + 1];

// The record of a valid index.
inline const IdeVersion& IdeOf(IdeIndex index) { return IdeTable[index.Value]; }

// The index of the record whose InternalId equals mask; none when none.
IdeIndex IdeIndexByMask(IdeMask mask);
// True for 1..30: a stored number (a row's or record's Param) that names an IDE.
inline bool IsIdeIndex(int index) { return IdeIndex(index).IsValid(); }

// Sub-keys appended to an IDE's RegKey.
inline constexpr const wchar_t* KnownPackagesKey = L"\\Known Packages";
// The design-time packages of the 64-bit IDE (built for Win64).
inline constexpr const wchar_t* KnownPackagesX64Key = L"\\Known Packages x64";
// The list a RegisterPackage row or record with this Param (PackageIde) names:
// anything but the 64-bit IDE's value means the classic list, as older logs hold.
inline const wchar_t* KnownPackagesKeyFor(uint32_t packageIde) {
    return packageIde == PackageIdeParam(PackageIde::Ide64) ? KnownPackagesX64Key : KnownPackagesKey;
}
inline constexpr const wchar_t* LibraryKey = L"\\Library";
inline constexpr const wchar_t* Win32Key = L"\\Win32";
inline constexpr const wchar_t* Win64Key = L"\\Win64";
inline constexpr const wchar_t* GlobalsKey = L"\\Globals";

}  // namespace tessel::common
