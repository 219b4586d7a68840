// Extract mode: the script's folders and payload files are written below the
// current directory, without compiling, registering or logging anything.
#pragma once
#include <windows.h>

namespace tessel::setup {

// 0 when every folder and file was written, otherwise the Win32 error of the
// first that was not (every one is tried). setup.exe /X exits 1 then.
[[nodiscard]] DWORD ExtractPayload();

}  // namespace tessel::setup
