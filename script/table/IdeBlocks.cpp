// One block of the install script per IDE version. Each block is described by
// one record below; AddIdeBlock turns a record into the block's rows: select
// the IDE, write the package projects, build the run-time package and copy it
// where the IDE loads it, build and register the design-time package, build
// the 64-bit run-time package, extend the IDE's path lists and help files.
#include <string>
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "script/manifest/Manifest.h"
#include "script/table/TableParts.h"

namespace tessel::script {
// The tables here are laid out by hand, in columns.
// clang-format off

using namespace tessel::common;

namespace {

// ---- Package project files ------------------------------------------------

enum class PackageRole { Runtime, Design };

// One project file: its id is the block's base plus Offset; its name is the
// package name plus Ext, or FixedName for the compilers' own option files.
struct ProjectFile {
    uint32_t Offset;
    PackageRole Package;
    const wchar_t* Ext;
    const wchar_t* FixedName;
};

struct ProjectLayout {
    ConstList<ProjectFile> Files;
    const wchar_t* ProjectExt;  // the file the compiler is given
    const wchar_t* PackageExt;  // what it builds
    bool PlatformDirs;          // output in "Win32" and "Win64", and a 64-bit build
    bool HeadersToSource;       // the build leaves the units' .hpp files in "Source\"
    bool CarriesSources;        // the folder gets its own copy of the library sources
};

const ProjectFile Delphi3Files[] = {
    { 0, PackageRole::Runtime, L".dpk", nullptr }, { 1, PackageRole::Runtime, L".res", nullptr },
    { 2, PackageRole::Design,  L".dpk", nullptr }, { 3, PackageRole::Design,  L".res", nullptr },
};
const ProjectFile Delphi4Files[] = {
    { 0, PackageRole::Runtime, L".cfg", nullptr }, { 1, PackageRole::Runtime, L".dof", nullptr },
    { 2, PackageRole::Runtime, L".dpk", nullptr }, { 3, PackageRole::Runtime, L".res", nullptr },
    { 4, PackageRole::Design,  L".cfg", nullptr }, { 5, PackageRole::Design,  L".dof", nullptr },
    { 6, PackageRole::Design,  L".dpk", nullptr }, { 7, PackageRole::Design,  L".res", nullptr },
};
// Delphi 2005 keeps the numbering of Delphi 4 but has no .dof files.
const ProjectFile Delphi2005Files[] = {
    { 0, PackageRole::Runtime, L".cfg", nullptr }, { 2, PackageRole::Runtime, L".dpk", nullptr },
    { 3, PackageRole::Runtime, L".res", nullptr },
    { 4, PackageRole::Design,  L".cfg", nullptr }, { 6, PackageRole::Design,  L".dpk", nullptr },
    { 7, PackageRole::Design,  L".res", nullptr },
};
const ProjectFile Bds2006Files[] = {
    { 0, PackageRole::Runtime, L".cfg", nullptr }, { 1, PackageRole::Runtime, L".bdsproj", nullptr },
    { 2, PackageRole::Runtime, L".dpk", nullptr }, { 3, PackageRole::Runtime, L".res", nullptr },
    { 4, PackageRole::Design,  L".cfg", nullptr }, { 5, PackageRole::Design,  L".bdsproj", nullptr },
    { 6, PackageRole::Design,  L".dpk", nullptr }, { 7, PackageRole::Design,  L".res", nullptr },
};
const ProjectFile Bds2007Files[] = {
    { 0, PackageRole::Runtime, L".cfg", nullptr }, { 1, PackageRole::Runtime, L".dproj", nullptr },
    { 2, PackageRole::Runtime, L".dpk", nullptr }, { 3, PackageRole::Runtime, L".res", nullptr },
    { 4, PackageRole::Design,  L".cfg", nullptr }, { 5, PackageRole::Design,  L".dproj", nullptr },
    { 6, PackageRole::Design,  L".dpk", nullptr }, { 7, PackageRole::Design,  L".res", nullptr },
};
// From XE2 on the option files belong to the compilers, not to a project.
const ProjectFile XE2Files[] = {
    { 0, PackageRole::Runtime, nullptr,   L"dcc32.cfg" }, { 1, PackageRole::Runtime, L".dproj", nullptr },
    { 2, PackageRole::Runtime, L".dpk",   nullptr },      { 3, PackageRole::Runtime, L".res",   nullptr },
    { 4, PackageRole::Design,  nullptr,   L"dcc64.cfg" }, { 5, PackageRole::Design,  L".dproj", nullptr },
    { 6, PackageRole::Design,  L".dpk",   nullptr },      { 7, PackageRole::Design,  L".res",   nullptr },
};
const ProjectFile CBuilder4Files[] = {
    { 0, PackageRole::Runtime, L".bpk", nullptr }, { 1, PackageRole::Runtime, L".cpp", nullptr },
    { 2, PackageRole::Runtime, L".res", nullptr },
    { 3, PackageRole::Design,  L".bpk", nullptr }, { 4, PackageRole::Design,  L".cpp", nullptr },
    { 5, PackageRole::Design,  L".res", nullptr },
};
const ProjectFile CBuilder5Files[] = {
    { 0, PackageRole::Runtime, L".bpk", nullptr }, { 1, PackageRole::Runtime, L".cpp", nullptr },
    { 2, PackageRole::Runtime, L".res", nullptr },
    { 3, PackageRole::Design,  L".bpk", nullptr }, { 4, PackageRole::Design,  L".cpp", nullptr },
    { 5, PackageRole::Design,  L".res", nullptr },
    { 6, PackageRole::Runtime, L".mak", nullptr }, { 7, PackageRole::Design,  L".mak", nullptr },
};

//                                   files                  project  package  Win32/64 .hpp   sources
const ProjectLayout Delphi3    = { List(Delphi3Files),    L".dpk", L".dpl", false,   false, true };
const ProjectLayout Delphi4    = { List(Delphi4Files),    L".dpk", L".bpl", false,   false, false };
const ProjectLayout Delphi2005 = { List(Delphi2005Files), L".dpk", L".bpl", false,   false, false };
const ProjectLayout Bds2006    = { List(Bds2006Files),    L".dpk", L".bpl", false,   true,  false };
const ProjectLayout Bds2007    = { List(Bds2007Files),    L".dpk", L".bpl", false,   true,  false };
const ProjectLayout XE2        = { List(XE2Files),        L".dpk", L".bpl", true,    false, false };
const ProjectLayout CBuilder4  = { List(CBuilder4Files),  L".bpk", L".bpl", false,   false, false };
const ProjectLayout CBuilder5  = { List(CBuilder5Files),  L".mak", L".bpl", false,   false, false };

// ---- IDE path lists --------------------------------------------------------

struct PathRow {
    const wchar_t* KeyAndValue;  // below the IDE's registry key
    InstallSubPath Base;         // the package folder, its Win32 or its Win64 folder
};

constexpr PathRow CppSearch     = { L"\\C++\\Paths\\SearchPath", InstallSubPath::IdeFolder };
constexpr PathRow CppLibrary    = { L"\\C++\\Paths\\LibraryPath", InstallSubPath::IdeFolder };
constexpr PathRow CppWin32      = { L"\\C++\\Paths\\Win32\\LibraryPath", InstallSubPath::IdeWin32 };
constexpr PathRow CppWin64      = { L"\\C++\\Paths\\Win64\\LibraryPath", InstallSubPath::IdeWin64 };
constexpr PathRow DelphiSearch  = { L"\\Library\\Search Path", InstallSubPath::IdeFolder };
constexpr PathRow DelphiWin32   = { L"\\Library\\Win32\\Search Path", InstallSubPath::IdeWin32 };
constexpr PathRow DelphiWin64   = { L"\\Library\\Win64\\Search Path", InstallSubPath::IdeWin64 };

// Where the path rows stand: before the 64-bit build, inside it (they are
// skipped with it when the IDE has no 64-bit compiler), or after it.
struct PathPlan {
    ConstList<PathRow> Before64;
    ConstList<PathRow> With64;
    ConstList<PathRow> After64;
    bool SourceFolder;  // C++Builder: the "Source" folder goes into the library path
};

constexpr ConstList<PathRow> None = { nullptr, 0 };

const PathRow Bds2006Rows[] = { { L"\\CppPaths\\SearchPath", InstallSubPath::IdeFolder } };
const PathRow Bds2007Rows[] = { CppSearch, CppLibrary };
const PathRow XERows[]      = { CppSearch, CppLibrary, DelphiSearch };
const PathRow XE2Rows[]     = { CppWin32, DelphiWin32, DelphiWin64 };
const PathRow XE4Rows[]     = { CppWin32, CppWin64, DelphiWin32, DelphiWin64 };
const PathRow XE6Rows[]     = { CppWin32, DelphiWin32, DelphiWin64, CppWin64 };
const PathRow Win64Rows[]   = { DelphiWin64, CppWin64 };
const PathRow XE101After[]  = { CppWin32, DelphiWin32 };
const PathRow XE102Before[] = { DelphiWin32, CppWin32 };

const PathPlan NoPathRows   = { None, None, None, false };
const PathPlan SourcePath   = { None, None, None, true };
const PathPlan Bds2006Paths = { None, None, List(Bds2006Rows), false };
const PathPlan Bds2007Paths = { None, None, List(Bds2007Rows), false };
const PathPlan XEPaths      = { None, None, List(XERows), false };
const PathPlan XE2Paths     = { None, None, List(XE2Rows), false };
const PathPlan XE4Paths     = { None, None, List(XE4Rows), false };
const PathPlan XE6Paths     = { None, None, List(XE6Rows), false };
const PathPlan XE101Paths   = { None, List(Win64Rows), List(XE101After), false };
const PathPlan XE102Paths   = { List(XE102Before), List(Win64Rows), None, false };

// ---- WinHelp entries of the older IDEs -------------------------------------

const wchar_t* const IndexLine = L"\r\n:Index Tessel library components=qvlib.hlp";
const wchar_t* const LinkLine  = L"\r\n:Link qvlib.hlp";

struct HelpLine {
    uint32_t File;  // 1..3: which of the IDE's help-configuration files
    const wchar_t* Line;
};

struct HelpRows {
    ConstList<HelpLine> Lines;
    const wchar_t* AliasFile;   // the IDE's keyword alias file, or nullptr
    const wchar_t* IndexCache;  // below the IDE's root; deleted so that WinHelp rebuilds it
    bool OnlyWithHelpFiles;     // inside the "Context help files" guard
};

const HelpLine Delphi3Lines[]   = { { 1, IndexLine }, { 1, LinkLine } };
const HelpLine Delphi4Lines[]   = { { 1, IndexLine }, { 1, LinkLine }, { 2, IndexLine }, { 3, LinkLine } };
const HelpLine CBuilder4Lines[] = { { 1, LinkLine }, { 2, IndexLine }, { 3, LinkLine } };
const HelpLine TwoFileLines[]   = { { 1, IndexLine }, { 2, LinkLine } };

const HelpRows Delphi3Help   = { List(Delphi3Lines),   nullptr,          L"Help\\delphi3.gid", false };
const HelpRows Delphi4Help   = { List(Delphi4Lines),   nullptr,          L"Help\\delphi4.gid", false };
const HelpRows Delphi5Help   = { List(TwoFileLines),   nullptr,          L"Help\\delphi5.gid", false };
const HelpRows Delphi6Help   = { List(TwoFileLines),   L"delphi6.als",   L"Help\\delphi6.gid", true };
const HelpRows Delphi7Help   = { List(TwoFileLines),   L"d7.als",        L"Help\\d7.gid",      true };
const HelpRows CBuilder4Help = { List(CBuilder4Lines), nullptr,          L"Help\\bcb4.gid",    false };
const HelpRows CBuilder5Help = { List(TwoFileLines),   nullptr,          L"Help\\bcb5.gid",    false };
const HelpRows CBuilder6Help = { List(TwoFileLines),   L"bcb6.als",      L"Help\\bcb6.gid",    true };

// ---- The blocks ------------------------------------------------------------

constexpr int NoCopy = -1;

struct IdeBlock {
    const wchar_t* Folder;       // package folder below the install folder
    uint32_t Ide;                // index in the IDE table
    uint32_t Item;               // install-item bit that guards the block
    const wchar_t* Suffix;       // package names: "qvl" + suffix, "dclqvl" + suffix
    uint32_t Base;               // payload id of the first project file
    const ProjectLayout& Layout;
    int CopyTo;                  // where the run-time package goes
    int CopyTarget64;            // where the Win64 run-time package goes, or NoCopy
    uint32_t Win64Guard;         // block code of the "bin\dcc64.exe" guard; 0: unguarded
    const PathPlan& Paths;
    const HelpRows* Help;        // nullptr: no WinHelp entries
    bool For64BitIde;            // also a Win64 design-time package when the 64-bit IDE is there
};

const IdeBlock BlocksUpToCBuilder6[] = {
    // folder          n  item        suffix   base  layout      copy  copy64  guard  paths          help            64-bit IDE
    { L"Delphi3",      1, 0x00000001, L"30",     90, Delphi3,       0, NoCopy,  0, NoPathRows,   &Delphi3Help,   false },
    { L"Delphi4",      2, 0x00000002, L"40",    120, Delphi4,       1, NoCopy,  0, NoPathRows,   &Delphi4Help,   false },
    { L"Delphi5",      3, 0x00000004, L"50",    150, Delphi4,       2, NoCopy,  0, NoPathRows,   &Delphi5Help,   false },
    { L"Delphi6",      7, 0x00000008, L"60",    350, Delphi4,       5, NoCopy,  0, NoPathRows,   &Delphi6Help,   false },
    { L"Delphi7",      9, 0x00000400, L"70",    850, Delphi4,       8, NoCopy,  0, NoPathRows,   &Delphi7Help,   false },
    { L"Delphi9",     10, 0x00000800, L"90",    900, Delphi2005,    9, NoCopy,  0, NoPathRows,   nullptr,        false },
    { L"BDS2006",     11, 0x00001000, L"2006", 1000, Bds2006,      10, NoCopy,  0, Bds2006Paths, nullptr,        false },
    { L"BDS2007",     12, 0x00002000, L"2007", 1100, Bds2007,      11, NoCopy,  0, Bds2007Paths, nullptr,        false },
    { L"BDS2009",     13, 0x00004000, L"2009", 1200, Bds2007,      12, NoCopy,  0, Bds2007Paths, nullptr,        false },
    { L"BDS2010",     14, 0x00008000, L"2010", 1300, Bds2007,      13, NoCopy,  0, Bds2007Paths, nullptr,        false },
    { L"RADStudio8",  15, 0x00010000, L"150",  1400, Bds2007,      14, NoCopy,  0, XEPaths,      nullptr,        false },
    { L"RADStudio9",  16, 0x00020000, L"160",  1500, XE2,          15, NoCopy,  0, XE2Paths,     nullptr,        false },
    { L"RADStudio10", 17, 0x00040000, L"170",  1600, XE2,          16, NoCopy,  0, XE2Paths,     nullptr,        false },
    { L"RADStudio11", 18, 0x00080000, L"180",  1700, XE2,          17, NoCopy,  0, XE4Paths,     nullptr,        false },
    { L"RADStudio12", 19, 0x00100000, L"190",  1800, XE2,          18, NoCopy,  0, XE4Paths,     nullptr,        false },
    { L"RADStudio14", 20, 0x00200000, L"200",  1900, XE2,          19, NoCopy,  0, XE6Paths,     nullptr,        false },
    { L"RADStudio15", 21, 0x00400000, L"210",  2000, XE2,          20, NoCopy,  0, XE6Paths,     nullptr,        false },
    { L"RADStudio16", 22, 0x00800000, L"220",  2100, XE2,          21, NoCopy,  0, XE6Paths,     nullptr,        false },
    { L"RADStudio17", 23, 0x01000000, L"230",  2200, XE2,          22, NoCopy,  0, XE6Paths,     nullptr,        false },
    { L"CBuilder4",    5, 0x00000010, L"40",    190, CBuilder4,     3, NoCopy,  0, SourcePath,   &CBuilder4Help, false },
    { L"CBuilder5",    6, 0x00000020, L"50",    220, CBuilder5,     4, NoCopy,  0, SourcePath,   &CBuilder5Help, false },
    { L"CBuilder6",    8, 0x00000040, L"60",    570, CBuilder5,     6, NoCopy,  0, SourcePath,   &CBuilder6Help, false },
};

// From XE10.1 on the 64-bit compiler is an optional part of the IDE.
const IdeBlock BlocksFromXE101[] = {
    // folder          n  item        suffix   base  layout      copy  copy64  guard      paths       help     64-bit IDE
    { L"RADStudio18", 24, 0x02000000, L"240",  2300, XE2,          23, NoCopy, 0x2000001, XE101Paths, nullptr, false },
    { L"RADStudio19", 25, 0x04000000, L"250",  2400, XE2,          24, NoCopy, 0x4000001, XE102Paths, nullptr, false },
    { L"RADStudio20", 26, 0x08000000, L"260",  2500, XE2,          25, NoCopy, 0x4000001, XE102Paths, nullptr, false },
    { L"RADStudio21", 27, 0x10000000, L"270",  2600, XE2,          26, NoCopy, 0x4000002, XE102Paths, nullptr, false },
    { L"RADStudio22", 28, 0x20000000, L"280",  2700, XE2,          27, 28,     0x4000003, XE102Paths, nullptr, false },
    { L"RADStudio23", 29, 0x40000000, L"290",  2800, XE2,          29, 30,     0x4000004, XE102Paths, nullptr, true },
    { L"RADStudio37", 30, 0x80000000, L"370",  2900, XE2,          31, 32,     0x4000005, XE102Paths, nullptr, true },
};

// ---- Expanding a block into rows -------------------------------------------

std::wstring PackageName(const IdeBlock& b, PackageRole p) {
    return (p == PackageRole::Design ? L"dclqvl" : L"qvl") + std::wstring(b.Suffix);
}

std::wstring ProjectFileName(const IdeBlock& b, const ProjectFile& f) {
    return f.FixedName ? std::wstring(f.FixedName) : PackageName(b, f.Package) + f.Ext;
}

void AddPaths(ScriptBuilder& s, const ConstList<PathRow>& rows) {
    for (const PathRow& p : rows) s.AddIdePath(p.KeyAndValue, p.Base, RowFlag::Undo);
}

void AddWinHelp(ScriptBuilder& s, const HelpRows& h) {
    if (h.OnlyWithHelpFiles) s.IfItem(ItemBit::HelpFiles);
    for (const HelpLine& l : h.Lines) s.AppendText(l.Line, l.File, LocationCode::IdeHelp, RowFlag::Undo);
    if (h.AliasFile) s.MergeFiles(L"Help\\qvlib.als", LocationCode::Install, h.AliasFile, LocationCode::IdeHelp);
    s.DeleteFileAt(h.IndexCache, LocationCode::IdeRoot, RowFlag::Undo);
    if (h.OnlyWithHelpFiles) s.EndIfItem(ItemBit::HelpFiles);
}

void AddIdeBlock(ScriptBuilder& s, const IdeBlock& b) {
    const ProjectLayout& layout = b.Layout;
    const std::wstring folder = b.Folder;
    const uint32_t ideBit = IdeTable[b.Ide].InternalId.Bits();
    const std::wstring runtime = PackageName(b, PackageRole::Runtime);
    const std::wstring design = PackageName(b, PackageRole::Design);
    const std::wstring out32 = layout.PlatformDirs ? folder + L"\\Win32" : folder;
    const std::wstring runtimePackage = out32 + L"\\" + runtime + layout.PackageExt;
    const std::wstring designPackage = out32 + L"\\" + design + layout.PackageExt;

    s.IfItem(b.Item);
    s.SetIde(folder, b.Ide, RowFlag::Undo);

    // The package folder starts empty, so nothing of an older build is left over.
    s.CreateDir(folder, LocationCode::Install, RowFlag::Undo);
    s.ClearDir(folder, LocationCode::Install);
    if (layout.PlatformDirs) {
        s.CreateDir(folder + L"\\Win32", LocationCode::Install, RowFlag::Undo);
        s.CreateDir(folder + L"\\Win64", LocationCode::Install, RowFlag::Undo);
    }
    for (const ProjectFile& f : layout.Files)
        s.ExtractFile(folder + L"\\" + ProjectFileName(b, f), b.Base + f.Offset, LocationCode::Install);
    if (layout.CarriesSources) {
        s.CopyFileTo(L"Source\\qvTessel.inc", LocationCode::Install, CopyTargets[Delphi3IncludeTarget]);
        for (const LibraryFile& f : LibrarySources)
            if (f.AlsoForDelphi3) s.ExtractFile(folder + L"\\" + f.Name, f.Id, LocationCode::Install);
    }

    // The compilers run in the package folder, beside their option files.
    s.SetCurrentDir(folder, LocationCode::Install);
    s.CompilePackage(runtime + layout.ProjectExt, ideBit, 0);
    s.CheckFile(runtimePackage, LocationCode::Install);
    s.CopyFileTo(runtimePackage, LocationCode::Install, CopyTargets[b.CopyTo]);

    s.CompilePackage(design + layout.ProjectExt, ideBit, 0);
    s.CheckFile(designPackage, LocationCode::Install);
    s.RegisterPackage(designPackage, LocationCode::Install, RowFlag::Undo);

    AddPaths(s, b.Paths.Before64);
    if (layout.PlatformDirs) {
        const std::wstring package64 = folder + L"\\Win64\\" + runtime + layout.PackageExt;
        if (b.Win64Guard) s.IfFileExists(L"bin\\dcc64.exe", LocationCode::IdeRoot, b.Win64Guard);
        s.CompilePackage(runtime + layout.ProjectExt, ideBit, 1);
        s.CheckFile(package64, LocationCode::Install);
        if (b.CopyTarget64 != NoCopy) s.CopyFileTo(package64, LocationCode::Install, CopyTargets[b.CopyTarget64]);
        AddPaths(s, b.Paths.With64);
        if (b.For64BitIde) {
            // The 64-bit IDE loads only Win64 design-time packages, from a list of its own.
            const std::wstring design64 = folder + L"\\Win64\\" + design + layout.PackageExt;
            s.If64BitIde(b.Win64Guard);
            s.CompilePackage(design + layout.ProjectExt, ideBit, 1);
            s.CheckFile(design64, LocationCode::Install);
            s.RegisterPackageFor64BitIde(design64, LocationCode::Install, RowFlag::Undo);
            s.EndIf64BitIde(b.Win64Guard);
        }
        if (b.Win64Guard) s.EndIfFileExists(b.Win64Guard);
    }

    if (layout.HeadersToSource) {
        // The compiler wrote the C++ headers into "Source\"; they belong to this IDE.
        s.CopyFiles(L"Source\\*.hpp", LocationCode::Install, folder + L"\\*.hpp", LocationCode::Install);
        s.DeleteFiles(L"Source\\*.hpp", LocationCode::Install);
    }
    AddPaths(s, b.Paths.After64);
    if (b.Paths.SourceFolder) s.AddSearchPath(L"Source", LocationCode::Install, RowFlag::Undo);
    if (b.Help) AddWinHelp(s, *b.Help);

    // Selecting the IDE again lets the uninstaller, which reads backwards,
    // meet the IDE before the block's own records.
    s.SetIde(folder, b.Ide, RowFlag::Undo);
    s.EndIfItem(b.Item);
}

}  // namespace

void AddIdeBlocksUpToCBuilder6(ScriptBuilder& s) {
    for (const IdeBlock& b : BlocksUpToCBuilder6) AddIdeBlock(s, b);
}

void AddIdeBlocksFromXE101(ScriptBuilder& s) {
    for (const IdeBlock& b : BlocksFromXE101) AddIdeBlock(s, b);
}

// clang-format on
}  // namespace tessel::script
