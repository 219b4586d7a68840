// Pure decisions of the undo steps: path-list editing, which folders may be
// removed as a tree, registry paths and status texts. No Win32 calls.
#pragma once
#include <cstdint>
#include <string>
#include "common/RowKinds.h"

namespace tessel::common {

// Takes the first whole ";"-separated entry equal to folder (compared on the
// lower-cased copies, which have the same length as the originals) out of
// value. The separator after it goes with it; when it was the last entry the
// separator before it goes instead. The rest of value keeps its case and order.
// False (value untouched) when no entry matches or folder is empty.
bool RemovePathListEntry(std::wstring& value, const std::wstring& valueLower, const std::wstring& folderLower);

// True when path is a folder that may be removed together with its contents:
// an absolute path ("X:\..." or "\\server\share\...") below a drive root or share,
// with no name that ends in a dot or a blank (".", ".." and their look-alikes), and
// neither the Windows or the system folder nor a folder that holds them (compared
// on lower-cased copies; "/" taken as "\", trailing backslashes ignored).
bool IsRemovableTreePath(const std::wstring& pathLower, const std::wstring& windowsDirLower,
                         const std::wstring& systemDirLower);

// True for a full path: "X:\..." or "\\server\share...". Paths that an undo step
// resolves from a location whose folder is unknown on this machine (an IDE that
// was removed, an empty install folder) come out relative or drive-relative
// ("Help\x", "\Help\x") and must not be acted on.
bool IsFullPath(const std::wstring& path);

// Splits "a\b\name" at its last backslash into key "a\b" and value name "name".
// False when there is no backslash.
bool SplitRegValuePath(const std::wstring& path, std::wstring& key, std::wstring& name);

// The folder of a file path: everything before its last backslash; the path
// itself when it has none.
std::wstring FolderOfPath(const std::wstring& path);

// Status line text of a record kind while it is undone; nullptr for kinds
// that keep the previous text.
const wchar_t* UndoStatusText(RowKind kind);

}  // namespace tessel::common
