// Folder, file and link helpers.
#include "common/Files.h"

#include <cwchar>

#include "common/DirectoryListing.h"
#include "common/Handles.h"
#include "common/PathText.h"

namespace tessel::common {

namespace {

// The longest path the folder walk accepts (a 262-character buffer with its zero).
constexpr size_t kMaxCreatePath = 261;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

DWORD CreateDirectoryPath(const std::wstring& fullPath, SECURITY_ATTRIBUTES* security) {
    // Only the text before an embedded zero counts, as for any C string.
    const std::wstring path = fullPath.substr(0, std::wcslen(fullPath.c_str()));
    // Cutting a longer path would create a different, shorter folder and report success.
    if (path.size() > kMaxCreatePath) return ERROR_FILENAME_EXCED_RANGE;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) continue;
        // A bare drive ("C:") is not created.
        if (i > 0 && path[i - 1] == L':') continue;
        // Empty text (an empty path, or one starting with a separator) names no folder.
        if (i == 0) return ERROR_PATH_NOT_FOUND;
        if (!CreateDirectoryW(path.substr(0, i).c_str(), security)) {
            const DWORD err = GetLastError();
            if (err != ERROR_ALREADY_EXISTS) return err;
        }
    }
    return 0;
}

DWORD OpenNoFollow(const std::wstring& path, DWORD access, UniqueFile& handle, DWORD& attributes) {
    attributes = 0;
    handle.reset(CreateFileW(path.c_str(), access | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) return LastErrorOr(ERROR_OPEN_FAILED);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle.get(), &info)) return LastErrorOr(ERROR_READ_FAULT);
    attributes = info.dwFileAttributes;
    // Wine reports a host's link on its name only, not on the opened handle.
    // Asked while the handle is open, the name still names the same object.
    const DWORD byName = GetFileAttributesW(path.c_str());
    if (byName != INVALID_FILE_ATTRIBUTES) attributes |= byName & FILE_ATTRIBUTE_REPARSE_POINT;
    return 0;
}

DWORD DeleteOnClose(UniqueFile& handle) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    const bool marked =
        SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
    // A folder that still holds something refuses; some systems leave no error then.
    const DWORD error = marked ? 0 : LastErrorOr(ERROR_DIR_NOT_EMPTY);
    if (!handle.reset() && error == 0) return LastErrorOr(ERROR_INVALID_HANDLE);
    return error;
}

DWORD HeldFolders::Hold(const std::wstring& base, const std::wstring& relative, Reach reach) {
    folders_.clear();
    if (relative.empty()) return 0;
    std::wstring path = base;
    size_t start = 0;
    for (bool first = true;; first = false) {
        const size_t stop = relative.find(L'\\', start);
        const bool last = stop == std::wstring::npos;
        if (!first) {
            if (last && reach == Reach::Parent) return 0;
            path = JoinPath(path, relative.substr(start, last ? std::wstring::npos : stop - start));
            start = stop + 1;
            if (reach == Reach::Create && !CreateDirectoryW(path.c_str(), nullptr)) {
                const DWORD error = GetLastError();
                if (error != ERROR_ALREADY_EXISTS) return error;
            }
        }
        UniqueFile folder;
        DWORD attributes = 0;
        if (const DWORD error = OpenNoFollow(path, 0, folder, attributes)) return error;
        if (IsLinkAttributes(attributes)) return LinkInPathError;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_DIRECTORY;
        folders_.push_back(std::move(folder));
        if (!first && last) return 0;
    }
}

TreeEntry TreeEntryAction(DWORD attrs, const wchar_t* name) {
    // A file, or a link to one: deleting it removes the link, never its target.
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return TreeEntry::RemoveFile;
    // "." and "..", and with them every folder whose name starts with a dot.
    if (name[0] == L'.') return TreeEntry::Skip;
    // A junction, directory link or mounted folder leads to someone else's
    // files: only the link goes.
    if (IsLinkAttributes(attrs)) return TreeEntry::RemoveLink;
    return TreeEntry::Recurse;
}

namespace {

struct ListedEntry {
    std::wstring Name;
    DWORD Attributes;
};

// The entries of the folder that folder (opened with FILE_LIST_DIRECTORY)
// holds, read through the handle itself, "." and ".." included.
DWORD ListHeldFolder(HANDLE folder, std::vector<ListedEntry>& entries) {
    entries.clear();
    constexpr DWORD bytes = 64 * 1024;
    std::vector<LONGLONG> buffer(bytes / sizeof(LONGLONG));  // aligned for the records
    for (FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;; kind = FileIdBothDirectoryInfo) {
        if (!GetFileInformationByHandleEx(folder, kind, buffer.data(), bytes)) {
            const DWORD error = GetLastError();
            return error == ERROR_NO_MORE_FILES ? 0 : LastErrorOr(ERROR_READ_FAULT);
        }
        const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            entries.push_back(
                {std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t)), info->FileAttributes});
            if (info->NextEntryOffset == 0) break;
            at += info->NextEntryOffset;
        }
    }
}

// Deletes everything in the folder that folder holds (opened with
// FILE_LIST_DIRECTORY) at path; being held, path keeps naming it. Every entry
// is tried; 0 or the first failure.
DWORD EmptyHeldFolder(HANDLE folder, const std::wstring& path) {
    DWORD result = 0;
    const auto note = [&result](DWORD error) {
        if (result == 0) result = error;
    };
    std::vector<ListedEntry> entries;
    note(ListHeldFolder(folder, entries));
    for (const ListedEntry& listed : entries) {
        if (TreeEntryAction(listed.Attributes, listed.Name.c_str()) == TreeEntry::Skip) continue;
        // The listing only names the entry; what it is now is read from its handle.
        const std::wstring item = JoinPath(path, listed.Name);
        UniqueFile entry;
        DWORD attrs = 0;
        if (const DWORD error = OpenNoFollow(item, DELETE | FILE_LIST_DIRECTORY, entry, attrs)) {
            note(error);
            continue;
        }
        switch (TreeEntryAction(attrs, listed.Name.c_str())) {
        case TreeEntry::Skip: break;
        case TreeEntry::Recurse: note(EmptyHeldFolder(entry.get(), item)); [[fallthrough]];
        case TreeEntry::RemoveLink:
        case TreeEntry::RemoveFile: note(DeleteOnClose(entry)); break;
        }
    }
    return result;
}

}  // namespace

DWORD DeleteDirectoryTree(const std::wstring& path, bool keepRoot) {
    UniqueFile root;
    DWORD attrs = 0;
    if (const DWORD error = OpenNoFollow(path, FILE_LIST_DIRECTORY | (keepRoot ? 0 : DELETE), root, attrs)) {
        // A missing folder has nothing to clear; one to remove is reported missing.
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return keepRoot && missing ? 0 : error;
    }
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_DIRECTORY;
    // A folder that is itself a link is not entered either.
    if (IsLinkAttributes(attrs)) return keepRoot ? 0 : DeleteOnClose(root);
    const DWORD result = EmptyHeldFolder(root.get(), path);
    if (keepRoot) return result;
    // The folder that stayed is the failure the caller acts on.
    const DWORD rootError = DeleteOnClose(root);
    return rootError != 0 ? rootError : result;
}

bool PathExists(const std::wstring& path) {
    DirectoryListing listing;
    return listing.Open(path) == 0;
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveCompilerOutputLeftovers(const std::wstring& folder) {
    DirectoryListing listing;
    if (listing.Open(JoinPath(folder, std::wstring(CompilerOutputPrefix) + L"*.tmp")) != 0) return;
    for (DirectoryEntry entry; listing.Next(entry) == 0;)
        if (!entry.IsFolder()) DeleteFileW(JoinPath(folder, entry.Name).c_str());
}

}  // namespace tessel::common
