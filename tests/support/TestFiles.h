// Files that tests lay out on the machine before a run, and read after it.
#pragma once
#include <windows.h>
#include <string>

// Writes content to path, creating the folders on the way; a failure is a test failure.
void MakeFile(const std::wstring& path, const std::string& content = "x");
// Writes bytes to path (the folder must exist); false when it cannot.
[[nodiscard]] bool WriteBytes(const std::wstring& path, const std::string& bytes);

// The install log's text (UTF-16LE, as the runner writes it) in dir; empty when
// it cannot be read. A trailing odd byte is dropped.
std::wstring InstallLogText(const std::wstring& dir);

// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::wstring& path);
// A registry string value; "<missing>" when it cannot be read.
std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name);
// Whether the key can be opened for reading.
bool KeyExists(HKEY root, const std::wstring& key);

// A Unix symbolic link made from the host, which a program under Wine sees as
// a folder link (FILE_ATTRIBUTE_REPARSE_POINT). False where it cannot be made.
bool MakeHostFolderLink(const std::wstring& link, const std::wstring& target);
