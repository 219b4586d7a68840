// Files that tests lay out on the machine before a run.
#pragma once
#include <string>

// Writes content to path, creating the folders on the way; a failure is a test failure.
void MakeFile(const std::wstring& path, const std::string& content = "x");
