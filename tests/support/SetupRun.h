// Runs the built setup.exe from a test and looks at what it left in a folder.
#pragma once
#include <windows.h>
#include <set>
#include <string>

// setup.exe of this build tree.
std::wstring SetupExePath();

// A new empty folder below C:\ named after tag (an older one of that name is removed first).
std::wstring FreshFolder(const std::wstring& tag);

// Relative paths ("\" separators) of every file and every folder below root.
void ListTree(const std::wstring& root, std::set<std::wstring>& files, std::set<std::wstring>& folders);
