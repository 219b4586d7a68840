// Files and folders: the folders the install creates, the payload files it
// extracts, the files it copies, merges, patches and deletes, the folder its
// later rows work in, and the programs it runs from there.
//
// Rows (T+L: Text relative to Location; T3+L2: Text3 relative to Location2):
// CreateDir           8001  T+L: the folder (empty Text: the location itself)
// ExtractFile         8002  T+L: target file; Param: payload id
// ExtractFileOnce     8010  as ExtractFile; a file already there is kept
// ExtractFileIfNewer  8011  as ExtractFile; only over an older version
// CopyOneFile         8014  T+L: source file; Target: destination
// DeleteOneFile       000B  T+L: the file
// CopyFiles           001A  T+L: source mask; T3+L2: destination mask
// DeleteFiles         001B  T+L: mask
// MergeFiles          001C  T+L: source file; T3+L2: destination file
// ReplaceText         001D  T+L: the file; Text2: text to find; Text3: replacement
// ClearDir            8005  T+L: the folder to empty
// SetCurrentDir       8007  T+L: the folder the later rows work in
// RunFile             0022  Text: program, relative to the working folder
//
// Records: a flagged row's record holds Param, Location and Text, except
// that a CopyOneFile record names its Target, and a CreateDir record's Param
// says whether the folder existed before (DirExistedBefore). A file written
// into a recorded folder that existed before gets an ExtractFile record of
// its own after the change (Param: its payload id, 0 for copies), so that an
// uninstall removes it and leaves the user's files. The undo of a folder
// record removes the folder the install created, or only an empty one that
// existed before; the undo of a file record deletes the file (never what a
// link leads to).
#pragma once
#include <vector>
#include "changes/Change.h"
#include "changes/help/HelpChanges.h"
#include "changes/packages/PackageChanges.h"
#include "changes/settings/SettingsFile.h"
#include "common/Handles.h"

namespace tessel::changes::files {

// Bit 0 of a folder record's Param: the folder existed before the install,
// so only what the install wrote into it is removed, never the user's files.
constexpr uint32_t DirExistedBefore = 1;

// What a file record may delete, by its location: below the install folder
// everything (when the log lies in it), in the Windows folder the settings
// file, in the shared package folders the library's run-time packages, below
// an IDE's root its WinHelp index cache.
inline bool IsProductFile(LocationCode location, const std::wstring& text, const UndoScope& scope) {
    if (!IsPlainRelativePath(text)) return false;
    const std::wstring lower = AsciiLower(text);
    switch (location) {
    case LocationCode::Install: return scope.InstallDirHoldsLog;
    case LocationCode::Windows: return settings::IsSettingsFile(text);
    case LocationCode::System:
    case LocationCode::Bpl:
    case LocationCode::Bpl64: return packages::IsRuntimePackageName(lower);
    case LocationCode::IdeRoot: return help::IsIndexCache(lower);
    case LocationCode::None:
    case LocationCode::IdeHelp:
    case LocationCode::Temp: return false;
    }
    return false;  // a number that names no location
}

inline bool Accepts(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope) {
    const LocationCode location = common::LocationCodeFrom(rec.Location);
    switch (KindNumber(rec.Kind())) {
    case KindNumber(RowKind::CreateDir):
        // The install's own folders; the empty text is the install folder itself.
        return location == LocationCode::Install && scope.InstallDirHoldsLog &&
               (text.empty() || IsPlainRelativePath(text));
    case KindNumber(RowKind::ExtractFile):
    case KindNumber(RowKind::ExtractFileOnce):
    case KindNumber(RowKind::CopyOneFile):
    case KindNumber(RowKind::DeleteOneFile): return IsProductFile(location, text, scope);
    default: return true;  // kinds whose records are not undone
    }
}

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
// The records a row needs before its change: its own, and for a folder row
// the ones that keep a folder which existed before. 0 or the Win32 error.
[[nodiscard]] DWORD Record(const ScriptRow& row, ChangeContext& ctx);
// After the change: the records of the files it wrote into a recorded folder
// that existed before. 0 or the Win32 error.
[[nodiscard]] DWORD RecordWritten(ChangeContext& ctx);
DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text);

// True when the undo log's bytes hold the record of a folder row for the
// install folder itself (no text) that the install created: not marked as a
// folder that existed before. A damaged record ends the search.
bool LogCreatedInstallFolder(const std::string& logBytes);

// Opens an existing file for reading and writing, unshared, and reads it
// whole (the text-patching rows of this module and of the help module).
ActionResult OpenAndReadAll(const std::wstring& path, common::UniqueFile& file, std::string& content);
// Writes bytes at offset: 0, or the Win32 error (ERROR_WRITE_FAULT for a short write).
DWORD WriteAllAt(HANDLE file, int64_t offset, const std::string& bytes);

}  // namespace tessel::changes::files
