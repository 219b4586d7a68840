// The system's words for a Win32 error code.
#pragma once
#include <windows.h>
#include <string>

namespace tessel::common {

// The system's message text for a Win32 error code, without the trailing line
// break (the product's own text for FolderOpenToUsersError); empty when the
// system has none.
std::wstring SystemErrorText(DWORD code);

}  // namespace tessel::common
