// Undo steps. Everything here runs on the user's machine against real files and
// registry data, so every step checks its inputs first and does nothing when a
// path or key cannot be resolved: a step that finds nothing to do is not a failure.
#include "common/UndoSteps.h"
#include <windows.h>
#include "common/Handles.h"
#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/OwnProgramFile.h"
#include "common/PathList.h"
#include "common/PathText.h"
#include "common/RowKindInfo.h"
#include "common/Files.h"
#include "common/Processes.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoRules.h"

namespace tessel::common {

namespace {

const IdeVersion* CurrentIdeVersion(const LocationContext& context) {
    return context.CurrentIde.IsValid() ? &IdeOf(context.CurrentIde) : nullptr;
}

// Errors that mean the thing to remove is not there (any more).
bool IsNotThere(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Deletes a registry value. 0 when it is gone or was never there (nor its key).
DWORD DeleteStringValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    const DWORD error = DeleteRegValue(root, key, name);
    return IsNotThere(error) ? 0 : error;
}

// Takes folder off the search path of every library key of the IDE at ideIndex;
// every key is tried. 0 or the first error.
DWORD RemoveFromLibraryPaths(IdeIndex ideIndex, const std::wstring& folder) {
    DWORD first = 0;
    for (const auto& key : LibraryKeys(IdeOf(ideIndex))) {
        const DWORD error = RemoveFromRegPathList(key, SearchPathValueName(ideIndex), folder);
        if (first == 0) first = error;
    }
    return first;
}

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

// Holds the folders of a record's path from its location's folder down (see
// HeldFolders): 0 when none of them is a link, the refusal otherwise.
DWORD HoldRecordFolders(const LocationContext& context, const UndoRecord& rec, const std::wstring& text,
                        HeldFolders& held) {
    return held.Hold(GetLocationPath(context, LocationCodeFrom(rec.Location)), text, HeldFolders::Reach::Parent);
}

// Removes an empty folder, or a link in its place (never what it leads to). A
// folder that a process has only just left (the help batch file ran in it a
// moment ago) can refuse for a short while with a sharing violation; that case
// is retried briefly. Any other refusal is final. 0 when the folder is gone or
// was not there; otherwise the refusal's error (ERROR_DIR_NOT_EMPTY when it
// still holds something).
DWORD RemoveFolderPatiently(const std::wstring& path) {
    DWORD error = 0;
    for (int attempt = 0; attempt < 40; ++attempt) {
        UniqueFile folder;
        DWORD attrs = 0;
        error = OpenNoFollow(path, DELETE, folder, attrs);
        if (error == 0) error = (attrs & FILE_ATTRIBUTE_DIRECTORY) ? DeleteOnClose(folder) : ERROR_DIRECTORY;
        if (error != ERROR_SHARING_VIOLATION) break;
        Sleep(25);
    }
    return IsNotThere(error) ? 0 : error;
}

DWORD UndoCreateDir(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const std::wstring path = ResolvePath(context, LocationCodeFrom(rec.Location), text);
    // Never an empty or relative path, a drive root, or the Windows or system folder,
    // whatever a (possibly damaged) log says.
    if (!IsRemovableTreePath(FolderLower(path), FolderLower(GetLocationPath(context, LocationCode::Windows)),
                             FolderLower(GetLocationPath(context, LocationCode::System))))
        return 0;
    HeldFolders held;
    if (const DWORD error = HoldRecordFolders(context, rec, text, held)) return IsNotThere(error) ? 0 : error;
    if (rec.Param & DirExistedBefore) {
        // The user's folder: the files the install wrote into it were removed by
        // their own records; what is left is theirs. Gone only when empty.
        const DWORD error = RemoveFolderPatiently(path);
        return error == ERROR_DIR_NOT_EMPTY ? 0 : error;
    }
    // What the tree removal could not take (a file in use, one it may not
    // delete) keeps the folder, and the step failed: the files the install
    // wrote stay. The running uninstaller's own file alone is no failure: it
    // and the folder go when Windows next starts.
    if (DeleteDirectoryTree(path, false) == 0 || !DirectoryExists(path)) return 0;
    const DWORD error = RemoveFolderPatiently(path);
    return error == ERROR_DIR_NOT_EMPTY ? RemoveFolderHoldingOnlyOwnFile(path) : error;
}

DWORD UndoDeleteFile(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const std::wstring path = RecordPath(context, rec.Location, text);
    if (path.empty() || text.empty()) return 0;
    HeldFolders held;
    UniqueFile file;
    DWORD attrs = 0;
    DWORD error = HoldRecordFolders(context, rec, text, held);
    if (error == 0) error = OpenNoFollow(path, DELETE, file, attrs);
    // A folder is not a file (a link is removed itself, whatever it leads to).
    if (error == 0)
        error =
            (attrs & FILE_ATTRIBUTE_DIRECTORY) && !IsLinkAttributes(attrs) ? ERROR_ACCESS_DENIED : DeleteOnClose(file);
    if (IsNotThere(error)) return 0;
    // The running uninstaller's own file goes when Windows next starts.
    return error != 0 && IsOwnProgramFile(path) ? RemoveAtNextStart(path) : error;
}

DWORD UndoRegisterPackage(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const IdeVersion* ide = CurrentIdeVersion(context);
    if (!ide) return 0;
    const std::wstring path = RecordPath(context, rec.Location, text);
    if (path.empty()) return 0;
    const DWORD error =
        DeleteStringValue(HKEY_CURRENT_USER, std::wstring(ide->RegKey) + KnownPackagesKeyFor(rec.Param), path);
    const DWORD pathError = RemoveFromLibraryPaths(context.CurrentIde, FolderOfPath(path));
    return error != 0 ? error : pathError;
}

DWORD UndoAddSearchPath(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    if (!CurrentIdeVersion(context)) return 0;
    const std::wstring folder = RecordPath(context, rec.Location, text);
    return folder.empty() ? 0 : RemoveFromLibraryPaths(context.CurrentIde, folder);
}

DWORD UndoAddIdePath(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const IdeVersion* ide = CurrentIdeVersion(context);
    if (!ide) return 0;
    std::wstring key, name;
    if (!SplitRegValuePath(std::wstring(ide->RegKey) + text, key, name)) return 0;
    const std::wstring folder = GetInstallSubPath(context, rec.Param);
    return IsFullPath(folder) ? RemoveFromRegPathList(key, name, folder) : 0;
}

// Takes the first occurrence of the appended text (case-insensitive, in the
// system's 8-bit code page) out of the IDE's help-configuration file. A file
// that cannot be read is taken for one that is not there.
DWORD UndoAppendText(const LocationContext& context, const UndoRecord& rec, const std::wstring& text) {
    const wchar_t* helpName = HelpFileOf(context.CurrentIde, rec.Param);
    if (!helpName || !*helpName) return 0;
    const std::wstring file = RecordPath(context, rec.Location, helpName);
    const std::string needle = ToAnsi(text);
    std::string content;
    HeldFolders held;
    if (file.empty() || needle.empty()) return 0;
    if (const DWORD error = HoldRecordFolders(context, rec, helpName, held)) return IsNotThere(error) ? 0 : error;
    UniqueFile self;
    DWORD attrs = 0;
    if (OpenNoFollow(file, 0, self, attrs) == 0 && IsLinkAttributes(attrs)) return LinkInPathError;
    self.reset();
    if (ReadFileBytes(file, content) != 0) return 0;
    const size_t at = LowerAnsi(content).find(LowerAnsi(needle));
    if (at == std::string::npos) return 0;
    content.erase(at, needle.size());
    return WriteFileBytes(file, content);
}

DWORD UndoRegisterWinHelp(const std::wstring& text) {
    return text.empty() ? 0 : DeleteStringValue(HKEY_LOCAL_MACHINE, WinHelpKey, text);
}

DWORD UndoCreateRegKey(const UndoRecord& rec, const std::wstring& text) {
    // A top-level key such as "Software" is never taken away as a whole.
    const size_t slash = text.rfind(L'\\');
    if (!IsPredefinedRootKey(rec.Param) || slash == std::wstring::npos || slash == 0) return 0;
    const DWORD error = DeleteRegKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(rec.Param)), text);
    return IsNotThere(error) ? 0 : error;
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
DWORD UndoRegisterUninstall(const std::wstring& productIntName) {
    if (productIntName.empty() || productIntName.find(L'\\') != std::wstring::npos) return 0;
    UniqueHKey parent;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallRootKey, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      parent.put()) != ERROR_SUCCESS)
        return 0;
    {
        UniqueHKey entry;
        if (RegOpenKeyExW(parent.get(), productIntName.c_str(), 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                          entry.put()) != ERROR_SUCCESS)
            return 0;
        (void)DeleteRegSubKeys(entry.get());  // the entry's own deletion below fails if this did
    }
    const LSTATUS error = RegDeleteKeyW(parent.get(), productIntName.c_str());
    return IsNotThere(static_cast<DWORD>(error)) ? 0 : static_cast<DWORD>(error);
}

}  // namespace

DWORD RemoveFromRegPathList(const std::wstring& key, const std::wstring& name, const std::wstring& folder) {
    std::wstring value;
    if (folder.empty() || ReadRegString(HKEY_CURRENT_USER, key, name, value) != 0) return 0;
    if (!RemovePathListEntry(value, LowerWide(value), LowerWide(folder))) return 0;
    return WriteRegString(HKEY_CURRENT_USER, key, name, value);
}

bool LogCreatedInstallFolder(const std::string& logBytes) {
    if (!IsValidUndoSignature(logBytes)) return false;
    UndoRecord rec;
    for (size_t pos = UndoSignatureSize, next = 0;
         StepUndoForward(logBytes, pos, logBytes.size(), rec, next) == UndoStep::Record; pos = next)
        if (rec.Kind() == RowKind::CreateDir && LocationCodeFrom(rec.Location) == LocationCode::Install &&
            rec.Text.empty() && !(rec.Param & DirExistedBefore))
            return true;
    return false;
}

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

DWORD UndoRecordStep(LocationContext& context, const InstalledIdes& ides, const UndoRecord& rec,
                     const std::wstring& text, const UndoScope& scope) {
    if (!IsUndoableRecord(rec, text, scope)) return ERROR_INVALID_DATA;
    switch (Describe(rec.Kind()).Undo) {
    case UndoAction::None: return 0;
    case UndoAction::SelectIde: SelectIde(context, ides, IdeIndex(static_cast<int>(rec.Param)), text); return 0;
    case UndoAction::UnregisterPackage: return UndoRegisterPackage(context, rec, text);
    case UndoAction::RemoveSearchPath: return UndoAddSearchPath(context, rec, text);
    case UndoAction::RemoveIdePath: return UndoAddIdePath(context, rec, text);
    case UndoAction::RemoveHelpLine: return UndoAppendText(context, rec, text);
    case UndoAction::DeleteFile: return UndoDeleteFile(context, rec, text);
    case UndoAction::RemoveDir: return UndoCreateDir(context, rec, text);
    case UndoAction::UnregisterWinHelp: return UndoRegisterWinHelp(text);
    case UndoAction::DeleteRegKey: return UndoCreateRegKey(rec, text);
    case UndoAction::RunHelpUnregister: return UndoRunInstallFile(context);
    case UndoAction::RemoveUninstallEntry: return UndoRegisterUninstall(scope.ProductIntName);
    }
    return 0;
}

}  // namespace tessel::common
