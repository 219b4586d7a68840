// The directory search over FindFirstFileExW, FindNextFileW and FindClose.
#include "common/DirectoryListing.h"

namespace tessel::common {

namespace {

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

DWORD DirectoryListing::Open(const std::wstring& pattern) {
    pending_ = false;
    // No short names: nothing here reads them, and the search is cheaper without.
    find_.reset(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch, nullptr, 0));
    // Windows before 7 knows only the standard level.
    if (!find_ && GetLastError() == ERROR_INVALID_PARAMETER)
        find_.reset(FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data_, FindExSearchNameMatch, nullptr, 0));
    if (!find_) return LastErrorOr(ERROR_FILE_NOT_FOUND);
    pending_ = true;
    return 0;
}

DWORD DirectoryListing::Next(DirectoryEntry& entry) {
    if (!find_) return ERROR_NO_MORE_FILES;
    for (;;) {
        if (!pending_ && !FindNextFileW(find_.get(), &data_)) {
            const DWORD error = LastErrorOr(ERROR_NO_MORE_FILES);
            (void)find_.reset();  // the search is over either way
            return error;
        }
        pending_ = false;
        if (IsDotEntry(data_.cFileName)) continue;
        entry.Name = data_.cFileName;
        entry.Attributes = data_.dwFileAttributes;
        entry.Size = (static_cast<uint64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
        entry.LastWrite = data_.ftLastWriteTime;
        return 0;
    }
}

}  // namespace tessel::common
