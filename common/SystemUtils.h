// Registry, file, folder, process and version helpers shared by both programs.
// Failures are Win32 error codes (0 = success), as common/Errors.h describes.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// Registry. Key paths are relative to the root and use "\". A missing key or
// value reads as ERROR_FILE_NOT_FOUND, a string value of another type as
// ERROR_UNSUPPORTED_TYPE; value is then cleared (0).
[[nodiscard]] DWORD ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value);
[[nodiscard]] DWORD ReadRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value);
[[nodiscard]] DWORD WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name,
                                   const std::wstring& text);
[[nodiscard]] DWORD WriteRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
[[nodiscard]] DWORD CreateRegKey(HKEY root, const std::wstring& key);
[[nodiscard]] DWORD DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name);
// Deletes the key with everything below it, then every ancestor that held
// nothing else. The error is the key's own; an ancestor that stays is no failure.
[[nodiscard]] DWORD DeleteRegKey(HKEY root, const std::wstring& key);
// Deletes every sub-key of openKey (all are tried; the first failure is the result).
[[nodiscard]] DWORD DeleteRegSubKeys(HKEY openKey);

// Folders and files.
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

// Writes payload resource id (type "QVLIB" in PayloadModule) to fileName, replacing it.
[[nodiscard]] DWORD SaveResourceToFile(unsigned id, const std::wstring& fileName);
// The resource's bytes; ERROR_RESOURCE_DATA_NOT_FOUND (or the system's reason) when it is missing.
[[nodiscard]] DWORD LoadPayload(unsigned id, const void*& data, DWORD& size);

// The whole file as ANSI bytes converted to UTF-16; empty when it cannot be opened.
std::wstring ReadTextFile(const std::wstring& fileName);
// The whole file as bytes (empty on failure). ERROR_FILE_TOO_LARGE from 2 GB on.
[[nodiscard]] DWORD ReadFileBytes(const std::wstring& fileName, std::string& bytes, DWORD shareMode = 0,
                                  DWORD access = GENERIC_READ);

// Creates or replaces fileName (no sharing, normal attributes) with the bytes.
// 0 or the Win32 error code of the failed create or write.
[[nodiscard]] DWORD WriteFileBytes(const std::wstring& fileName, const void* data, DWORD size);
[[nodiscard]] inline DWORD WriteFileBytes(const std::wstring& fileName, const std::string& bytes) {
    return WriteFileBytes(fileName, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::wstring GetSpecialFolder(int csidl);

// What StartAndWait starts, where, and how long it waits.
struct ProcessStart {
    std::wstring CommandLine;
    std::wstring WorkingDir;  // the process's current folder; empty: this process's own
    DWORD TimeoutMs = INFINITE;
    HANDLE Output = nullptr;  // inheritable handle taking standard output and error, or none
};
struct ProcessEnd {
    bool Finished = false;  // it ended within the wait; ExitCode is its
    DWORD ExitCode = 0;
};
// The one process starter: starts the command line hidden (no window, default
// security, only Output inherited) and waits up to TimeoutMs. A process still
// running then is left to run, until this program ends: the started
// processes end with it (ChildProcessJob.h); end says so. 0 when it was started, otherwise
// the Win32 error of the start (ERROR_INTERNAL_ERROR, a passing failure seen
// under load, is tried again a few times first).
[[nodiscard]] DWORD StartAndWait(const ProcessStart& start, ProcessEnd& end);

// How long a program or batch file of the install or the uninstall is waited
// for: long enough for any help registration on a slow machine, so that only a
// program that hangs is left behind (the run goes on as after its end).
inline constexpr DWORD ProgramTimeoutMs = 10 * 60 * 1000;
// Starts program (quoted when it holds a blank) with params in workingDir and
// waits up to timeoutMs. A batch file (.bat, .cmd) runs in the system folder's
// cmd.exe with /d. 0 when it ran, otherwise the Win32 error code of the failed start.
[[nodiscard]] DWORD RunAndWait(const std::wstring& program, const std::wstring& params, const std::wstring& workingDir,
                               DWORD timeoutMs = ProgramTimeoutMs);
// RunAndWait's command line; systemDir is the system folder (of cmd.exe).
std::wstring CommandLineFor(const std::wstring& program, const std::wstring& params, const std::wstring& systemDir);

// The product version from the file's version resource, read from its bytes;
// ERROR_RESOURCE_TYPE_NOT_FOUND when the file has none.
[[nodiscard]] DWORD GetFileProductVersion(const std::wstring& fileName, DWORD& ms, DWORD& ls);

// True when a directory search for path finds at least one entry (file, folder or mask match).
bool PathExists(const std::wstring& path);
// True when path names an existing folder.
bool DirectoryExists(const std::wstring& path);

// The system's message text for a Win32 error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

// ANSI (system code page) conversions.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& bytes);
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);
// Lower-casing with the system's rules.
std::wstring LowerWide(std::wstring text);
std::string LowerAnsi(std::string bytes);

}  // namespace tessel::common
