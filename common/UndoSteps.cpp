// Undo steps. Everything here runs on the user's machine against real files and
// registry data, so every step checks its inputs first and does nothing when a
// path or key cannot be resolved: a step that finds nothing to do is not a failure.
#include "common/UndoSteps.h"
#include <windows.h>
#include <vector>
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/SystemUtils.h"
#include "common/UndoRules.h"

namespace tessel::common {

namespace {

const IdeVersion* CurrentProduct(const LocationContext& context) {
    return IsIdeIndex(context.CurrentIde) ? &IdeTable[context.CurrentIde] : nullptr;
}

// Only the oldest IDE spells the value without a blank.
const wchar_t* LibrarySearchPathName(const IdeVersion& ide) { return &ide == &IdeTable[1] ? L"SearchPath" : L"Search Path"; }

// The library keys whose search path the install may have extended: "\Library",
// and for IDEs with separate 32- and 64-bit libraries also the platform keys,
// which is where the install writes for them.
std::vector<std::wstring> LibraryKeys(const IdeVersion& ide) {
    const std::wstring library = std::wstring(ide.RegKey) + LibraryKey;
    std::vector<std::wstring> keys{library};
    if (ide.Is32and64) {
        keys.push_back(library + Win32Key);
        keys.push_back(library + Win64Key);
    }
    return keys;
}

void RemoveFromLibraryPaths(const IdeVersion& ide, const std::wstring& folder) {
    for (const auto& key : LibraryKeys(ide)) RemoveFromRegPathList(key, LibrarySearchPathName(ide), folder);
}

bool IsPredefinedRoot(uint32_t root) { return root >= 0x80000000u && root <= 0x80000006u; }

std::wstring FolderLower(const std::wstring& path) { return path.empty() ? path : LowerWide(path); }

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

// The full path of a record's location and text; empty when it does not resolve
// to a full path on this machine.
std::wstring RecordPath(const LocationContext& context, uint32_t location, const std::wstring& text) {
    std::wstring path = ResolvePath(context, LocationCodeFrom(location), text);
    return IsFullPath(path) ? path : std::wstring();
}

// Removes an empty folder. A folder that a process has only just left (the help
// batch file ran in it a moment ago) can refuse for a short while with a sharing
// violation; that case is retried briefly. Any other refusal (not empty, in use
// by a running program) is final.
void RemoveFolderPatiently(const std::wstring& path) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (RemoveDirectoryW(path.c_str()) || GetLastError() != ERROR_SHARING_VIOLATION) return;
        Sleep(25);
    }
}

void UndoCreateDir(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const std::wstring path = ResolvePath(context, LocationCodeFrom(rec.Location), text);
    // Never an empty or relative path, a drive root, or the Windows or system folder,
    // whatever a (possibly damaged) log says.
    if (!IsRemovableTreePath(FolderLower(path), FolderLower(GetLocationPath(context, LocationCode::Windows)),
                             FolderLower(GetLocationPath(context, LocationCode::System))))
        return;
    if (rec.Param & DirExistedBefore) {
        // The user's folder: the files the install wrote into it were removed by
        // their own records; what is left is theirs. Gone only when empty.
        RemoveFolderPatiently(path);
    } else if (DeleteDirectoryTree(path, false) != 0 && DirectoryExists(path)) {
        RemoveFolderPatiently(path);
    }
}

void UndoDeleteFile(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const std::wstring path = RecordPath(context, rec.Location, text);
    if (!path.empty() && !text.empty()) DeleteFileW(path.c_str());
}

void UndoRegisterPackage(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const IdeVersion* ide = CurrentProduct(context);
    if (!ide) return;
    const std::wstring path = RecordPath(context, rec.Location, text);
    if (path.empty()) return;
    (void)DeleteRegValue(HKEY_CURRENT_USER, std::wstring(ide->RegKey) + KnownPackagesKeyFor(rec.Param), path);  // best effort
    RemoveFromLibraryPaths(*ide, FolderOfPath(path));
}

void UndoAddSearchPath(const LocationContext& context, const std::wstring& text, uint32_t location) {
    const IdeVersion* ide = CurrentProduct(context);
    if (!ide) return;
    const std::wstring folder = RecordPath(context, location, text);
    if (!folder.empty()) RemoveFromLibraryPaths(*ide, folder);
}

void UndoAddIdePath(const LocationContext& context, const std::wstring& text, uint32_t baseCode) {
    const IdeVersion* ide = CurrentProduct(context);
    if (!ide) return;
    std::wstring key, name;
    if (!SplitRegValuePath(std::wstring(ide->RegKey) + text, key, name)) return;
    const std::wstring folder = GetInstallSubPath(context, baseCode);
    if (IsFullPath(folder)) RemoveFromRegPathList(key, name, folder);
}

// Takes the first occurrence of the appended text (case-insensitive, in the
// system's 8-bit code page) out of the IDE's help-configuration file.
void UndoAppendText(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const IdeVersion* ide = CurrentProduct(context);
    if (!ide || rec.Param < 1 || rec.Param > 3) return;
    const wchar_t* helpName = ide->HelpStr[rec.Param - 1];
    if (!helpName || !*helpName) return;
    const std::wstring file = RecordPath(context, rec.Location, helpName);
    const std::string needle = ToAnsi(text);
    std::string content;
    if (file.empty() || needle.empty() || ReadFileBytes(file, content) != 0) return;
    const int k = AnsiTextPos(LowerAnsi(content), LowerAnsi(needle));
    if (k == 0) return;
    content.erase(static_cast<size_t>(k - 1), needle.size());
    UniqueFile out(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return;
    DWORD written = 0;
    if (!content.empty()) WriteFile(out.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

void UndoRegisterWinHelp(const std::wstring& text) {
    if (!text.empty()) (void)DeleteRegValue(HKEY_LOCAL_MACHINE, WinHelpKey, text);  // best effort
}

void UndoCreateRegKey(const UndoRecord& rec, const std::wstring& text) {
    // A top-level key such as "Software" is never taken away as a whole.
    if (!IsPredefinedRoot(rec.Param) || LastCharPos(text, L'\\') <= 1) return;
    (void)DeleteRegKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(rec.Param)), text);  // best effort
}

// Runs the help deregistration batch file from the install's help folder.
DWORD UndoRunInstallFile(const LocationContext& context) {
    if (!IsFullPath(context.InstallDir)) return 0;
    const std::wstring helpDir = JoinPath(context.InstallDir, L"help");
    // Started in the help folder; the uninstaller's own current folder stays
    // where it is, never in the install folder, which goes last.
    return RunAndWait(JoinPath(helpDir, L"help_unreg.bat"), L"", helpDir);
}

// Removes the product's uninstall entry with everything below it. The system's
// "Uninstall" key above it was there before the install and stays, even when
// the entry was its last sub-key.
void UndoRegisterUninstall(const std::wstring& productIntName) {
    if (productIntName.empty() || productIntName.find(L'\\') != std::wstring::npos) return;
    UniqueHKey parent;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallRootKey, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      parent.put()) != ERROR_SUCCESS)
        return;
    {
        UniqueHKey entry;
        if (RegOpenKeyExW(parent.get(), productIntName.c_str(), 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                          entry.put()) != ERROR_SUCCESS)
            return;
        (void)DeleteRegSubKeys(entry.get());  // the entry's own deletion below fails if this did
    }
    RegDeleteKeyW(parent.get(), productIntName.c_str());
}

}  // namespace

bool RemoveFromRegPathList(const std::wstring& key, const std::wstring& name, const std::wstring& folder) {
    if (folder.empty()) return false;
    std::wstring value;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, value) != 0) return false;
    if (!RemovePathListEntry(value, LowerWide(value), LowerWide(folder))) return false;
    return WriteRegString(HKEY_CURRENT_USER, key, name, value) == 0;
}

UndoScope MakeUndoScope(const std::wstring& logFile, const std::wstring& installDir,
                        const std::wstring& productIntName) {
    UndoScope scope;
    scope.ProductIntName = productIntName;
    const std::wstring logFolder = FolderOfPath(FullLongPath(logFile));
    // The install folder as the log names it must already be a full path: it
    // is what every record is resolved against, so it is compared as it stands
    // apart from case, spelling (short names) and trailing separators.
    scope.InstallDirHoldsLog = IsFullPath(installDir) &&
                               IsSameFolder(LowerWide(LongPath(installDir)), LowerWide(logFolder));
    return scope;
}

DWORD UndoRecordStep(LocationContext& context, const InstalledIdes& ides, const UndoRecord& rec,
                     const std::wstring& text, const UndoScope& scope) {
    if (!IsUndoableRecord(rec, text, scope)) return ERROR_INVALID_DATA;
    switch (rec.Kind()) {
    case RowKind::SetIde:
        SelectIde(context, ides, static_cast<int>(rec.Param), text);
        return 0;
    case RowKind::RegisterPackage:
        UndoRegisterPackage(context, rec, text);
        return 0;
    case RowKind::AddSearchPath:
        UndoAddSearchPath(context, text, rec.Location);
        return 0;
    case RowKind::AddIdePath:
        UndoAddIdePath(context, text, rec.Param);
        return 0;
    case RowKind::AppendText:
    case RowKind::AppendTextOld:
        UndoAppendText(context, rec, text);
        return 0;
    case RowKind::DeleteOneFile:
    case RowKind::ExtractFile:
    case RowKind::ExtractFileOnce:
    case RowKind::CopyOneFile:
        UndoDeleteFile(context, rec, text);
        return 0;
    case RowKind::CreateDir:
        UndoCreateDir(context, rec, text);
        return 0;
    case RowKind::RegisterWinHelp:
        UndoRegisterWinHelp(text);
        return 0;
    case RowKind::CreateRegKey:
        UndoCreateRegKey(rec, text);
        return 0;
    case RowKind::RunInstallFile:
        return UndoRunInstallFile(context);
    case RowKind::RegisterUninstall:
        UndoRegisterUninstall(scope.ProductIntName);
        return 0;
    default:
        return 0;
    }
}

}  // namespace tessel::common
