// The hand-over of rows and records to their modules. Everything an undo does
// runs on the user's machine against real files and registry data, so every
// module checks its inputs first and does nothing when a path or key cannot be
// resolved: a step that finds nothing to do is not a failure.
#include "changes/Changes.h"

#include "changes/RecordPaths.h"
#include "changes/files/FileChanges.h"
#include "changes/help/HelpChanges.h"
#include "changes/packages/PackageChanges.h"
#include "changes/pathlists/PathListChanges.h"
#include "changes/registry/RegistryKeyChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/TextConversion.h"
#include "common/UndoRules.h"

namespace tessel::changes {

using namespace tessel::common;

namespace {

// path with its short names spelt out; path itself when that fails.
std::wstring LongPath(const std::wstring& path) {
    const DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return path;
    std::wstring buf(n, L'\0');
    const DWORD got = GetLongPathNameW(path.c_str(), &buf[0], n);
    if (got == 0 || got >= n) return path;
    buf.resize(got);
    return buf;
}

// The full, long form of a path that may be relative; empty when it has none.
std::wstring FullLongPath(const std::wstring& path) {
    if (path.empty()) return path;
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return std::wstring();
    std::wstring buf(n, L'\0');
    const DWORD got = GetFullPathNameW(path.c_str(), n, &buf[0], nullptr);
    if (got == 0 || got >= n) return std::wstring();
    buf.resize(got);
    return LongPath(buf);
}

}  // namespace

ActionResult ApplyChange(const script::ScriptRow& row, ChangeContext& ctx) {
    switch (Describe(row.Kind()).Module) {
    case ChangeModule::Files: return files::Apply(row, ctx);
    case ChangeModule::Packages: return packages::Apply(row, ctx);
    case ChangeModule::PathLists: return pathlists::Apply(row, ctx);
    case ChangeModule::HelpLines: return help::Apply(row, ctx);
    case ChangeModule::RegistryKeys: return registry::Apply(row, ctx);
    case ChangeModule::UninstallEntry: return uninstall_entry::Apply(row, ctx);
    case ChangeModule::None: break;
    }
    return ActionResult();
}

DWORD RecordChange(const script::ScriptRow& row, ChangeContext& ctx) {
    // The files module has records of its own making; every other kind's
    // record is the row as it stands.
    if (Describe(row.Kind()).Module == ChangeModule::Files) return files::Record(row, ctx);
    return row.HasFlag(RowFlag::Undo) ? WriteRowRecord(row, row.Param, ctx) : 0;
}

DWORD RecordWrittenFiles(ChangeContext& ctx) { return files::RecordWritten(ctx); }

UndoScope MakeUndoScope(const std::wstring& logFile, const std::wstring& installDir,
                        const std::wstring& productIntName) {
    UndoScope scope;
    scope.ProductIntName = productIntName;
    const std::wstring logFolder = FolderOfPath(FullLongPath(logFile));
    // The install folder as the log names it must already be a full path: it
    // is what every record is resolved against, so it is compared as it stands
    // apart from case, spelling (short names) and trailing separators.
    scope.InstallDirHoldsLog =
        IsFullPath(installDir) && IsSameFolder(LowerWide(LongPath(installDir)), LowerWide(logFolder));
    return scope;
}

void SelectRecordedIde(LocationContext& at, const InstalledIdes& ides, const UndoRecord& rec,
                       const std::wstring& text) {
    const IdeIndex index(static_cast<int>(rec.Param));
    std::wstring folder = text, profile;
    if (rec.Kind() == RowKind::SetIdeProfile && !SplitProfileSelection(text, folder, profile)) return;
    if (rec.Kind() != RowKind::SetIde && rec.Kind() != RowKind::SetIdeProfile) return;
    SelectIde(at, ides, index, folder, rec.Location);
    at.Profile = profile;
}

DWORD UndoChange(LocationContext& at, const InstalledIdes& ides, const UndoRecord& rec, const std::wstring& text,
                 const UndoScope& scope) {
    if (!IsUndoableRecord(rec, text, scope)) return ERROR_INVALID_DATA;
    switch (Describe(rec.Kind()).Module) {
    case ChangeModule::Files: return files::Undo(at, rec, text);
    case ChangeModule::Packages: return packages::Undo(at, rec, text);
    case ChangeModule::PathLists: return pathlists::Undo(at, rec, text);
    case ChangeModule::HelpLines: return help::Undo(at, rec, text);
    case ChangeModule::RegistryKeys: return registry::Undo(rec, text);
    case ChangeModule::UninstallEntry: return uninstall_entry::Undo(scope.ProductIntName);
    case ChangeModule::None: break;
    }
    // The walk's own record: later records are resolved for this IDE.
    SelectRecordedIde(at, ides, rec, text);
    return 0;
}

}  // namespace tessel::changes
