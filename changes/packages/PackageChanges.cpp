// Packages: compiling with the IDE's command-line tools, checking what the
// compiler built, and registering the design-time packages.
#include "changes/packages/PackageChanges.h"

#include <cwchar>

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
#include "common/DirectoryListing.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::packages {

using namespace tessel::common;

namespace {

const wchar_t* CompilerName(const IdeVersion& ide, const ScriptRow& row) {
    return !ide.IsDelphi ? L"make.exe" : (row.Options != 0 ? L"dcc64.exe" : L"dcc32.exe");
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
    std::wstring line = CompileCommandLine(tool, !ide.IsDelphi, project);
    if (row.Options == 2) line += std::wstring(L" ") + ModernCompileOptions;
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

namespace {

// The check of a file named with "$(Auto)" before the suffix is known: the one
// file of that shape in its folder tells the suffix.
void LearnAutoSuffix(const std::wstring& pattern, ChangeContext& ctx) {
    const size_t token = pattern.find(AutoSuffix);
    const size_t slash = pattern.rfind(L'\\', token);
    if (token == std::wstring::npos || slash == std::wstring::npos) return;
    const std::wstring before = pattern.substr(slash + 1, token - slash - 1);
    const std::wstring after = pattern.substr(token + std::wcslen(AutoSuffix));
    if (after.find(L'\\') != std::wstring::npos) return;
    std::vector<std::wstring> names;
    DirectoryListing listing;
    if (listing.Open(pattern.substr(0, slash + 1) + before + L"*" + after) == 0)
        for (DirectoryEntry entry; listing.Next(entry) == 0;)
            if (!entry.IsFolder()) names.push_back(entry.Name);
    std::wstring suffix;
    if (FindAutoSuffix(names, before, after, suffix)) ctx.Run.PackageSuffix = suffix;
}

}  // namespace

bool FindAutoSuffix(const std::vector<std::wstring>& names, const std::wstring& before, const std::wstring& after,
                    std::wstring& suffix) {
    int found = 0;
    const std::wstring beforeLower = AsciiLower(before), afterLower = AsciiLower(after);
    for (const std::wstring& name : names) {
        const std::wstring lower = AsciiLower(name);
        if (lower.size() <= before.size() + after.size() || lower.compare(0, before.size(), beforeLower) != 0 ||
            lower.compare(lower.size() - after.size(), after.size(), afterLower) != 0)
            continue;
        const std::wstring digits = name.substr(before.size(), name.size() - before.size() - after.size());
        if (digits.size() > 4 || digits.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        suffix = digits;
        ++found;
    }
    if (found != 1) suffix.clear();
    return found == 1;
}

std::wstring WithAutoSuffix(const std::wstring& text, const std::wstring& suffix) {
    std::wstring out = text;
    const size_t length = std::wcslen(AutoSuffix);
    for (size_t at = out.find(AutoSuffix); at != std::wstring::npos; at = out.find(AutoSuffix, at + suffix.size()))
        out.replace(at, length, suffix);
    return out;
}

bool NamesAutoSuffix(const ScriptRow& row) {
    for (const wchar_t* text : {row.Text, row.Text2, row.Text3, row.Target ? row.Target->FileName : nullptr})
        if (text && std::wcsstr(text, AutoSuffix)) return true;
    return false;
}

RowWithSuffix::RowWithSuffix(const ScriptRow& row, const std::wstring& suffix) : row_(row) {
    auto put = [&suffix](const wchar_t* text, std::wstring& owned) -> const wchar_t* {
        if (!text) return nullptr;
        owned = WithAutoSuffix(text, suffix);
        return owned.c_str();
    };
    row_.Text = put(row.Text, text_);
    row_.Text2 = put(row.Text2, text2_);
    row_.Text3 = put(row.Text3, text3_);
    if (row.Target) {
        target_ = *row.Target;
        target_.FileName = put(row.Target->FileName, targetName_);
        row_.Target = &target_;
    }
}

ActionResult Check(const ScriptRow& row, ChangeContext& ctx) {
    std::wstring path = ResolvePath(ctx.Run.Location, row.Location, Str(row.Text));
    if (path.find(AutoSuffix) != std::wstring::npos) {
        if (ctx.Run.PackageSuffix.empty()) LearnAutoSuffix(path, ctx);
        // Unlearnt, the name stays as it is and names no file.
        if (!ctx.Run.PackageSuffix.empty()) path = WithAutoSuffix(path, ctx.Run.PackageSuffix);
    }
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
    const std::wstring userKey = UserKeyOf(at);
    if (userKey.empty()) return PathListFailure::PackageNotRegistered;
    if (WriteRegString(HKEY_CURRENT_USER, userKey + KnownPackagesKeyFor(row.Param), package,
                       std::wstring(ProductName) + L" v" + ProductVersion) != 0)
        return PathListFailure::PackageNotRegistered;
    ctx.LogText = L"Registering package: " + package + LogEnding::Success;
    const std::wstring key = LibraryKeyFor(ide, userKey, (row.Options & 2u) != 0);
    const std::wstring name = SearchPathValueName(ideIndex);
    std::wstring list;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, list) != 0) return PathListFailure::ListUnreadable;
    const std::wstring folder = FolderOfPath(package);
    ctx.LogText += L"\r\nAdding search path: " + folder;
    // RAD Studio 2007, 2009 and 2010 reload their options only when asked to.
    return pathlists::AddFolderToList(userKey, key, name, list, folder, ideIndex.Value >= 12 && ideIndex.Value <= 14,
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
    if (rec.Kind() != RowKind::RegisterPackage || !at.CurrentIde.IsValid() || at.IdeKey.empty()) return 0;
    const std::wstring path = RecordPath(at, rec.Location, text);
    if (path.empty()) return 0;
    DWORD error =
        DeleteRegValue(HKEY_CURRENT_USER, UserKeyOf(at) + KnownPackagesKeyFor(rec.Param), path);
    if (IsNotThere(error)) error = 0;
    const DWORD pathError = pathlists::RemoveFromLibraryPaths(at, FolderOfPath(path));
    return error != 0 ? error : pathError;
}

}  // namespace tessel::changes::packages
