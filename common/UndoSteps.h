// The undo step of each record kind: what the uninstall engine does to reverse
// one recorded change on this machine.
#pragma once
#include <windows.h>
#include <string>
#include "common/IdeDiscovery.h"
#include "common/Locations.h"
#include "common/UndoLogFormat.h"
#include "common/UndoRecordCheck.h"

namespace tessel::common {

// Bit 0 of a folder record's Param: the folder existed before the install,
// so only what the install wrote into it is removed, never the user's files.
constexpr uint32_t DirExistedBefore = 1;

// True when the undo log's bytes hold the record of a folder row for the
// install folder itself (no text) that the install created: not marked as a
// folder that existed before. A damaged record ends the search.
bool LogCreatedInstallFolder(const std::string& logBytes);

// The scope of a walk over the log logFile, whose information gave installDir
// and productIntName: whether the install folder is the log's own folder,
// compared as full, long, lower-cased paths.
UndoScope MakeUndoScope(const std::wstring& logFile, const std::wstring& installDir,
                        const std::wstring& productIntName);

// Reverses one record whose text is already decoded, resolving its paths against
// context (an IDE selection record makes one of ides the context's IDE for the
// records after it). A record that an install of the product cannot have
// written (IsUndoableRecord) is not undone and fails with ERROR_INVALID_DATA.
// 0, or the Win32 error of the step that failed.
DWORD UndoRecordStep(LocationContext& context, const InstalledIdes& ides, const UndoRecord& rec,
                     const std::wstring& text, const UndoScope& scope);

// Takes folder out of the ";"-separated list held by the current user's
// registry value key/name, as a whole entry (PathList.h), and writes the list
// back. 0 when the folder is off the list (the value or the entry was not
// there); ERROR_CANTWRITE when the shortened list could not be written.
DWORD RemoveFromRegPathList(const std::wstring& key, const std::wstring& name, const std::wstring& folder);

}  // namespace tessel::common
