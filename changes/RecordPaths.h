// What the modules share when they record a row and when they resolve a
// record on this machine: the ordinary record of a row, the paths a record
// names, and the holding of its folders against links.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/Files.h"
#include "common/Locations.h"
#include "common/UndoLogFormat.h"
#include "changes/InstallPlan.h"
#include "changes/RunUndoLog.h"

namespace tessel::script {
struct ScriptRow;
}

namespace tessel::changes {

struct ChangeContext;

// The ordinary undo record of a row flagged RowFlag::Undo: its first word,
// param, Location and Text unresolved. 0 or the Win32 error of the write.
[[nodiscard]] DWORD WriteRowRecord(const script::ScriptRow& row, uint32_t param, ChangeContext& ctx);

// The record of an IDE selection row: the row's, and for the newer IDE its
// version (the one discovery found) in the Location field, so that the
// uninstall finds the same "BDS\<N>.0" without knowing the version beforehand.
// In an install with a registry profile, a SetIdeProfile record that names the
// profile after the folder.
[[nodiscard]] DWORD WriteIdeRecord(const script::ScriptRow& row, ChangeContext& ctx);
// That record's fields, for the run's plan (also the lanes' own IDE records).
IdeRecord IdeRecordOf(const script::ScriptRow& row, const InstallPlan& plan);

// Errors that mean the thing to remove is not there (any more).
bool IsNotThere(DWORD error);

// The full path of a record's location and text; empty when it does not resolve
// to a full path on this machine.
std::wstring RecordPath(const common::LocationContext& at, uint32_t location, const std::wstring& text);

// Holds the folders of a record's path from its location's folder down (see
// HeldFolders): 0 when none of them is a link, the refusal otherwise.
[[nodiscard]] DWORD HoldRecordFolders(const common::LocationContext& at, const common::UndoRecord& rec,
                                      const std::wstring& text, common::HeldFolders& held);

}  // namespace tessel::changes
