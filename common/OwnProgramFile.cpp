// The running program's own file and its removal at the next start of Windows.
#include "common/OwnProgramFile.h"

#include <vector>

#include "common/DirectoryListing.h"
#include "common/Errors.h"
#include "common/Handles.h"
#include "common/PathText.h"

namespace tessel::common {

namespace {

// The volume and file number of path; false when it cannot be opened.
bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    // No access but attributes, every sharing mode: opens a running program too.
    UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file && GetFileInformationByHandle(file.get(), &info);
}

std::wstring OwnProgramPath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::wstring();
        if (n < buf.size()) return std::wstring(buf.data(), n);
        if (buf.size() >= 32768) return std::wstring();
        buf.resize(buf.size() * 2);
    }
}

}  // namespace

bool IsOwnProgramFile(const std::wstring& path) {
    BY_HANDLE_FILE_INFORMATION own{}, other{};
    const std::wstring self = OwnProgramPath();
    if (self.empty() || path.empty() || !FileIdentity(self, own) || !FileIdentity(path, other)) return false;
    return own.dwVolumeSerialNumber == other.dwVolumeSerialNumber && own.nFileIndexHigh == other.nFileIndexHigh &&
           own.nFileIndexLow == other.nFileIndexLow;
}

DWORD RemoveAtNextStart(const std::wstring& path) {
    if (MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return 0;
    return LastErrorOr(ERROR_ACCESS_DENIED);
}

DWORD RemoveFolderHoldingOnlyOwnFile(const std::wstring& folder) {
    DirectoryListing listing;
    if (listing.Open(JoinPath(folder, L"*")) != 0) return ERROR_DIR_NOT_EMPTY;
    std::wstring own;
    DirectoryEntry entry;
    DWORD next = 0;
    while ((next = listing.Next(entry)) == 0) {
        const std::wstring path = JoinPath(folder, entry.Name);
        if (!own.empty() || entry.IsFolder() || !IsOwnProgramFile(path)) return ERROR_DIR_NOT_EMPTY;
        own = path;
    }
    // A listing cut short may have hidden something else.
    if (own.empty() || next != ERROR_NO_MORE_FILES) return ERROR_DIR_NOT_EMPTY;
    if (const DWORD error = RemoveAtNextStart(own)) return error;
    return RemoveAtNextStart(folder);
}

}  // namespace tessel::common
