#include "common/UScriptKinds.h"

// Both programs need these: the setup writes the entries, the uninstaller removes them.
const wchar_t* const UninstallRootKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t* const WinHelpKey = L"Software\\Microsoft\\Windows\\Help";
