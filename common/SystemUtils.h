// Registry, file, folder, process and version helpers shared by both programs.
// Failures are results: a Boolean, a Win32 error code, an empty string or error bits.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace tessel::common {

// Registry. Key paths are relative to the root and use "\".
bool ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value);
bool ReadRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value);
bool WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text);
bool WriteRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
bool CreateRegKey(HKEY root, const std::wstring& key);
bool DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name);
bool DeleteRegKey(HKEY root, const std::wstring& key);
void DeleteRegSubKeys(HKEY openKey);

// Folders and files.
// Creates the folder and every missing parent. 0 or a Win32 error code;
// a path longer than MAX_PATH-ish buffers is refused with ERROR_FILENAME_EXCED_RANGE.
DWORD CreateDirectoryPath(const std::wstring& path);

// Error bits of DeleteDirectoryTree (0 = everything deleted).
namespace DeleteTreeError {
inline constexpr uint32_t FileNotDeleted  = 0x80000002;
inline constexpr uint32_t FindCloseFailed = 0x80000004;
inline constexpr uint32_t DirNotRemoved   = 0x80000008;
inline constexpr uint32_t RootCloseFailed = 0x80000010;
inline constexpr uint32_t RootNotFound    = 0x80000020;
}  // namespace DeleteTreeError
// Deletes the folder's files and sub-folders, then the folder unless keepRoot.
// Links to folders (junctions, directory links, mounted folders) are never
// entered: the link itself is removed and its target left as it is.
uint32_t DeleteDirectoryTree(const std::wstring& path, bool keepRoot);

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
DWORD SaveResourceToFile(unsigned id, const std::wstring& fileName);
// The resource's bytes; false when it is missing (GetLastError tells why).
bool LoadPayload(unsigned id, const void*& data, DWORD& size);

// The whole file as ANSI bytes converted to UTF-16; empty when it cannot be opened.
std::wstring ReadTextFile(const std::wstring& fileName);
// The whole file as bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::wstring& fileName, std::string& bytes, DWORD shareMode = 0,
                   DWORD access = GENERIC_READ);

// Creates or replaces fileName (no sharing, normal attributes) with the bytes.
// 0 or the Win32 error code of the failed create or write.
DWORD WriteFileBytes(const std::wstring& fileName, const void* data, DWORD size);
inline DWORD WriteFileBytes(const std::wstring& fileName, const std::string& bytes) {
    return WriteFileBytes(fileName, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::wstring GetSpecialFolder(int csidl);

// Starts program (quoted when it holds a blank) with params, hidden, and waits.
// A batch file (.bat, .cmd) runs in the system folder's cmd.exe with /d.
// 0 when it ran, otherwise the Win32 error code of the failed start.
DWORD RunAndWait(const std::wstring& program, const std::wstring& params);
// RunAndWait's command line; systemDir is the system folder (of cmd.exe).
std::wstring CommandLineFor(const std::wstring& program, const std::wstring& params,
                            const std::wstring& systemDir);

// The product version from the file's version resource, read from its bytes.
bool GetFileProductVersion(const std::wstring& fileName, DWORD& ms, DWORD& ls);

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
