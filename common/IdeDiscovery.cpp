// Finding the installed IDE versions and their folders in the registry.
#include "common/IdeDiscovery.h"

#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/SystemUtils.h"

namespace tessel::common {

namespace {

// An IDE counts as installed when its root folder holds "bin" with the tool that
// builds its packages: dcc32.exe for Delphi, make.exe for C++Builder 3 to 6.
bool HasUsableRoot(const IdeVersion& ide) {
    if (!DirectoryExists(ide.RootDir)) return false;
    const std::wstring bin = JoinPath(ide.RootDir, L"bin");
    if (!DirectoryExists(bin)) return false;
    return PathExists(JoinPath(bin, ide.IsDelphi ? L"dcc32.exe" : L"make.exe"));
}

}  // namespace

void FindBorlandProducts() {
    for (int i = 1; i <= IdeCount; ++i) {
        IdeVersion& ide = IdeTable[i];
        // Machine-wide first; only when that read fails, the user's own value.
        ide.Exists = ReadRegString(HKEY_LOCAL_MACHINE, ide.RegKey, L"RootDir", ide.RootDir);
        if (!ide.Exists) ide.Exists = ReadRegString(HKEY_CURRENT_USER, ide.RegKey, L"RootDir", ide.RootDir);
        while (!ide.RootDir.empty() && ide.RootDir.back() == L'\\') ide.RootDir.pop_back();
        if (ide.Exists) ide.Exists = HasUsableRoot(ide);
    }
}

}  // namespace tessel::common
