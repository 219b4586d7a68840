// Pure decisions of the undo steps: which folders may be removed as a tree,
// and which paths are full ones. No Win32 calls.
#pragma once
#include <string>

namespace tessel::common {

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

}  // namespace tessel::common
