// Whole-entry editing of ";"-separated folder lists (the IDEs' search paths):
// the install adds its folder and the uninstall takes it out by the same rule.
// An entry is the folder when the two are equal ignoring case: callers pass
// lower-cased copies, which have the same length as the originals. Nothing
// else is normalised, so "C:\Lib\" and "C:\Lib" are different entries: the
// install then adds its own, and the uninstall never takes the user's away.
// Pure: no Win32 calls.
#pragma once
#include <string>

namespace tessel::changes::pathlists {

// True when one whole entry of the list equals folder; false for an empty folder.
bool HasPathListEntry(const std::wstring& listLower, const std::wstring& folderLower);

// Adds folder to a list: a ";" goes between them unless the list is empty or
// already ends in ";". The caller has checked that the folder is not in the list yet.
std::wstring AppendPathListEntry(const std::wstring& list, const std::wstring& folder);

// Takes the first whole entry equal to folder out of value. The separator
// after it goes with it; when it was the last entry the separator before it
// goes instead. The rest of value keeps its case and order. False (value
// untouched) when no entry matches or folder is empty.
bool RemovePathListEntry(std::wstring& value, const std::wstring& valueLower, const std::wstring& folderLower);

}  // namespace tessel::changes::pathlists
