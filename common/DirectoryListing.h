// The one directory search: what a folder holds, or what a mask in it matches,
// one entry at a time, with the search handle closed by the destructor.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// One entry of a listing, as the directory search reports it (long names only).
struct DirectoryEntry {
    std::wstring Name;
    DWORD Attributes = 0;
    uint64_t Size = 0;
    FILETIME LastWrite{};
    bool IsFolder() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// Lists what pattern names: a folder's contents ("C:\X\*"), the matches of a
// mask ("C:\X\*.dcp"), or one entry by its name. "." and ".." are never
// handed out. Links are listed as what they are (their attributes carry
// FILE_ATTRIBUTE_REPARSE_POINT), never entered.
//
//     DirectoryListing listing;
//     if (listing.Open(JoinPath(folder, L"*")) == 0)
//         for (DirectoryEntry entry; listing.Next(entry) == 0;) ...
class DirectoryListing {
public:
    // Starts the search: 0 when it found something ("." of an empty folder
    // counts), ERROR_FILE_NOT_FOUND when nothing matches, ERROR_PATH_NOT_FOUND
    // when the folder is missing, or another Win32 error.
    [[nodiscard]] DWORD Open(const std::wstring& pattern);
    // The next entry: 0, ERROR_NO_MORE_FILES after the last one (also when the
    // listing was never opened), or the Win32 error that ended the search.
    [[nodiscard]] DWORD Next(DirectoryEntry& entry);

private:
    UniqueFind find_;
    WIN32_FIND_DATAW data_{};
    bool pending_ = false;  // data_ holds an entry not yet handed out
};

}  // namespace tessel::common
