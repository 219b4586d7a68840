// File, folder, text, help, process and uninstall-entry actions of the install script.
#include "script/actions/FileActions.h"

#include <windows.h>

#include "common/Handles.h"
#include "common/IdeRegistry.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/DirectoryListing.h"
#include "common/Files.h"
#include "common/Payload.h"
#include "common/Processes.h"
#include "common/Registry.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/StringList.h"
#include "common/VersionResource.h"
#include "script/actions/ActionLogic.h"
#include "script/runner/InstallContext.h"
#include "script/manifest/Manifest.h"

namespace tessel::script {

using namespace tessel::common;

namespace {

// The folders the run resolves its locations against.
const common::LocationContext& At(const ActionContext& ctx) { return ctx.Install->Location; }

std::wstring RowPath(const ActionContext& ctx, const ScriptRow& row) {
    return ResolvePath(At(ctx), row.Location, Str(row.Text));
}

// Writes the row's payload to path and reports it as a copy.
ActionResult WritePayload(const ScriptRow& row, const std::wstring& path, ActionContext& ctx) {
    const DWORD err = SaveResourceToFile(row.Param, path);
    ctx.LogText = L"Copying file: " + path + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    if (err == 0) ctx.Written.push_back({row.Param, row.Location, Str(row.Text)});
    return ActionResult::FromWin32(err);
}

// Opens an existing file for reading and writing, unshared, and reads it whole.
ActionResult OpenAndReadAll(const std::wstring& path, UniqueFile& file, std::string& content) {
    file.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!file) return TextFileFailure::NotOpened;
    if (ReadOpenFile(file.get(), content) != 0) return TextFileFailure::BadSize;
    return ActionResult();
}

// Writes bytes at offset: 0, or the Win32 error (ERROR_WRITE_FAULT for a short write).
DWORD WriteAllAt(HANDLE file, LONGLONG offset, const std::string& bytes) {
    LARGE_INTEGER pos{};
    pos.QuadPart = offset;
    if (!SetFilePointerEx(file, pos, nullptr, FILE_BEGIN)) return LastErrorOr(ERROR_WRITE_FAULT);
    return WriteAll(file, bytes.data(), bytes.size());
}

// Deletes path: 0, also when nothing is there (what the row wants then holds
// already), or the Win32 error that kept the file.
DWORD DeleteIfPresent(const std::wstring& path) {
    if (DeleteFileW(path.c_str())) return 0;
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? 0 : err;
}

// A patch that did not reach the file: "...Fail" and the system's error code.
ActionResult WriteFailed(ActionContext& ctx, DWORD err) {
    ctx.LogText += LogEnding::Fail;
    return ActionResult::FromWin32(err);
}

}  // namespace

ActionResult DoCreateDir(const ScriptRow& row, ActionContext& ctx) {
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

ActionResult DoExtractFile(const ScriptRow& row, ActionContext& ctx) {
    return WritePayload(row, RowPath(ctx, row), ctx);
}

ActionResult DoExtractFileOnce(const ScriptRow& row, ActionContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    if (PathExists(path)) {
        ctx.LogText = L"Copying file: " + path + LogEnding::Already;
        return ActionResult();
    }
    return WritePayload(row, path, ctx);
}

namespace {

// Whether the payload of an ExtractFileIfNewer row is newer than the file at its target.
// The payload's version is read where it is, in this program's resources.
bool PayloadIsNewer(const ActionContext& ctx, const ScriptRow& row) {
    DWORD oldMs = 0, oldLs = 0;
    if (GetFileProductVersion(RowPath(ctx, row), oldMs, oldLs) != 0) return true;
    const void* data = nullptr;
    DWORD size = 0;
    uint32_t ms = 0, ls = 0;
    if (LoadPayload(row.Param, data, size) != 0 || !ImageProductVersion(data, size, ms, ls)) return true;
    return IsVersionNewer(ms, ls, oldMs, oldLs);
}

}  // namespace

ActionResult DoExtractFileIfNewer(const ScriptRow& row, ActionContext& ctx) {
    if (PayloadIsNewer(ctx, row)) return DoExtractFile(row, ctx);
    ctx.LogText = L"Copying file: " + RowPath(ctx, row) + LogEnding::Already;
    return ActionResult();
}

ActionResult DoClearDir(const ScriptRow& row, ActionContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    const DWORD err = DeleteDirectoryTree(path, true);
    ctx.LogText = L"Clearing directory: " + path + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    // Whatever failed, the folder is not empty afterwards: that is the row's result.
    return ActionResult::FromWin32(err == 0 ? 0 : ERROR_DIR_NOT_EMPTY);
}

ActionResult DoSetCurrentDir(const ScriptRow& row, ActionContext& ctx) {
    // Only a folder that is there becomes the working folder, as for the
    // process's current folder that this row once set.
    const std::wstring path = RowPath(ctx, row);
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return ActionResult::FromWin32(LastErrorOr(ERROR_PATH_NOT_FOUND));
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return ActionResult::FromWin32(ERROR_DIRECTORY);
    ctx.Install->WorkingDir = path;
    return ActionResult();
}

ActionResult DoRegisterUninstall(const ScriptRow&, ActionContext& ctx) {
    const std::wstring key = std::wstring(UninstallRootKey) + ProductIntName;
    ActionResult result;
    if (CreateRegKey(HKEY_LOCAL_MACHINE, key) != 0)
        result = UninstallEntryFailure::KeyNotCreated;
    else if (WriteRegString(HKEY_LOCAL_MACHINE, key, L"DisplayName",
                            std::wstring(CompanyName) + L" " + ProductName + L" v" + ProductVersion) != 0)
        result = UninstallEntryFailure::DisplayName;
    else if (WriteRegString(HKEY_LOCAL_MACHINE, key, L"Publisher", CompanyName) != 0)
        result = UninstallEntryFailure::Publisher;
    else if (WriteRegString(HKEY_LOCAL_MACHINE, key, L"DisplayVersion", ProductVersion) != 0)
        result = UninstallEntryFailure::DisplayVersion;
    else if (WriteRegString(HKEY_LOCAL_MACHINE, key, L"UninstallString", BuildUninstallString(At(ctx).InstallDir)) != 0)
        result = UninstallEntryFailure::UninstallString;
    ctx.LogText =
        std::wstring(L"Registering Uninstall: unqmv.exe") + (result.Succeeded() ? LogEnding::Success : LogEnding::Fail);
    return result;
}

ActionResult DoCopyFile(const ScriptRow& row, ActionContext& ctx) {
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

ActionResult DoAppendText(const ScriptRow& row, ActionContext& ctx) {
    // The file is one of the current IDE's help-configuration files, chosen by Param.
    const wchar_t* name = HelpFileOf(At(ctx).CurrentIde, row.Param);
    if (!name) return TextFileFailure::NotOpened;
    const std::wstring path = ResolvePath(At(ctx), row.Location, name);
    UniqueFile file;
    std::string content;
    const ActionResult opened = OpenAndReadAll(path, file, content);
    if (opened.Failed()) return opened;
    const std::string text = ToAnsi(Str(row.Text));
    ctx.LogText = L"Modifying file: " + path;
    if (!text.empty() && LowerAnsi(content).find(LowerAnsi(text)) != std::string::npos) {
        ctx.LogText += LogEnding::Already;
        return ActionResult();
    }
    // A write that does not reach the file is not reported as done.
    if (const DWORD err =
            WriteAllAt(file.get(), static_cast<LONGLONG>(content.size()), AppendedLineBytes(content, text))) {
        return WriteFailed(ctx, err);
    }
    ctx.LogText += LogEnding::Success;
    return ActionResult();
}

ActionResult DoDeleteFile(const ScriptRow& row, ActionContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    const DWORD err = DeleteIfPresent(path);
    ctx.LogText = L"Deleting file: " + path + (err == 0 ? LogEnding::Success : LogEnding::Fail);
    return ActionResult::FromWin32(err);
}

ActionResult DoRegisterWinHelp(const ScriptRow& row, ActionContext& ctx) {
    const std::wstring name = Str(row.Text);
    const bool ok = CreateRegKey(HKEY_LOCAL_MACHINE, WinHelpKey) == 0 &&
                    WriteRegString(HKEY_LOCAL_MACHINE, WinHelpKey, name, ctx.Install->HelpDir) == 0;
    ctx.LogText = L"Registering windows help: " + name + (ok ? LogEnding::Success : LogEnding::Fail);
    if (!ok) return WinHelpFailure::NotRegistered;
    return ActionResult();
}

ActionResult DoSetHelpDir(const ScriptRow& row, ActionContext& ctx) {
    ctx.Install->HelpDir = RowPath(ctx, row);
    return ActionResult();
}

ActionResult DoCreateRegKey(const ScriptRow& row, ActionContext&) {
    // Only the predefined root keys are accepted; any other value is not a key handle.
    if (!IsPredefinedRootKey(row.Param)) return RegKeyFailure::NotCreated;
    if (CreateRegKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(row.Param)), Str(row.Text)) != 0)
        return RegKeyFailure::NotCreated;
    return ActionResult();
}

ActionResult DoCheckFile(const ScriptRow& row, ActionContext& ctx) {
    const std::wstring path = RowPath(ctx, row);
    const bool exists = PathExists(path);
    ctx.LogText = L"Check file: " + path + (exists ? LogEnding::Success : LogEnding::Fail);
    if (!exists) return CheckFailure::Missing;
    return ActionResult();
}

ActionResult DoCopyFiles(const ScriptRow& row, ActionContext& ctx) {
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

ActionResult DoDeleteFiles(const ScriptRow& row, ActionContext& ctx) {
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

ActionResult DoMergeFiles(const ScriptRow& row, ActionContext& ctx) {
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

ActionResult DoReplaceText(const ScriptRow& row, ActionContext& ctx) {
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

ActionResult DoRunFile(const ScriptRow& row, ActionContext& ctx) {
    const std::wstring command = JoinPath(ctx.Install->StartFolder(), Str(row.Text));
    const DWORD err = RunAndWait(command, std::wstring(), ctx.Install->StartFolder());
    if (err != 0) return ActionResult::FromWin32(err);
    ctx.LogText = L"Run file: " + command + LogEnding::Success;
    return ActionResult();
}

ActionResult DoRunInstallFile(const ScriptRow& row, ActionContext& ctx) {
    // The help batch runs in the help folder, which stays the working folder
    // for the rows after it.
    const std::wstring helpDir = JoinPath(At(ctx).InstallDir, L"help");
    if (DirectoryExists(helpDir)) ctx.Install->WorkingDir = helpDir;
    const std::wstring command = JoinPath(At(ctx).InstallDir, Str(row.Text));
    const DWORD err = RunAndWait(command, std::wstring(), ctx.Install->StartFolder());
    if (err != 0) return ActionResult::FromWin32(err);
    ctx.LogText = L"Register help: " + command + LogEnding::Success;
    return ActionResult();
}

}  // namespace tessel::script
