// Files and folders: applying the file rows, recording them, and undoing the
// folder and file records.
#include "changes/files/FileChanges.h"

#include <windows.h>

#include "changes/ActionLogic.h"
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordPaths.h"
#include "common/Handles.h"
#include "common/Locations.h"
#include "common/OwnProgramFile.h"
#include "common/PathText.h"
#include "common/StringList.h"
#include "common/DirectoryListing.h"
#include "common/Files.h"
#include "common/Payload.h"
#include "common/Processes.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoLog.h"
#include "common/UndoRules.h"
#include "common/VersionResource.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::files {

using namespace tessel::common;

namespace {

// The folders the run resolves its locations against.
const LocationContext& At(const ChangeContext& ctx) { return ctx.Run.Location; }

std::wstring RowPath(const ChangeContext& ctx, const ScriptRow& row) {
    return ResolvePath(At(ctx), row.Location, Str(row.Text));
}

// Writes the row's payload to path and reports it as a copy.
ActionResult WritePayload(const ScriptRow& row, const std::wstring& path, ChangeContext& ctx) {
    const DWORD err = SaveResourceToFile(row.Param, path);
    ctx.LogText = L"Copying file: " + path + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    if (err == 0) ctx.Written.push_back({row.Param, row.Location, Str(row.Text)});
    return ActionResult::FromWin32(err);
}

}  // namespace

ActionResult OpenAndReadAll(const std::wstring& path, UniqueFile& file, std::string& content) {
    file.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!file) return TextFileFailure::NotOpened;
    if (ReadOpenFile(file.get(), content) != 0) return TextFileFailure::BadSize;
    return ActionResult();
}

DWORD WriteAllAt(HANDLE file, int64_t offset, const std::string& bytes) {
    LARGE_INTEGER pos{};
    pos.QuadPart = offset;
    if (!SetFilePointerEx(file, pos, nullptr, FILE_BEGIN)) return LastErrorOr(ERROR_WRITE_FAULT);
    return WriteAll(file, bytes.data(), bytes.size());
}

namespace {

// Deletes path: 0, also when nothing is there (what the row wants then holds
// already), or the Win32 error that kept the file.
DWORD DeleteIfPresent(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return 0;
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? 0 : err;
}

// A patch that did not reach the file: "...Fail" and the system's error code.
ActionResult WriteFailed(ChangeContext& ctx, DWORD err) {
    ctx.LogText += LogEnding::Fail;
    return ActionResult::FromWin32(err);
}


ActionResult CreateFolder(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    // Below its location's folder, the row's folders are made one at a time
    // and none on the way may be a link: what an uninstall removes as the
    // install's own must be the install's own.
    const std::wstring base = GetLocationPath(At(ctx), row.Location), text = Str(row.Text);
    const bool below = !base.empty() && !text.empty();
    HeldFolders held;
    DWORD err = CreateDirectoryPath(below ? base : path);
    if (err == 0 && below) err = held.Hold(base, text, HeldFolders::Reach::Create);
    ctx.LogText = L"Creating directory: " + path;
    if (err == 0)
        ctx.LogText += LogEnding::Success;
    else
        ctx.LogText += std::wstring(LogEnding::Fail) + L". " + SystemErrorText(err);
    return ActionResult::FromWin32(err);
}

ActionResult Extract(const ScriptRow& row, ChangeContext& ctx) {
    return WritePayload(row, RowPath(ctx, row), ctx);
}

ActionResult ExtractOnce(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    if (PathExists(path)) {
        ctx.LogText = L"Copying file: " + path + LogEnding::Already;
        return ActionResult();
    }
    return WritePayload(row, path, ctx);
}

// Whether the payload of an ExtractFileIfNewer row is newer than the file at its target.
// The payload's version is read where it is, in this program's resources.
bool PayloadIsNewer(const ChangeContext& ctx, const ScriptRow& row) {
    DWORD oldMs = 0, oldLs = 0;
    if (GetFileProductVersion(RowPath(ctx, row), oldMs, oldLs) != 0) return true;
    const void* data = nullptr;
    DWORD size = 0;
    uint32_t ms = 0, ls = 0;
    if (LoadPayload(row.Param, data, size) != 0 || !ImageProductVersion(data, size, ms, ls)) return true;
    return IsVersionNewer(ms, ls, oldMs, oldLs);
}

ActionResult ExtractIfNewer(const ScriptRow& row, ChangeContext& ctx) {
    if (PayloadIsNewer(ctx, row)) return Extract(row, ctx);
    ctx.LogText = L"Copying file: " + RowPath(ctx, row) + LogEnding::Already;
    return ActionResult();
}

ActionResult ClearFolder(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    const DWORD err = DeleteDirectoryTree(path, true);
    ctx.LogText = L"Clearing directory: " + path + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    // Whatever failed, the folder is not empty afterwards: that is the row's result.
    return ActionResult::FromWin32(err == 0 ? 0 : ERROR_DIR_NOT_EMPTY);
}

ActionResult SetWorkingFolder(const ScriptRow& row, ChangeContext& ctx) {
    // Only a folder that is there becomes the working folder, as for the
    // process's current folder that this row once set.
    const std::wstring path = RowPath(ctx, row);
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return ActionResult::FromWin32(LastErrorOr(ERROR_PATH_NOT_FOUND));
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return ActionResult::FromWin32(ERROR_DIRECTORY);
    ctx.Run.WorkingDir = path;
    return ActionResult();
}

ActionResult CopyOne(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring source = RowPath(ctx, row);
    std::wstring target;
    if (row.Target) target = ResolvePath(At(ctx), row.Target->Location, Str(row.Target->FileName));
    DWORD err = 0;
    if (!row.Target)
        err = ERROR_INVALID_PARAMETER;
    else if (!CopyFileW(source.c_str(), target.c_str(), FALSE))
        err = GetLastError();
    ctx.LogText =
        L"Copying file: from " + source + L" to " + target + L" " + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    if (err == 0) ctx.Written.push_back({0, row.Target->Location, Str(row.Target->FileName)});
    return ActionResult::FromWin32(err);
}

ActionResult DeleteOne(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    const DWORD err = DeleteIfPresent(path);
    ctx.LogText = L"Deleting file: " + path + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    return ActionResult::FromWin32(err);
}

ActionResult CopyMatching(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring sourceMask = RowPath(ctx, row);
    const std::wstring destMask = ResolvePath(At(ctx), row.Location2, Str(row.Text3));
    const std::wstring sourceDir = PathPrefixOf(sourceMask);
    const std::wstring destDir = PathPrefixOf(destMask);
    const std::wstring destRelDir = PathPrefixOf(Str(row.Text3));
    DWORD err = 0;
    DirectoryListing listing;
    if (listing.Open(sourceMask) == 0) {
        for (DirectoryEntry entry; listing.Next(entry) == 0;) {
            // Folders matching the mask are not files to copy.
            if (entry.IsFolder()) continue;
            const std::wstring& name = entry.Name;
            if (!CopyFileW((sourceDir + name).c_str(), (destDir + name).c_str(), FALSE)) {
                err = GetLastError();
                break;
            }
            ctx.Written.push_back({0, row.Location2, destRelDir + name});
        }
    }
    ctx.LogText = L"Copying file: from " + sourceMask + L" to " + destMask + L" " +
                  (err == 0 ? LogEnding::Success : LogEnding::Fail);
    return ActionResult::FromWin32(err);
}

ActionResult DeleteMatching(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring mask = RowPath(ctx, row);
    const std::wstring dir = PathPrefixOf(mask);
    DWORD err = 0;
    DirectoryListing listing;
    if (listing.Open(mask) == 0) {
        for (DirectoryEntry entry; listing.Next(entry) == 0;) {
            if (entry.IsFolder()) continue;
            // Every match is tried; the first failure is the row's result.
            const DWORD one = DeleteIfPresent(dir + entry.Name);
            if (err == 0) err = one;
        }
    }
    ctx.LogText = L"Deleting files: " + mask + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    return ActionResult::FromWin32(err);
}

ActionResult Merge(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring source = RowPath(ctx, row);
    const std::wstring dest = ResolvePath(At(ctx), row.Location2, Str(row.Text3));
    StringList from;
    StringList into;
    into.SetDuplicates(DuplicatesPolicy::Ignore);
    // A missing destination starts empty. One that is there but cannot be read
    // is left alone: saving the source's lines over it would lose its own.
    DWORD err = from.LoadFromFile(source);
    if (err == 0 && PathExists(dest)) err = into.LoadFromFile(dest);
    if (err == 0) {
        for (int i = 0; i < from.Count(); ++i) {
            const std::wstring line = from.Get(i);
            if (into.IndexOf(line) < 0) into.Add(line);
        }
        err = into.SaveToFileA(dest);
    }
    ctx.LogText = L"Merging files: " + source + L", " + dest + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    return ActionResult::FromWin32(err);
}

ActionResult Replace(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    UniqueFile file;
    std::string content;
    const ActionResult opened = OpenAndReadAll(path, file, content);
    if (opened.Failed()) return opened;
    const std::string find = ToAnsi(Str(row.Text2));
    const std::string replacement = ToAnsi(Str(row.Text3));
    ctx.LogText = L"Replace text: File=" + path + L", FindText=" + Str(row.Text2) + L", ReplaceTo=" + Str(row.Text3);
    std::string result;
    if (!ReplaceFirstBytes(content, LowerAnsi(content), LowerAnsi(find), replacement, result)) {
        ctx.LogText += LogEnding::Already;
        return ActionResult();
    }
    // The file ends where the new content ends: no stale bytes behind a shorter text.
    DWORD err = WriteAllAt(file.get(), 0, result);
    if (err == 0 && !SetEndOfFile(file.get())) err = LastErrorOr(ERROR_WRITE_FAULT);
    if (err != 0) {
        return WriteFailed(ctx, err);
    }
    ctx.LogText += LogEnding::Success;
    return ActionResult();
}

ActionResult Run(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring command = JoinPath(ctx.Run.StartFolder(), Str(row.Text));
    const DWORD err = RunAndWait(command, std::wstring(), ctx.Run.StartFolder(), ProgramTimeoutMs, ctx.Run.ProgramWait);
    if (err != 0) return ActionResult::FromWin32(err);
    ctx.LogText = L"Run file: " + command + LogEnding::Success;
    return ActionResult();
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

std::wstring FolderLower(const std::wstring& path) { return path.empty() ? path : LowerWide(path); }

DWORD UndoCreateDir(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    const std::wstring path = ResolvePath(at, LocationCodeFrom(rec.Location), text);
    // Never an empty or relative path, a drive root, or the Windows or system folder,
    // whatever a (possibly damaged) log says.
    if (!IsRemovableTreePath(FolderLower(path), FolderLower(GetLocationPath(at, LocationCode::Windows)),
                             FolderLower(GetLocationPath(at, LocationCode::System))))
        return 0;
    HeldFolders held;
    if (const DWORD error = HoldRecordFolders(at, rec, text, held)) return IsNotThere(error) ? 0 : error;
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

DWORD UndoFile(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    const std::wstring path = RecordPath(at, rec.Location, text);
    if (path.empty() || text.empty()) return 0;
    HeldFolders held;
    UniqueFile file;
    DWORD attrs = 0;
    DWORD error = HoldRecordFolders(at, rec, text, held);
    if (error == 0) error = OpenNoFollow(path, DELETE, file, attrs);
    // A folder is not a file (a link is removed itself, whatever it leads to).
    if (error == 0)
        error =
            (attrs & FILE_ATTRIBUTE_DIRECTORY) && !IsLinkAttributes(attrs) ? ERROR_ACCESS_DENIED : DeleteOnClose(file);
    if (IsNotThere(error)) return 0;
    // The running uninstaller's own file goes when Windows next starts.
    return error != 0 && IsOwnProgramFile(path) ? RemoveAtNextStart(path) : error;
}

// True when the deepest recorded folder holding path existed before the run.
bool InsidePreexistingDir(const RunState& run, const std::wstring& path) {
    const std::wstring lower = LowerWide(path);
    const RecordedDir* nearest = nullptr;
    for (const RecordedDir& dir : run.RecordedDirs)
        if (PathIsInside(dir.Path, lower) && (!nearest || dir.Path.size() > nearest->Path.size())) nearest = &dir;
    return nearest && nearest->ExistedBefore;
}

// A folder row notes whether its folder was there before the run. Folder rows
// without a record of their own get one when they lie in a recorded folder
// that existed before: that folder is not removed as a whole by an uninstall.
DWORD RecordFolder(const ScriptRow& row, ChangeContext& ctx) {
    RunState& run = ctx.Run;
    const std::wstring dirPath = ResolvePath(run.Location, row.Location, Str(row.Text));
    const bool isInstallDir = LowerWide(dirPath) == LowerWide(run.Location.InstallDir);
    const bool existedBefore = isInstallDir ? run.InstallDirExisted : DirectoryExists(dirPath);
    DWORD error = 0;
    if (row.HasFlag(RowFlag::Undo))
        error = WriteRowRecord(row, existedBefore ? DirExistedBefore : row.Param, ctx);
    else if (InsidePreexistingDir(run, dirPath))
        error = WriteUndoRecord(run.UndoLog, RowKind::CreateDir | RowFlag::Undo, existedBefore ? DirExistedBefore : 0,
                                StoredLocation(row.Location), Str(row.Text));
    else
        return 0;
    if (error != 0) return error;
    run.RecordedDirs.push_back({LowerWide(dirPath), existedBefore});
    if (!existedBefore || !isInstallDir) return 0;
    // The logs were written into an install folder that was already there.
    const uint32_t install = StoredLocation(LocationCode::Install);
    for (const wchar_t* log : {InstallLogFileName, UndoLogFileName})
        if (const DWORD logError = WriteUndoRecord(run.UndoLog, RowKind::ExtractFile | RowFlag::Undo, 0, install, log))
            return logError;
    return 0;
}

}  // namespace

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx) {
    switch (KindNumber(row.Kind())) {
    case KindNumber(RowKind::CreateDir): return CreateFolder(row, ctx);
    case KindNumber(RowKind::ExtractFile): return Extract(row, ctx);
    case KindNumber(RowKind::ExtractFileOnce): return ExtractOnce(row, ctx);
    case KindNumber(RowKind::ExtractFileIfNewer): return ExtractIfNewer(row, ctx);
    case KindNumber(RowKind::CopyOneFile): return CopyOne(row, ctx);
    case KindNumber(RowKind::DeleteOneFile): return DeleteOne(row, ctx);
    case KindNumber(RowKind::CopyFiles): return CopyMatching(row, ctx);
    case KindNumber(RowKind::DeleteFiles): return DeleteMatching(row, ctx);
    case KindNumber(RowKind::MergeFiles): return Merge(row, ctx);
    case KindNumber(RowKind::ReplaceText): return Replace(row, ctx);
    case KindNumber(RowKind::ClearDir): return ClearFolder(row, ctx);
    case KindNumber(RowKind::SetCurrentDir): return SetWorkingFolder(row, ctx);
    case KindNumber(RowKind::RunFile): return Run(row, ctx);
    default: return ActionResult();
    }
}

DWORD Record(const ScriptRow& row, ChangeContext& ctx) {
    if (row.Kind() == RowKind::CreateDir) return RecordFolder(row, ctx);
    if (!row.HasFlag(RowFlag::Undo)) return 0;
    if (row.Kind() == RowKind::CopyOneFile && row.Target)
        return WriteUndoRecord(ctx.Run.UndoLog, row.Word0, row.Param, StoredLocation(row.Target->Location),
                               Str(row.Target->FileName));
    return WriteRowRecord(row, row.Param, ctx);
}

DWORD RecordWritten(ChangeContext& ctx) {
    for (const WrittenFile& file : ctx.Written) {
        if (!InsidePreexistingDir(ctx.Run, ResolvePath(ctx.Run.Location, file.Location, file.Text))) continue;
        const DWORD err = WriteUndoRecord(ctx.Run.UndoLog, RowKind::ExtractFile | RowFlag::Undo, file.ResId,
                                          StoredLocation(file.Location), file.Text);
        if (err != 0) return err;
    }
    return 0;
}

DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    switch (KindNumber(rec.Kind())) {
    case KindNumber(RowKind::CreateDir): return UndoCreateDir(at, rec, text);
    case KindNumber(RowKind::ExtractFile):
    case KindNumber(RowKind::ExtractFileOnce):
    case KindNumber(RowKind::CopyOneFile):
    case KindNumber(RowKind::DeleteOneFile): return UndoFile(at, rec, text);
    default: return 0;
    }
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

}  // namespace tessel::changes::files
