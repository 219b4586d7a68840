// Whole-entry editing of ";"-separated folder lists.
#include "changes/pathlists/PathList.h"

namespace tessel::changes::pathlists {

namespace {

// The offset of the first whole entry equal to folderLower, and in stop the
// end of that entry; npos when there is none.
size_t FindEntry(const std::wstring& listLower, const std::wstring& folderLower, size_t& stop) {
    if (folderLower.empty()) return std::wstring::npos;
    size_t start = 0;
    for (;;) {
        stop = listLower.find(L';', start);
        if (stop == std::wstring::npos) stop = listLower.size();
        if (listLower.compare(start, stop - start, folderLower) == 0) return start;
        if (stop == listLower.size()) return std::wstring::npos;
        start = stop + 1;
    }
}

}  // namespace

bool HasPathListEntry(const std::wstring& listLower, const std::wstring& folderLower) {
    size_t stop = 0;
    return FindEntry(listLower, folderLower, stop) != std::wstring::npos;
}

std::wstring AppendPathListEntry(const std::wstring& list, const std::wstring& folder) {
    if (list.empty()) return folder;
    if (list.back() == L';') return list + folder;
    return list + L";" + folder;
}

bool RemovePathListEntry(std::wstring& value, const std::wstring& valueLower, const std::wstring& folderLower) {
    if (valueLower.size() != value.size()) return false;
    size_t stop = 0;
    const size_t start = FindEntry(valueLower, folderLower, stop);
    if (start == std::wstring::npos) return false;
    if (stop < valueLower.size()) {
        value.erase(start, stop - start + 1);  // the entry and the ";" behind it
    } else if (start > 0) {
        value.erase(start - 1, stop - start + 1);  // the ";" before the last entry, and it
    } else {
        value.clear();  // the only entry
    }
    return true;
}

}  // namespace tessel::changes::pathlists
