// The Windows uninstall entry: its key, its values, writing it and removing
// it, and reading which undo log an earlier installation's entry names.
//
// Rows and records:
// RegisterUninstall  8012  T+L: the uninstaller, only recorded (the entry is
//                          built from the install folder). The undo deletes
//                          the entry that the log's product information names,
//                          with everything below it, so also the values that
//                          CompleteEntry adds after the run.
#pragma once
#include "changes/Change.h"

namespace tessel::changes::uninstall_entry {

inline constexpr const wchar_t* UninstallRootKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// The entry's name below it (the product's internal name in the undo log).
inline constexpr const wchar_t* EntryName = L"qvlLib";
inline std::wstring EntryKeyPath() { return std::wstring(UninstallRootKey) + EntryName; }
// The uninstaller's file name in the install folder.
inline constexpr const wchar_t* UninstallerFileName = L"unqmv.exe";

// The entry's values, in the order they are written.
inline constexpr const wchar_t* DisplayNameValue = L"DisplayName";
inline constexpr const wchar_t* UninstallStringValue = L"UninstallString";
inline constexpr const wchar_t* PublisherValue = L"Publisher";
inline constexpr const wchar_t* DisplayVersionValue = L"DisplayVersion";
// The values that describe the finished install, which package managers and
// Apps & features read; written by CompleteEntry after the last row.
inline constexpr const wchar_t* QuietUninstallStringValue = L"QuietUninstallString";
inline constexpr const wchar_t* DisplayIconValue = L"DisplayIcon";
inline constexpr const wchar_t* InstallLocationValue = L"InstallLocation";
inline constexpr const wchar_t* EstimatedSizeValue = L"EstimatedSize";  // KiB
inline constexpr const wchar_t* NoModifyValue = L"NoModify";
inline constexpr const wchar_t* NoRepairValue = L"NoRepair";

// The record of the entry names the entry that the log's product
// information gives: only the product's own is ever removed.
inline bool Accepts(const UndoScope& scope) { return AsciiLower(scope.ProductIntName) == AsciiLower(EntryName); }

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
// Removes the entry productIntName with everything below it; the system's
// "Uninstall" key above it stays, even when the entry was its last sub-key.
DWORD Undo(const std::wstring& productIntName);

// The entry's command line: the uninstaller and the undo log in installDir,
// each quoted when it holds a blank, separated by one blank.
std::wstring BuildUninstallString(const std::wstring& installDir);
// The silent uninstall's command line: the entry's command line and " /S".
std::wstring BuildQuietUninstallString(const std::wstring& installDir);
// EstimatedSize: bytes in KiB, rounded up, at most 0xFFFFFFFF.
DWORD SizeInKiB(uint64_t bytes);
// After a run: when the entry is this install's (its command line names
// installDir's undo log), adds the quiet command line, the icon, the install
// folder, EstimatedSize as the folder holds now and NoModify and NoRepair.
// 0 (also when there is no such entry), or the Win32 error of the first value
// that could not be written or of the folder's measurement.
[[nodiscard]] DWORD CompleteEntry(const std::wstring& installDir);

// The undo log path named by an uninstall command line: the text inside the
// last pair of quotes when it ends with a quote, otherwise the text after the
// last blank, whole. Empty when there is no such delimiter.
std::wstring UndoLogPathFromUninstallString(const std::wstring& command);
// The undo log of the installation the entry describes; empty when there is
// no entry (or it lacks its name or command line).
std::wstring PreviousUndoLogPath();

}  // namespace tessel::changes::uninstall_entry
