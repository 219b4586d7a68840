// Packages: compiling with the IDE's command-line tools, checking what the
// compiler built, and registering the design-time packages.
#include "changes/packages/PackageChanges.h"

#include "changes/ActionLogic.h"
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordPaths.h"
#include "changes/packages/CompilerOutput.h"
#include "changes/packages/ManualBuild.h"
#include "changes/pathlists/PathListChanges.h"
#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/Product.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::packages {

using namespace tessel::common;

namespace {

const wchar_t* CompilerName(const IdeVersion& ide, const ScriptRow& row) {
    return !ide.IsDelphi ? L"make.exe" : (row.Options == 1 ? L"dcc64.exe" : L"dcc32.exe");
}

}  // namespace

ActionResult StartCompile(const ScriptRow& row, ChangeContext& ctx, RunningCompiler& running) {
    running = RunningCompiler();
    if (row.Param == 0) return CompileFailure::NoIdeBit;
    const IdeIndex index = LowestIdeOf(IdeMask(row.Param));
    if (!index.IsValid()) return CompileFailure::IdeBeyondTable;
    const IdeVersion& ide = IdeOf(index);
    const std::wstring project = Str(row.Text);
    const wchar_t* toolName = CompilerName(ide, row);
    const std::wstring tool = FoundOf(ctx.Plan.Ides, index).RootDir + L"\\bin\\" + toolName;
    if (!PathExists(tool)) {
        ctx.LogText = std::wstring(L"Compiling package, cannot find ") + toolName + L": " + project + LogEnding::Fail;
        if (!ide.IsDelphi) return CompileFailure::NoMake;
        return CompileFailure::NoDelphiCompiler;
    }
    // The program path is quoted: an IDE below "C:\Program Files (x86)" would
    // otherwise be split at the first blank.
    const std::wstring line = CompileCommandLine(tool, !ide.IsDelphi, project);
    ctx.Run.LastCompile = CompileReport();
    if (const DWORD error = StartCompilerCaptured(line, ctx.Run.StartFolder(), ctx.Run.Location.InstallDir,
                                                  ctx.Plan.CompileTimeoutMs, running))
        return ActionResult::FromWin32(error);
    return ActionResult();
}

ActionResult FinishCompile(const ScriptRow& row, ChangeContext& ctx, RunningCompiler& running) {
    if (!running.Process) return ActionResult();
    const IdeIndex index = LowestIdeOf(IdeMask(row.Param));
    const IdeVersion& ide = IdeOf(index);
    const std::wstring project = Str(row.Text);
    CompileReport& report = ctx.Run.LastCompile;
    CollectCompiler(running, report);
    report.Tool = CompilerName(ide, row);
    if (report.Finished && RefusesCommandLineCompiling(report.Lines)) {
        // An edition without command-line compiling: the IDE's remaining package
        // rows are passed over, and the user builds the packages in the IDE.
        ctx.Run.ManualBuildIdeMask |= ide.InternalId;
        ctx.LogText = L"Compiling package: " + project + LogEnding::Skipped + L". " + ManualBuildReason(index);
        return ActionResult();
    }
    ctx.LogText = L"Compiling package: " + project + LogEnding::Success;
    return ActionResult();
}

namespace {

ActionResult Compile(const ScriptRow& row, ChangeContext& ctx) {
    RunningCompiler running;
    const ActionResult started = StartCompile(row, ctx, running);
    if (!running.Process) return started;
    (void)WaitForSingleObject(running.Process.get(), running.TimeoutMs);  // FinishCompile tells how it ended
    return FinishCompile(row, ctx, running);
}

// A check row follows each compile row and tells whether the package was
// built; the compiler's report belongs to that check alone. When the package
// is missing, the report goes under the row's line.
void ExplainMissingPackage(ActionResult result, ChangeContext& ctx) {
    CompileReport report = std::move(ctx.Run.LastCompile);
    ctx.Run.LastCompile = CompileReport();
    if (result.Succeeded() || !report.Ran) return;
    for (const std::wstring& line : ReportLines(report, ctx.Plan.CompileTimeoutMs))
        ctx.LogDetail.push_back(L"    " + line);
    ctx.FailureReason = FirstErrorText(report);
}

}  // namespace

ActionResult Check(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring path = ResolvePath(ctx.Run.Location, row.Location, Str(row.Text));
    const bool exists = PathExists(path);
    ctx.LogText = L"Check file: " + path + (exists ? LogEnding::Success : LogEnding::Fail);
    if (!exists) return CheckFailure::Missing;
    return ActionResult();
}

namespace {

ActionResult Register(const ScriptRow& row, ChangeContext& ctx) {
    const LocationContext& at = ctx.Run.Location;
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
    return pathlists::AddFolderToList(ide, key, name, list, folder, ideIndex.Value >= 12 && ideIndex.Value <= 14,
                                      ctx);
}

}  // namespace

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx) {
    switch (KindNumber(row.Kind())) {
    case KindNumber(RowKind::CompilePackage): return Compile(row, ctx);
    case KindNumber(RowKind::CheckFile): {
        ActionResult result = Check(row, ctx);
        ExplainMissingPackage(result, ctx);
        return result;
    }
    default: return Register(row, ctx);
    }
}

DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    if (rec.Kind() != RowKind::RegisterPackage || !at.CurrentIde.IsValid()) return 0;
    const std::wstring path = RecordPath(at, rec.Location, text);
    if (path.empty()) return 0;
    DWORD error =
        DeleteRegValue(HKEY_CURRENT_USER, std::wstring(IdeOf(at.CurrentIde).RegKey) + KnownPackagesKeyFor(rec.Param), path);
    if (IsNotThere(error)) error = 0;
    const DWORD pathError = pathlists::RemoveFromLibraryPaths(at.CurrentIde, FolderOfPath(path));
    return error != 0 ? error : pathError;
}

}  // namespace tessel::changes::packages
