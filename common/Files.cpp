// Folder, file and payload-resource helpers.
#include "common/SystemUtils.h"

#include <cwchar>
#include <exception>
#include <new>
#include <stdexcept>

#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/PathText.h"

namespace tessel::common {

namespace {

// The longest path the folder walk accepts (a 262-character buffer with its zero).
constexpr size_t kMaxCreatePath = 261;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

DWORD CreateDirectoryPath(const std::wstring& fullPath) {
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
        if (!CreateDirectoryW(path.substr(0, i).c_str(), nullptr)) {
            const DWORD err = GetLastError();
            if (err != ERROR_ALREADY_EXISTS) return err;
        }
    }
    return 0;
}

TreeEntry TreeEntryAction(DWORD attrs, const wchar_t* name) {
    // A file, or a link to one: deleting it removes the link, never its target.
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return TreeEntry::RemoveFile;
    // "." and "..", and with them every folder whose name starts with a dot.
    if (name[0] == L'.') return TreeEntry::Skip;
    // A junction, directory link or mounted folder leads to someone else's
    // files: only the link goes.
    if (attrs & FILE_ATTRIBUTE_REPARSE_POINT) return TreeEntry::RemoveLink;
    return TreeEntry::Recurse;
}

namespace {

// Removes a folder link without touching its target. Windows removes a
// directory link as a folder; a link that does not go that way is tried as a
// file, which never succeeds on a real folder.
bool RemoveLink(const std::wstring& path) { return RemoveDirectoryW(path.c_str()) || DeleteFileW(path.c_str()); }

}  // namespace

DWORD DeleteDirectoryTree(const std::wstring& path, bool keepRoot) {
    // Every entry is tried; the first failure is the result.
    DWORD result = 0;
    const auto note = [&result](DWORD error) {
        if (result == 0) result = error;
    };
    WIN32_FIND_DATAW data;
    // A folder that is itself a link is not entered either.
    const DWORD rootAttrs = GetFileAttributesW(path.c_str());
    if (rootAttrs != INVALID_FILE_ATTRIBUTES && (rootAttrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (keepRoot || RemoveLink(path)) return 0;
        return LastErrorOr(ERROR_DIR_NOT_EMPTY);
    }
    UniqueFind find(FindFirstFileW(JoinPath(path, L"*.*").c_str(), &data));
    if (find) {
        do {
            const std::wstring item = JoinPath(path, data.cFileName);
            switch (TreeEntryAction(data.dwFileAttributes, data.cFileName)) {
            case TreeEntry::Skip: break;
            case TreeEntry::Recurse: note(DeleteDirectoryTree(item, false)); break;
            case TreeEntry::RemoveLink:
                if (!RemoveLink(item)) note(LastErrorOr(ERROR_DIR_NOT_EMPTY));
                break;
            case TreeEntry::RemoveFile:
                if (!DeleteFileW(item.c_str())) note(LastErrorOr(ERROR_ACCESS_DENIED));
                break;
            }
        } while (FindNextFileW(find.get(), &data));
        if (!find.reset()) note(LastErrorOr(ERROR_INVALID_HANDLE));
    }
    if (keepRoot) return result;

    UniqueFind self(FindFirstFileW(path.c_str(), &data));
    if (!self) return result != 0 ? result : LastErrorOr(ERROR_PATH_NOT_FOUND);
    // The folder that stayed is the failure the caller acts on.
    if (!RemoveDirectoryW(path.c_str())) result = LastErrorOr(ERROR_DIR_NOT_EMPTY);
    if (!self.reset()) note(LastErrorOr(ERROR_INVALID_HANDLE));
    return result;
}

DWORD LoadPayload(unsigned id, const void*& data, DWORD& size) {
    data = nullptr;
    size = 0;
    // Resource type names compare without regard to case: this finds "QVLIB".
    HRSRC res = FindResourceW(PayloadModule, MAKEINTRESOURCEW(id), L"qvlib");
    if (!res) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    HGLOBAL loaded = LoadResource(PayloadModule, res);
    if (!loaded) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    const void* bytes = LockResource(loaded);
    if (!bytes) return LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    data = bytes;
    size = SizeofResource(PayloadModule, res);
    return 0;
}

DWORD SaveResourceToFile(unsigned id, const std::wstring& fileName) {
    const void* data = nullptr;
    DWORD size = 0;
    if (const DWORD err = LoadPayload(id, data, size)) return err;
    return WriteFileBytes(fileName, data, size);
}

DWORD WriteFileBytes(const std::wstring& fileName, const void* data, DWORD size) {
    UniqueFile file(
        CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    DWORD written = 0;
    if (!WriteFile(file.get(), data, size, &written, nullptr)) return GetLastError();
    if (written != size) return ERROR_WRITE_FAULT;
    return 0;
}

DWORD ReadFileBytes(const std::wstring& fileName, std::string& bytes, DWORD shareMode, DWORD access) {
    bytes.clear();
    UniqueFile file(
        CreateFileW(fileName.c_str(), access, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorOr(ERROR_OPEN_FAILED);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return LastErrorOr(ERROR_READ_FAULT);
    // Files of 2 GB and more are not loaded whole.
    if (size.QuadPart < 0 || size.QuadPart >= 0x7FFFFFFF) return ERROR_FILE_TOO_LARGE;
    std::string buffer;
    // The one place a size from outside decides an allocation: a file larger
    // than this process can hold is a failure, not an exception. A 32-bit
    // process's strings end near 1 GB, below the limit above.
    if (static_cast<unsigned long long>(size.QuadPart) > buffer.max_size()) return ERROR_NOT_ENOUGH_MEMORY;
    try {
        buffer.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    DWORD total = 0;
    while (total < buffer.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), &buffer[total], static_cast<DWORD>(buffer.size()) - total, &got, nullptr))
            return LastErrorOr(ERROR_READ_FAULT);
        if (got == 0) break;  // the file shrank meanwhile
        total += got;
    }
    buffer.resize(total);
    bytes = std::move(buffer);
    return 0;
}

std::wstring ReadTextFile(const std::wstring& fileName) {
    // Opened for writing too and without sharing: a read-only file, or one that
    // another process holds open, reads as empty.
    std::string bytes;
    if (ReadFileBytes(fileName, bytes, 0, GENERIC_READ | GENERIC_WRITE) != 0) return std::wstring();
    try {
        return FromAnsi(bytes);
    } catch (const std::exception&) {
        return std::wstring();  // the text does not fit in memory
    }
}

bool PathExists(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(path.c_str(), &data));
    return find.valid();
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attrs = GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveCompilerOutputLeftovers(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileW(JoinPath(folder, std::wstring(CompilerOutputPrefix) + L"*.tmp").c_str(), &found));
    if (!find) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileW(JoinPath(folder, found.cFileName).c_str());
    } while (FindNextFileW(find.get(), &found));
}

}  // namespace tessel::common
