// IDE rows: package compilation with the IDE's command-line tools, package
// registration and the IDE's library and C++ path lists (per user).
#include "script/actions/PackageActions.h"

#include "common/Handles.h"
#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathList.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "script/actions/ActionLogic.h"
#include "script/actions/CompilerOutput.h"
#include "script/actions/ManualBuild.h"
#include "script/runner/InstallContext.h"
#include "script/manifest/Manifest.h"

namespace tessel::script {

using namespace tessel::common;

namespace {

// The end of every path row once "Adding search path: <folder>" is logged: "...Already"
// when one whole entry of the list is the folder (case-blind, the rule the uninstall
// removes it by), otherwise append it, write the list back and, when asked, request
// the IDE to reload its options; then "...Success".
ActionResult AddFolderToList(const IdeVersion& ide, const std::wstring& key, const std::wstring& name,
                             const std::wstring& list, const std::wstring& folder, bool requestReload,
                             ActionContext& ctx) {
    if (HasPathListEntry(LowerWide(list), LowerWide(folder))) {
        ctx.LogText += LogEnding::Already;
        return ActionResult();
    }
    if (WriteRegString(HKEY_CURRENT_USER, key, name, AppendPathListEntry(list, folder)) != 0)
        return PathListFailure::ListUnwritable;
    if (requestReload &&
        WriteRegString(HKEY_CURRENT_USER, std::wstring(ide.RegKey) + GlobalsKey, L"ForceEnvOptionsUpdate", L"1") != 0)
        return PathListFailure::ReloadNotRequested;
    ctx.LogText += LogEnding::Success;
    return ActionResult();
}

}  // namespace

ActionResult DoCompilePackage(const ScriptRow& row, ActionContext& ctx) {
    if (row.Param == 0) return CompileFailure::NoIdeBit;
    const IdeIndex index = LowestIdeOf(IdeMask(row.Param));
    if (!index.IsValid()) return CompileFailure::IdeBeyondTable;
    const IdeVersion& ide = IdeOf(index);
    const std::wstring project = Str(row.Text);
    const wchar_t* toolName = !ide.IsDelphi ? L"make.exe" : (row.Options == 1 ? L"dcc64.exe" : L"dcc32.exe");
    const std::wstring tool = FoundOf(ctx.Install->Ides, index).RootDir + L"\\bin\\" + toolName;
    if (!PathExists(tool)) {
        ctx.LogText = std::wstring(L"Compiling package, cannot find ") + toolName + L": " + project + LogEnding::Fail;
        if (!ide.IsDelphi) return CompileFailure::NoMake;
        return CompileFailure::NoDelphiCompiler;
    }
    // The program path is quoted: an IDE below "C:\Program Files (x86)" would
    // otherwise be split at the first blank.
    const std::wstring line = CompileCommandLine(tool, !ide.IsDelphi, project);

    CompileReport& report = ctx.Install->LastCompile;
    if (const DWORD error = RunCompilerCaptured(line, ctx.Install->StartFolder(), ctx.Install->Location.InstallDir,
                                                ctx.Install->CompileTimeoutMs, report))
        return ActionResult::FromWin32(error);
    report.Tool = toolName;
    if (report.Finished && RefusesCommandLineCompiling(report.Lines)) {
        // An edition without command-line compiling: the IDE's remaining package
        // rows are passed over, and the user builds the packages in the IDE.
        ctx.Install->ManualBuildIdeMask |= ide.InternalId;
        ctx.LogText = L"Compiling package: " + project + LogEnding::Skipped + L". " + ManualBuildReason(index);
        return ActionResult();
    }
    ctx.LogText = L"Compiling package: " + project + LogEnding::Success;
    return ActionResult();
}

ActionResult DoRegisterPackage(const ScriptRow& row, ActionContext& ctx) {
    const common::LocationContext& at = ctx.Install->Location;
    const IdeIndex ideIndex = at.CurrentIde;
    if (!ideIndex.IsValid()) return PathListFailure::PackageNotRegistered;
    const IdeVersion& ide = IdeOf(ideIndex);
    const std::wstring package = ResolvePath(at, row.Location, Str(row.Text));
    if (WriteRegString(HKEY_CURRENT_USER, std::wstring(ide.RegKey) + KnownPackagesKeyFor(row.Param), package,
                       std::wstring(ProductName) + L" v" + ProductVersion) != 0)
        return PathListFailure::PackageNotRegistered;
    ctx.LogText = L"Registering package: " + package + LogEnding::Success;
    const std::wstring key = LibraryKeyFor(ide, (row.Options & 2u) != 0);
    const std::wstring name = SearchPathValueName(ideIndex);
    std::wstring list;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, list) != 0) return PathListFailure::ListUnreadable;
    const std::wstring folder = FolderOfPath(package);
    ctx.LogText += L"\r\nAdding search path: " + folder;
    // RAD Studio 2007, 2009 and 2010 reload their options only when asked to.
    return AddFolderToList(ide, key, name, list, folder, ideIndex.Value >= 12 && ideIndex.Value <= 14, ctx);
}

ActionResult DoAddSearchPath(const ScriptRow& row, ActionContext& ctx) {
    const common::LocationContext& at = ctx.Install->Location;
    const IdeIndex ideIndex = at.CurrentIde;
    // Options bit 0: a list that is not there is no failure.
    const ActionResult noList = (row.Options & 1u) ? ActionResult() : PathListFailure::ListUnreadable;
    if (!ideIndex.IsValid()) return noList;
    const IdeVersion& ide = IdeOf(ideIndex);
    const std::wstring folder = ResolvePath(at, row.Location, Str(row.Text));
    std::wstring key, name;
    if (row.Text2 && *row.Text2 && row.Text3 && *row.Text3) {
        key = std::wstring(ide.RegKey) + L"\\" + row.Text2;
        name = row.Text3;
    } else {
        key = LibraryKeyFor(ide, (row.Options & 2u) != 0);
        name = SearchPathValueName(ideIndex);
    }
    std::wstring list;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, list) != 0) return noList;
    ctx.LogText = L"Adding search path: " + folder;
    return AddFolderToList(ide, key, name, list, folder, false, ctx);
}

ActionResult DoAddIdePath(const ScriptRow& row, ActionContext& ctx) {
    const common::LocationContext& at = ctx.Install->Location;
    const IdeIndex ideIndex = at.CurrentIde;
    // Nothing to extend is no failure: the IDE has not made the list yet.
    if (!ideIndex.IsValid()) return ActionResult();
    std::wstring key, name;
    if (!SplitRegValuePath(std::wstring(IdeOf(ideIndex).RegKey) + Str(row.Text), key, name)) return ActionResult();
    const std::wstring folder = GetInstallSubPath(at, row.Param);
    std::wstring list;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, list) != 0) return ActionResult();
    ctx.LogText = L"Adding search path: " + folder;
    return AddFolderToList(IdeOf(ideIndex), key, name, list, folder, false, ctx);
}

}  // namespace tessel::script
