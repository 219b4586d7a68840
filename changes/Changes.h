// The hand-over of a row or a record to the module of its kind
// (common/RowKinds.h): the runner applies and records rows through here,
// the uninstall engine undoes records through here.
#pragma once
#include <windows.h>
#include <string>
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordCheck.h"
#include "common/IdeDiscovery.h"
#include "common/Locations.h"
#include "common/UndoLogFormat.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes {

// Makes the row's change. Control rows (ChangeModule::None) change nothing here.
ActionResult ApplyChange(const script::ScriptRow& row, ChangeContext& ctx);
// The row's undo records before its change; 0 or the Win32 error that kept
// one from the log (the change is then not made).
[[nodiscard]] DWORD RecordChange(const script::ScriptRow& row, ChangeContext& ctx);
// The records that only the change itself could tell (the files a copy
// wrote into a folder that existed before); 0 or the Win32 error.
[[nodiscard]] DWORD RecordWrittenFiles(ChangeContext& ctx);

// The scope of a walk over the log logFile, whose information gave installDir
// and productIntName: whether the install folder is the log's own folder,
// compared as full, long, lower-cased paths.
UndoScope MakeUndoScope(const std::wstring& logFile, const std::wstring& installDir,
                        const std::wstring& productIntName);

// Reverses one record whose text is already decoded, resolving its paths against
// at (an IDE selection record makes one of ides the context's IDE for the
// records after it). A record that an install of the product cannot have
// written (IsUndoableRecord) is not undone and fails with ERROR_INVALID_DATA.
// 0, or the Win32 error of the step that failed.
// An IDE selection record (SetIde, SetIdeProfile) already judged undoable:
// makes its IDE, package folder and profile the context's. Other records: nothing.
void SelectRecordedIde(common::LocationContext& at, const common::InstalledIdes& ides, const common::UndoRecord& rec,
                       const std::wstring& text);

DWORD UndoChange(common::LocationContext& at, const common::InstalledIdes& ides, const common::UndoRecord& rec,
                 const std::wstring& text, const UndoScope& scope);

}  // namespace tessel::changes
