// The table of known IDE versions, shared by the setup and the uninstaller:
// every fact about an IDE is written once, in its row here. Discovery, the
// wizard's IDE list, the script's IDE blocks and the stand-in machines read it.
#pragma once
#include <cstdint>
#include <string>
#include "common/IdeNumbers.h"
#include "common/Locations.h"
#include "common/RowKinds.h"

namespace tessel::common {

// Which package project files an IDE's folder gets, and how its compilers are
// called; each layout's file list is in script/table/IdeBlocks.cpp.
enum class ProjectLayoutId : uint8_t { None, Delphi3, Delphi4, Delphi2005, Bds2006, Bds2007, XE2, CBuilder4, CBuilder5 };
// Which of the IDE's path lists the install extends, and where those rows stand
// in the block; the plans are in script/table/IdeBlocks.cpp.
enum class PathPlanId : uint8_t { None, SourceFolder, Bds2006, Bds2007, XE, XE2, XE4, XE6, XE101, XE102 };
// Which lines go into which of the IDE's help-configuration files (the lines
// themselves are in script/table/IdeBlocks.cpp); None: no WinHelp entries.
enum class WinHelpLines : uint8_t { None, Delphi3, Delphi4, CBuilder4, TwoFiles };

struct IdeVersion {
    const wchar_t* Name;        // identifier of the IDE version, e.g. L"Delphi7"
    const wchar_t* Caption;     // its line on the wizard's IDE page; nullptr: not offered
    IdeMask InternalId;         // the IDE bit: 1 << (index - 1)
    ItemMask Item;              // install-item bit that guards its block; empty: not offered
    const wchar_t* RegKey;      // same path below HKLM and HKCU; for the newer IDE the key that holds
                                // its version keys (the version is found at run time: IdeKeyOf)
    bool IsDelphi;              // dcc32/dcc64; false: make.exe (C++Builder 3 to 6)
    bool Is32and64;             // has a 64-bit compiler and Win32/Win64 library keys
    uint32_t Win64Guard;        // block code of the "bin\dcc64.exe" guard (optional 64-bit compiler); 0: none
    bool Can64BitIde;           // may come with the 64-bit IDE, which loads Win64 design packages
    const wchar_t* Folder;      // package folder below the install folder; nullptr: no block
    const wchar_t* Suffix;      // package names: "qvl" + suffix, "dclqvl" + suffix; nullptr: the
                                // projects ask for the automatic suffix, and the compiler names the package
    uint32_t PayloadBase;       // payload id of its first package project file
    ProjectLayoutId Layout;     // its package project files
    LocationCode CopyTo;        // where the run-time package is copied (the folder the IDE loads it from)
    LocationCode CopyTo64;      // where the Win64 run-time package is copied; None: not copied
    PathPlanId Paths;           // the path lists it extends
    const wchar_t* HelpStr[3];  // help-configuration files, nullptr when absent
    WinHelpLines HelpLines;     // what goes into them
    uint32_t AliasFile;         // which help file (1..3) is the WinHelp keyword alias file, merged with the library's; 0: none
    const wchar_t* IndexCache;  // WinHelp index cache in "Help", deleted so that WinHelp rebuilds it; nullptr: none
};

// The table is laid out by hand, in columns.
// clang-format off
namespace ide_columns {
constexpr bool Delphi = true, CBuilder = false;
constexpr bool Only32 = false, Both = true;
constexpr bool No64BitIde = false, With64BitIde = true;
constexpr LocationCode System = LocationCode::System, Bpl = LocationCode::Bpl, Bpl64 = LocationCode::Bpl64,
                       NoCopy = LocationCode::None;
using L = ProjectLayoutId;
using P = PathPlanId;
using H = WinHelpLines;
}  // namespace ide_columns

#define TESSEL_IDE(index, name, caption, key, item, kind, platforms, guard, ide64,                          \
                   folder, suffix, base, layout, copy, copy64, paths, h1, h2, h3, lines, alias, cache)      \
    { name, caption, MaskOf(IdeIndex(index)), ItemMask(item), key, ide_columns::kind, ide_columns::platforms, \
      guard, ide_columns::ide64, folder, suffix, base, ide_columns::L::layout, ide_columns::copy,            \
      ide_columns::copy64, ide_columns::P::paths, { h1, h2, h3 }, ide_columns::H::lines, alias, cache }

// 1-based: IdeTable[1] .. IdeTable[30]; IdeTable[0] is an unused empty record.
// Constant facts about each version, the same on every machine. What discovery
// finds on this machine is a separate value (common/IdeDiscovery.h).
// The index, the IDE bit it gives, the item bit and the payload ids are stored
// (registry values, undo logs, payload): they never change. Each row takes two
// lines: what the IDE is, then what its block installs.
inline constexpr IdeVersion IdeTable[] = {
    { L"", nullptr, IdeMask(), ItemMask(), L"", false, false, 0, false, nullptr, nullptr, 0, ProjectLayoutId::None,
      LocationCode::None, LocationCode::None, PathPlanId::None, { nullptr, nullptr, nullptr }, WinHelpLines::None,
      0, nullptr },
    //          n   name             caption                           registry key                          item bit    compiler  platforms guard      64-bit IDE
    //              package folder   suffix  payload layout     copy    copy64  paths         help-configuration files                      help lines alias index cache
    TESSEL_IDE( 1,  L"Delphi3",      L"Delphi 3",                      L"Software\\Borland\\Delphi\\3.0",     0x00000001, Delphi,   Only32,   0,         No64BitIde,
                    L"Delphi3",      L"30",     90, Delphi3,    System, NoCopy, None,         L"delphi3.cfg", nullptr,        nullptr,        Delphi3,   0,     L"delphi3.gid"),
    TESSEL_IDE( 2,  L"Delphi4",      L"Delphi 4",                      L"Software\\Borland\\Delphi\\4.0",     0x00000002, Delphi,   Only32,   0,         No64BitIde,
                    L"Delphi4",      L"40",    120, Delphi4,    System, NoCopy, None,         L"delphi4.cfg", L"delphi4.ohi", L"delphi4.ohl", Delphi4,   0,     L"delphi4.gid"),
    TESSEL_IDE( 3,  L"Delphi5",      L"Delphi 5",                      L"Software\\Borland\\Delphi\\5.0",     0x00000004, Delphi,   Only32,   0,         No64BitIde,
                    L"Delphi5",      L"50",    150, Delphi4,    System, NoCopy, None,         L"delphi5.ohi", L"delphi5.ohl", nullptr,        TwoFiles,  0,     L"delphi5.gid"),
    // Known, but never offered: no line on the IDE page, no block in the script.
    TESSEL_IDE( 4,  L"CBuilder3",    nullptr,                          L"Software\\Borland\\C++Builder\\3.0", 0,          CBuilder, Only32,   0,         No64BitIde,
                    nullptr,         nullptr,    0, None,       NoCopy, NoCopy, None,         nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE( 5,  L"CBuilder4",    L"C++Builder 4",                  L"Software\\Borland\\C++Builder\\4.0", 0x00000010, CBuilder, Only32,   0,         No64BitIde,
                    L"CBuilder4",    L"40",    190, CBuilder4,  System, NoCopy, SourceFolder, L"bcb4.cfg",    L"bcb4.ohi",    L"bcb4.ohl",    CBuilder4, 0,     L"bcb4.gid"),
    TESSEL_IDE( 6,  L"CBuilder5",    L"C++Builder 5",                  L"Software\\Borland\\C++Builder\\5.0", 0x00000020, CBuilder, Only32,   0,         No64BitIde,
                    L"CBuilder5",    L"50",    220, CBuilder5,  System, NoCopy, SourceFolder, L"bcb5.ohi",    L"bcb5.ohl",    nullptr,        TwoFiles,  0,     L"bcb5.gid"),
    TESSEL_IDE( 7,  L"Delphi6",      L"Delphi 6",                      L"Software\\Borland\\Delphi\\6.0",     0x00000008, Delphi,   Only32,   0,         No64BitIde,
                    L"Delphi6",      L"60",    350, Delphi4,    System, NoCopy, None,         L"delphi6.ohi", L"delphi6.ohl", L"delphi6.als", TwoFiles,  3,     L"delphi6.gid"),
    TESSEL_IDE( 8,  L"CBuilder6",    L"C++Builder 6",                  L"Software\\Borland\\C++Builder\\6.0", 0x00000040, CBuilder, Only32,   0,         No64BitIde,
                    L"CBuilder6",    L"60",    570, CBuilder5,  System, NoCopy, SourceFolder, L"bcb6.ohi",    L"bcb6.ohl",    L"bcb6.als",    TwoFiles,  3,     L"bcb6.gid"),
    TESSEL_IDE( 9,  L"Delphi7",      L"Delphi 7",                      L"Software\\Borland\\Delphi\\7.0",     0x00000400, Delphi,   Only32,   0,         No64BitIde,
                    L"Delphi7",      L"70",    850, Delphi4,    System, NoCopy, None,         L"d7.ohi",      L"d7.ohl",      L"d7.als",      TwoFiles,  3,     L"d7.gid"),
    TESSEL_IDE(10,  L"Delphi9",      L"Delphi 2005",                   L"Software\\Borland\\BDS\\3.0",        0x00000800, Delphi,   Only32,   0,         No64BitIde,
                    L"Delphi9",      L"90",    900, Delphi2005, System, NoCopy, None,         nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(11,  L"BDS2006",      L"Borland Developer Studio 2006", L"Software\\Borland\\BDS\\4.0",        0x00001000, Delphi,   Only32,   0,         No64BitIde,
                    L"BDS2006",      L"2006", 1000, Bds2006,    System, NoCopy, Bds2006,      nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(12,  L"Delphi2007",   L"CodeGear RAD Studio 2007",      L"Software\\Borland\\BDS\\5.0",        0x00002000, Delphi,   Only32,   0,         No64BitIde,
                    L"BDS2007",      L"2007", 1100, Bds2007,    System, NoCopy, Bds2007,      nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(13,  L"BDS2009",      L"CodeGear RAD Studio 2009",      L"Software\\CodeGear\\BDS\\6.0",       0x00004000, Delphi,   Only32,   0,         No64BitIde,
                    L"BDS2009",      L"2009", 1200, Bds2007,    System, NoCopy, Bds2007,      nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(14,  L"BDS2010",      L"RAD Studio 2010",               L"Software\\CodeGear\\BDS\\7.0",       0x00008000, Delphi,   Only32,   0,         No64BitIde,
                    L"BDS2010",      L"2010", 1300, Bds2007,    System, NoCopy, Bds2007,      nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(15,  L"RADStudio8",   L"RAD Studio XE",                 L"Software\\Embarcadero\\BDS\\8.0",    0x00010000, Delphi,   Only32,   0,         No64BitIde,
                    L"RADStudio8",   L"150",  1400, Bds2007,    System, NoCopy, XE,           nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(16,  L"RADStudio9",   L"RAD Studio XE2",                L"Software\\Embarcadero\\BDS\\9.0",    0x00020000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio9",   L"160",  1500, XE2,        System, NoCopy, XE2,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(17,  L"RADStudio10",  L"RAD Studio XE3",                L"Software\\Embarcadero\\BDS\\10.0",   0x00040000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio10",  L"170",  1600, XE2,        System, NoCopy, XE2,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(18,  L"RADStudio11",  L"RAD Studio XE4",                L"Software\\Embarcadero\\BDS\\11.0",   0x00080000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio11",  L"180",  1700, XE2,        System, NoCopy, XE4,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(19,  L"RADStudio12",  L"RAD Studio XE5",                L"Software\\Embarcadero\\BDS\\12.0",   0x00100000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio12",  L"190",  1800, XE2,        System, NoCopy, XE4,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(20,  L"RADStudio14",  L"RAD Studio XE6",                L"Software\\Embarcadero\\BDS\\14.0",   0x00200000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio14",  L"200",  1900, XE2,        System, NoCopy, XE6,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(21,  L"RADStudio15",  L"RAD Studio XE7",                L"Software\\Embarcadero\\BDS\\15.0",   0x00400000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio15",  L"210",  2000, XE2,        System, NoCopy, XE6,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(22,  L"RADStudio16",  L"RAD Studio XE8",                L"Software\\Embarcadero\\BDS\\16.0",   0x00800000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio16",  L"220",  2100, XE2,        System, NoCopy, XE6,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(23,  L"RADStudio17",  L"RAD Studio XE10",               L"Software\\Embarcadero\\BDS\\17.0",   0x01000000, Delphi,   Both,     0,         No64BitIde,
                    L"RADStudio17",  L"230",  2200, XE2,        System, NoCopy, XE6,          nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    // From XE10.1 on the 64-bit compiler is an optional part of the IDE: its rows stand inside a guard.
    TESSEL_IDE(24,  L"RADStudio18",  L"RAD Studio XE10.1",             L"Software\\Embarcadero\\BDS\\18.0",   0x02000000, Delphi,   Both,     0x2000001, No64BitIde,
                    L"RADStudio18",  L"240",  2300, XE2,        System, NoCopy, XE101,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(25,  L"RADStudio19",  L"RAD Studio XE10.2",             L"Software\\Embarcadero\\BDS\\19.0",   0x04000000, Delphi,   Both,     0x4000001, No64BitIde,
                    L"RADStudio19",  L"250",  2400, XE2,        System, NoCopy, XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(26,  L"RADStudio20",  L"RAD Studio XE10.3",             L"Software\\Embarcadero\\BDS\\20.0",   0x08000000, Delphi,   Both,     0x4000001, No64BitIde,
                    L"RADStudio20",  L"260",  2500, XE2,        System, NoCopy, XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(27,  L"RADStudio21",  L"RAD Studio XE10.4",             L"Software\\Embarcadero\\BDS\\21.0",   0x10000000, Delphi,   Both,     0x4000002, No64BitIde,
                    L"RADStudio21",  L"270",  2600, XE2,        System, NoCopy, XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(28,  L"RADStudio22",  L"RAD Studio 11",                 L"Software\\Embarcadero\\BDS\\22.0",   0x20000000, Delphi,   Both,     0x4000003, No64BitIde,
                    L"RADStudio22",  L"280",  2700, XE2,        Bpl,    Bpl64,  XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    TESSEL_IDE(29,  L"RADStudio23",  L"RAD Studio 12",                 L"Software\\Embarcadero\\BDS\\23.0",   0x40000000, Delphi,   Both,     0x4000004, With64BitIde,
                    L"RADStudio23",  L"290",  2800, XE2,        Bpl,    Bpl64,  XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    // The key jumps from 23.0 to 37.0: never computed, always written out. Its
    // item took the last bit of the first 32; the next items are stored under
    // "InstallItemsHigh" beside "InstallItems".
    TESSEL_IDE(30,  L"RADStudio37",  L"RAD Studio 13",                 L"Software\\Embarcadero\\BDS\\37.0",   0x80000000, Delphi,   Both,     0x4000005, With64BitIde,
                    L"RADStudio37",  L"370",  2900, XE2,        Bpl,    Bpl64,  XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
    // Not one version: the newest "BDS\<N>.0" above 37.0 on the machine, found by
    // discovery. Its projects are the same for every such version and ask for
    // the automatic suffix; its caption is made with the version found (IdeCaption).
    TESSEL_IDE(31,  L"RADStudioNewer", L"RAD Studio",                  L"Software\\Embarcadero\\BDS",            0x100000000, Delphi,  Both,     0x4000006, With64BitIde,
                    L"RADStudioNewer", nullptr, 3000, XE2,        Bpl,    Bpl64,  XE102,        nullptr,        nullptr,        nullptr,        None,      0,     nullptr),
};

#undef TESSEL_IDE
// clang-format on
static_assert(sizeof IdeTable / sizeof IdeTable[0] == IdeCount + 1, "IdeCount (common/IdeNumbers.h) counts the rows");

// The record of a valid index.
constexpr const IdeVersion& IdeOf(IdeIndex index) { return IdeTable[index.Value]; }

// Whether the IDE is offered: it has an install item, a line on the IDE page
// and a block in the script.
constexpr bool IsOffered(const IdeVersion& ide) { return !ide.Item.Empty(); }

// The index of the record whose InternalId equals mask; none when none.
IdeIndex IdeIndexByMask(IdeMask mask);
// True for 1..31: a stored number (a row's or record's Param) that names an IDE.
inline bool IsIdeIndex(int index) { return IdeIndex(index).IsValid(); }

// The newer IDE's versions: a "BDS\<N>.0" key with N above the last row's 37
// (and not absurdly large, so a stored one stays a short number).
constexpr uint32_t NewestTableBdsVersion = 37;
constexpr uint32_t LargestBdsVersion = 999;
constexpr bool IsNewerBdsVersion(uint32_t version) {
    return version > NewestTableBdsVersion && version <= LargestBdsVersion;
}
constexpr bool IsNewerIdeSlot(IdeIndex index) { return index.Value == NewerIdeSlot; }
// The IDE's key below HKLM and HKCU: the row's, or for the newer IDE the key
// of its version ("Software\Embarcadero\BDS\38.0"); empty for the newer IDE
// without a valid version.
std::wstring IdeKeyOf(IdeIndex index, uint32_t bdsVersion);

// The IDEs whose C++Builder can come with the Modern Win64 toolchain (Win64x,
// from RAD Studio 12.1 on) are the ones that can have the 64-bit IDE.
constexpr bool CanHaveModernCpp(const IdeVersion& ide) { return ide.Can64BitIde; }

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
inline constexpr const wchar_t* Win64xKey = L"\\Win64x";
inline constexpr const wchar_t* GlobalsKey = L"\\Globals";

// The wizard's line for the IDE at index; empty for none or one not offered.
// The newer IDE's names the version found: "RAD Studio (BDS 38.0)".
std::wstring IdeCaption(IdeIndex ideIndex, uint32_t bdsVersion = 0);

}  // namespace tessel::common
