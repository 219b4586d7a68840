// The shell's known folders (CSIDL_*), through the window-library table.
#pragma once
#include <string>

namespace tessel::common {

// The folder's path; empty when the shell does not know it.
std::wstring GetShellFolder(int csidl);

}  // namespace tessel::common
