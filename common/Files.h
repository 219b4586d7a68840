// Folders, files and links: creating folder paths, opening without following
// links, holding folders, removing trees, and whether a path is there.
// Failures are Win32 error codes (0 = success), as common/Errors.h describes.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// Creates the folder and every missing parent, each with security (the
// parent's inherited list when null). 0 or a Win32 error code; a path longer
// than MAX_PATH-ish buffers is refused with ERROR_FILENAME_EXCED_RANGE.
[[nodiscard]] DWORD CreateDirectoryPath(const std::wstring& path, SECURITY_ATTRIBUTES* security = nullptr);

// Links. Junctions, directory and file links and mounted folders all carry
// FILE_ATTRIBUTE_REPARSE_POINT.
constexpr bool IsLinkAttributes(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
// The error of a path that passes through a link where none may be.
inline constexpr DWORD LinkInPathError = ERROR_CANT_RESOLVE_FILENAME;

// Opens path itself, never what a link there leads to, with access (plus
// reading attributes) and without delete sharing: while the handle is open,
// nobody else can rename, remove or replace what it names. attributes are the
// opened object's. 0 or the Win32 error of the open.
[[nodiscard]] DWORD OpenNoFollow(const std::wstring& path, DWORD access, UniqueFile& handle, DWORD& attributes);
// Removes what handle names (opened with DELETE) when it closes; 0 or the
// Win32 error (ERROR_DIR_NOT_EMPTY for a folder that still holds something).
[[nodiscard]] DWORD DeleteOnClose(UniqueFile& handle);

// The folders from base down to base\relative, one name at a time, each held
// open as OpenNoFollow does, so that none of them can be swapped for a link
// while the holder lives. Hold refuses with LinkInPathError a link anywhere
// on the way, base included (base is not checked when relative is empty:
// base is then the target itself).
class HeldFolders {
public:
    enum class Reach {
        Parent,  // every folder above relative's last name; all must exist
        Create,  // relative's folders as well, creating those that are missing
    };
    [[nodiscard]] DWORD Hold(const std::wstring& base, const std::wstring& relative, Reach reach);

private:
    std::vector<UniqueFile> folders_;
};

// Deletes the folder's files and sub-folders, then the folder unless keepRoot.
// Links to folders (junctions, directory links, mounted folders) are never
// entered: the link itself is removed and its target left as it is. Each entry
// is opened as OpenNoFollow does and judged and removed through its handle, so
// an entry swapped for a link after the listing is not followed either. Every
// entry is tried; 0, or the first failure's Win32 error, except that a folder
// that stayed is the result (ERROR_DIR_NOT_EMPTY when something stayed in it),
// and a missing folder is ERROR_FILE_NOT_FOUND (ERROR_PATH_NOT_FOUND) unless
// keepRoot (nothing to clear: 0).
[[nodiscard]] DWORD DeleteDirectoryTree(const std::wstring& path, bool keepRoot);

// The files that take a compiler's output during an install: "~qvcompile<pid>-<n>.tmp"
// in the install folder, deleted when closed. A run killed during a compile
// can leave one behind; the next run and the uninstall delete such leftovers
// (plain files of that name only; a link goes itself, not what it points to).
inline constexpr const wchar_t* CompilerOutputPrefix = L"~qvcompile";
void RemoveCompilerOutputLeftovers(const std::wstring& folder);
// What the tree removal does with one entry of a folder's listing, given its
// attributes and name as the directory search reports them.
enum class TreeEntry {
    Skip,        // "." and ".." (and any folder whose name starts with a dot)
    Recurse,     // a folder: empty it, then remove it
    RemoveLink,  // a link to a folder: remove the link, never enter it
    RemoveFile,  // a file, or a link to one
};
TreeEntry TreeEntryAction(DWORD attributes, const wchar_t* name);

// True when a directory search for path finds at least one entry (file, folder or mask match).
bool PathExists(const std::wstring& path);
// True when path names an existing folder.
bool DirectoryExists(const std::wstring& path);

}  // namespace tessel::common
