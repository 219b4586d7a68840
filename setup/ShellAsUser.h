// Opening a web address for the user who started the elevated setup.
#pragma once
#include <windows.h>
#include <string>

namespace tessel::setup {

// Opens address through the desktop's own shell, which starts the browser in
// its process, as the user the desktop belongs to: never from this elevated
// process, whose browser would run as administrator. 0, or the failure (an
// HRESULT, or ERROR_NOT_FOUND when there is no desktop shell to ask); nothing
// is opened then.
[[nodiscard]] DWORD OpenAsDesktopUser(const std::wstring& address);

}  // namespace tessel::setup
