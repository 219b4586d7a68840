// One block of the install script per offered IDE version. Each block is
// described by the IDE's row of the IDE table (common/IdeTable.h), which names
// one of the project layouts, path plans and WinHelp line sets below;
// AddIdeBlock turns a row into the block's rows: select
// the IDE, write the package projects, build the run-time package and copy it
// where the IDE loads it, build and register the design-time package, build
// the 64-bit run-time package, extend the IDE's path lists and help files.
#include <string>
#include "changes/help/HelpChanges.h"
#include "changes/packages/PackageChanges.h"
#include "changes/pathlists/PathListChanges.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "script/manifest/Manifest.h"
#include "script/table/TableParts.h"

namespace tessel::script {
// The tables here are laid out by hand, in columns.
// clang-format off

using namespace tessel::common;
using namespace tessel::changes;

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
const ProjectLayout NoLayout   = { { nullptr, 0 },         L"",     L"",     false,   false, false };

const ProjectLayout& LayoutOf(ProjectLayoutId id) {
    switch (id) {
    case ProjectLayoutId::None:       return NoLayout;
    case ProjectLayoutId::Delphi3:    return Delphi3;
    case ProjectLayoutId::Delphi4:    return Delphi4;
    case ProjectLayoutId::Delphi2005: return Delphi2005;
    case ProjectLayoutId::Bds2006:    return Bds2006;
    case ProjectLayoutId::Bds2007:    return Bds2007;
    case ProjectLayoutId::XE2:        return XE2;
    case ProjectLayoutId::CBuilder4:  return CBuilder4;
    case ProjectLayoutId::CBuilder5:  return CBuilder5;
    }
    return NoLayout;
}

// Where the include file of a layout that carries the sources is copied.
const wchar_t* const Delphi3Include = L"delphi3\\qvTessel.inc";

// ---- IDE path lists --------------------------------------------------------

struct PathRow {
    const wchar_t* KeyAndValue;  // below the IDE's registry key
    InstallSubPath Base;         // the package folder, its Win32 or its Win64 folder
};

constexpr PathRow CppSearch     = { pathlists::CppSearchPath,        InstallSubPath::IdeFolder };
constexpr PathRow CppLibrary    = { pathlists::CppLibraryPath,       InstallSubPath::IdeFolder };
constexpr PathRow CppWin32      = { pathlists::CppWin32LibraryPath,  InstallSubPath::IdeWin32 };
constexpr PathRow CppWin64      = { pathlists::CppWin64LibraryPath,  InstallSubPath::IdeWin64 };
constexpr PathRow DelphiSearch  = { pathlists::DelphiSearchPath,      InstallSubPath::IdeFolder };
constexpr PathRow DelphiWin32   = { pathlists::DelphiWin32SearchPath, InstallSubPath::IdeWin32 };
constexpr PathRow DelphiWin64   = { pathlists::DelphiWin64SearchPath, InstallSubPath::IdeWin64 };

// Where the path rows stand: before the 64-bit build, inside it (they are
// skipped with it when the IDE has no 64-bit compiler), or after it.
struct PathPlan {
    ConstList<PathRow> Before64;
    ConstList<PathRow> With64;
    ConstList<PathRow> After64;
    bool SourceFolder;  // C++Builder: the "Source" folder goes into the library path
};

constexpr ConstList<PathRow> None = { nullptr, 0 };

const PathRow Bds2006Rows[] = { { pathlists::Bds2006CppSearchPath, InstallSubPath::IdeFolder } };
const PathRow Bds2007Rows[] = { CppSearch, CppLibrary };
const PathRow XERows[]      = { CppSearch, CppLibrary, DelphiSearch };
const PathRow XE2Rows[]     = { CppWin32, DelphiWin32, DelphiWin64 };
const PathRow XE4Rows[]     = { CppWin32, CppWin64, DelphiWin32, DelphiWin64 };
const PathRow XE6Rows[]     = { CppWin32, DelphiWin32, DelphiWin64, CppWin64 };
const PathRow Win64Rows[]   = { DelphiWin64, CppWin64 };
const PathRow XE101After[]  = { CppWin32, DelphiWin32 };
const PathRow XE102Before[] = { DelphiWin32, CppWin32 };
// The Modern C++ toolchain's lists, extended when the IDE has made them.
const PathRow Win64xRows[]  = { { pathlists::DelphiWin64xSearchPath, InstallSubPath::IdeWin64x },
                                { pathlists::CppWin64xLibraryPath,   InstallSubPath::IdeWin64x } };

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

const PathPlan& PlanOf(PathPlanId id) {
    switch (id) {
    case PathPlanId::None:         return NoPathRows;
    case PathPlanId::SourceFolder: return SourcePath;
    case PathPlanId::Bds2006:      return Bds2006Paths;
    case PathPlanId::Bds2007:      return Bds2007Paths;
    case PathPlanId::XE:           return XEPaths;
    case PathPlanId::XE2:          return XE2Paths;
    case PathPlanId::XE4:          return XE4Paths;
    case PathPlanId::XE6:          return XE6Paths;
    case PathPlanId::XE101:        return XE101Paths;
    case PathPlanId::XE102:        return XE102Paths;
    }
    return NoPathRows;
}

// ---- WinHelp entries of the older IDEs -------------------------------------

using help::IndexLine;
using help::LinkLine;

struct HelpLine {
    uint32_t File;  // 1..3: which of the IDE's help-configuration files
    const wchar_t* Line;
};

const HelpLine Delphi3Lines[]   = { { 1, IndexLine }, { 1, LinkLine } };
const HelpLine Delphi4Lines[]   = { { 1, IndexLine }, { 1, LinkLine }, { 2, IndexLine }, { 3, LinkLine } };
const HelpLine CBuilder4Lines[] = { { 1, LinkLine }, { 2, IndexLine }, { 3, LinkLine } };
const HelpLine TwoFileLines[]   = { { 1, IndexLine }, { 2, LinkLine } };

ConstList<HelpLine> LinesOf(WinHelpLines id) {
    switch (id) {
    case WinHelpLines::None:      return { nullptr, 0 };
    case WinHelpLines::Delphi3:   return List(Delphi3Lines);
    case WinHelpLines::Delphi4:   return List(Delphi4Lines);
    case WinHelpLines::CBuilder4: return List(CBuilder4Lines);
    case WinHelpLines::TwoFiles:  return List(TwoFileLines);
    }
    return { nullptr, 0 };
}

// ---- Expanding a block into rows -------------------------------------------

std::wstring PackageName(const IdeVersion& ide, PackageRole p) {
    return (p == PackageRole::Design ? packages::DesignPrefix : packages::RuntimePrefix) +
           std::wstring(ide.Suffix ? ide.Suffix : L"");
}

// The name of the package the compiler builds from a project: the project's,
// or for projects with the automatic suffix that name with "$(Auto)" in it.
std::wstring BuiltName(const IdeVersion& ide, PackageRole p) {
    return PackageName(ide, p) + (ide.Suffix ? L"" : packages::AutoSuffix);
}

void AddPaths(ScriptBuilder& s, const ConstList<PathRow>& rows);

// The Modern C++ toolchain's build: the run-time package once more, its COFF
// import library and static library into the package folder's "Win64x", which
// goes into the Win64x lists. Design packages are not built for it: no IDE
// loads them.
void AddModernBuild(ScriptBuilder& s, const IdeVersion& ide, const std::wstring& folder, const std::wstring& project) {
    const std::wstring win64x = folder + L"\\Win64x\\" + PackageName(ide, PackageRole::Runtime);
    s.IfModernCpp(ide.Win64Guard);
    s.CreateDir(folder + L"\\Win64x", LocationCode::Install, RowFlag::Undo);
    s.CompilePackage(project, ide.InternalId.Bits(), 2);
    s.CheckFile(win64x + L".bpi", LocationCode::Install);
    s.CheckFile(win64x + L".lib", LocationCode::Install);
    AddPaths(s, List(Win64xRows));
    s.EndIfModernCpp(ide.Win64Guard);
}

std::wstring ProjectFileName(const IdeVersion& ide, const ProjectFile& f) {
    return f.FixedName ? std::wstring(f.FixedName) : PackageName(ide, f.Package) + f.Ext;
}

void AddPaths(ScriptBuilder& s, const ConstList<PathRow>& rows) {
    for (const PathRow& p : rows) s.AddIdePath(p.KeyAndValue, p.Base, RowFlag::Undo);
}

void AddWinHelp(ScriptBuilder& s, const IdeVersion& ide) {
    // The library's alias file comes with the help files only: the entries of
    // an IDE that merges it stand inside that item's guard.
    const bool onlyWithHelpFiles = ide.AliasFile != 0;
    if (onlyWithHelpFiles) s.IfItem(ItemBit::HelpFiles);
    for (const HelpLine& l : LinesOf(ide.HelpLines)) s.AppendText(l.Line, l.File, LocationCode::IdeHelp, RowFlag::Undo);
    if (ide.AliasFile)
        s.MergeFiles(L"Help\\qvlib.als", LocationCode::Install, ide.HelpStr[ide.AliasFile - 1], LocationCode::IdeHelp);
    s.DeleteFileAt(L"Help\\" + std::wstring(ide.IndexCache), LocationCode::IdeRoot, RowFlag::Undo);
    if (onlyWithHelpFiles) s.EndIfItem(ItemBit::HelpFiles);
}

void AddIdeBlock(ScriptBuilder& s, IdeIndex index) {
    const IdeVersion& ide = IdeOf(index);
    const ProjectLayout& layout = LayoutOf(ide.Layout);
    const PathPlan& paths = PlanOf(ide.Paths);
    const std::wstring folder = ide.Folder;
    const uint32_t ideIndex = static_cast<uint32_t>(index.Value);
    const uint32_t ideBit = ide.InternalId.Bits();
    const uint64_t item = ide.Item.Bits();
    const std::wstring runtime = PackageName(ide, PackageRole::Runtime);
    const std::wstring design = PackageName(ide, PackageRole::Design);
    const std::wstring runtimeBuilt = BuiltName(ide, PackageRole::Runtime) + layout.PackageExt;
    const std::wstring designBuilt = BuiltName(ide, PackageRole::Design) + layout.PackageExt;
    const std::wstring out32 = layout.PlatformDirs ? folder + L"\\Win32" : folder;
    const std::wstring runtimePackage = out32 + L"\\" + runtimeBuilt;
    const std::wstring designPackage = out32 + L"\\" + designBuilt;

    s.IfItem(item);
    s.SetIde(folder, ideIndex, RowFlag::Undo);

    // The package folder starts empty, so nothing of an older build is left over.
    s.CreateDir(folder, LocationCode::Install, RowFlag::Undo);
    s.ClearDir(folder, LocationCode::Install);
    if (layout.PlatformDirs) {
        s.CreateDir(folder + L"\\Win32", LocationCode::Install, RowFlag::Undo);
        s.CreateDir(folder + L"\\Win64", LocationCode::Install, RowFlag::Undo);
    }
    for (const ProjectFile& f : layout.Files)
        s.ExtractFile(folder + L"\\" + ProjectFileName(ide, f), ide.PayloadBase + f.Offset, LocationCode::Install);
    if (layout.CarriesSources) {
        s.CopyFileTo(L"Source\\qvTessel.inc", LocationCode::Install, Delphi3Include, LocationCode::Install);
        for (const LibraryFile& f : LibrarySources)
            if (f.AlsoForDelphi3) s.ExtractFile(folder + L"\\" + f.Name, f.Id, LocationCode::Install);
    }

    // The compilers run in the package folder, beside their option files. The
    // run-time package is copied, under its own name, where the IDE loads it.
    s.SetCurrentDir(folder, LocationCode::Install);
    s.CompilePackage(runtime + layout.ProjectExt, ideBit, 0);
    s.CheckFile(runtimePackage, LocationCode::Install);
    s.CopyFileTo(runtimePackage, LocationCode::Install, runtimeBuilt, ide.CopyTo);

    s.CompilePackage(design + layout.ProjectExt, ideBit, 0);
    s.CheckFile(designPackage, LocationCode::Install);
    s.RegisterPackage(designPackage, LocationCode::Install, RowFlag::Undo);

    AddPaths(s, paths.Before64);
    if (layout.PlatformDirs) {
        const std::wstring package64 = folder + L"\\Win64\\" + runtimeBuilt;
        if (ide.Win64Guard) s.IfFileExists(L"bin\\dcc64.exe", LocationCode::IdeRoot, ide.Win64Guard);
        s.CompilePackage(runtime + layout.ProjectExt, ideBit, 1);
        s.CheckFile(package64, LocationCode::Install);
        if (ide.CopyTo64 != LocationCode::None)
            s.CopyFileTo(package64, LocationCode::Install, runtimeBuilt, ide.CopyTo64);
        AddPaths(s, paths.With64);
        if (ide.Can64BitIde) {
            // The 64-bit IDE loads only Win64 design-time packages, from a list of its own.
            const std::wstring design64 = folder + L"\\Win64\\" + designBuilt;
            s.If64BitIde(ide.Win64Guard);
            s.CompilePackage(design + layout.ProjectExt, ideBit, 1);
            s.CheckFile(design64, LocationCode::Install);
            s.RegisterPackageFor64BitIde(design64, LocationCode::Install, RowFlag::Undo);
            s.EndIf64BitIde(ide.Win64Guard);
        }
        if (CanHaveModernCpp(ide)) AddModernBuild(s, ide, folder, runtime + layout.ProjectExt);
        if (ide.Win64Guard) s.EndIfFileExists(ide.Win64Guard);
    }

    if (layout.HeadersToSource) {
        // The compiler wrote the C++ headers into "Source\"; they belong to this IDE.
        s.CopyFiles(L"Source\\*.hpp", LocationCode::Install, folder + L"\\*.hpp", LocationCode::Install);
        s.DeleteFiles(L"Source\\*.hpp", LocationCode::Install);
    }
    AddPaths(s, paths.After64);
    if (paths.SourceFolder) s.AddSearchPath(L"Source", LocationCode::Install, RowFlag::Undo);
    if (ide.HelpLines != WinHelpLines::None) AddWinHelp(s, ide);

    // Selecting the IDE again lets the uninstaller, which reads backwards,
    // meet the IDE before the block's own records.
    s.SetIde(folder, ideIndex, RowFlag::Undo);
    s.EndIfItem(item);
}

}  // namespace

// The blocks keep the order in which they have always stood, since the rows
// and the undo logs follow it: first the IDEs whose 64-bit compiler (if any)
// is always there, the Delphi IDEs before the C++Builder ones, each oldest
// first; after the demos those whose 64-bit compiler is optional (from XE10.1
// on), oldest first.
void AddIdeBlocksUpToCBuilder6(ScriptBuilder& s) {
    for (const bool delphi : {true, false})
        for (int i = 1; i <= IdeCount; ++i) {
            const IdeVersion& ide = IdeTable[i];
            if (IsOffered(ide) && ide.Win64Guard == 0 && ide.IsDelphi == delphi) AddIdeBlock(s, IdeIndex(i));
        }
}

void AddIdeBlocksFromXE101(ScriptBuilder& s) {
    for (int i = 1; i <= IdeCount; ++i)
        if (IsOffered(IdeTable[i]) && IdeTable[i].Win64Guard != 0) AddIdeBlock(s, IdeIndex(i));
}

// clang-format on
}  // namespace tessel::script
