// The ordinary record of a row, and the resolution of records on this machine.
#include "changes/RecordPaths.h"
#include "changes/ChangeContext.h"
#include "common/UndoLog.h"
#include "common/UndoRules.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes {

using namespace tessel::common;

DWORD WriteRowRecord(const script::ScriptRow& row, uint32_t param, ChangeContext& ctx) {
    return WriteUndoRecord(ctx.Run.UndoLog, row.Word0, param, StoredLocation(row.Location), script::Str(row.Text));
}

IdeRecord IdeRecordOf(const script::ScriptRow& row, const InstallPlan& plan) {
    const IdeIndex ide(static_cast<int>(row.Param));
    const uint32_t version = IsNewerIdeSlot(ide) ? FoundOf(plan.Ides, ide).BdsVersion : 0;
    if (plan.Profile.empty()) return IdeRecord{row.Word0, row.Param, version, script::Str(row.Text)};
    // The profile goes with the IDE into a record of its own kind (common/RowKinds.h).
    return IdeRecord{RowKind::SetIdeProfile | FlagsOf(row.Word0), row.Param, version,
                     script::Str(row.Text) + L"\\" + plan.Profile};
}

DWORD WriteIdeRecord(const script::ScriptRow& row, ChangeContext& ctx) {
    const IdeRecord record = IdeRecordOf(row, ctx.Plan);
    return WriteUndoRecord(ctx.Run.UndoLog, record.Word0, record.Param, record.Location, record.Text);
}

bool IsNotThere(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

std::wstring RecordPath(const LocationContext& at, uint32_t location, const std::wstring& text) {
    std::wstring path = ResolvePath(at, LocationCodeFrom(location), text);
    return IsFullPath(path) ? path : std::wstring();
}

DWORD HoldRecordFolders(const LocationContext& at, const UndoRecord& rec, const std::wstring& text,
                        HeldFolders& held) {
    return held.Hold(GetLocationPath(at, LocationCodeFrom(rec.Location)), text, HeldFolders::Reach::Parent);
}

}  // namespace tessel::changes
