// Finding the installed IDE versions and their folders in the registry.
#include "common/IdeDiscovery.h"

#include "common/PathText.h"
#include "common/Files.h"
#include "common/IdeRegistry.h"
#include "common/Registry.h"
#include "common/TextConversion.h"

namespace tessel::common {

namespace {

// An IDE counts as installed when its root folder holds "bin" with the tool that
// builds its packages: dcc32.exe for Delphi, make.exe for C++Builder 3 to 6.
bool HasUsableRoot(const IdeVersion& ide, const std::wstring& rootDir) {
    if (!DirectoryExists(rootDir)) return false;
    const std::wstring bin = JoinPath(rootDir, L"bin");
    if (!DirectoryExists(bin)) return false;
    return PathExists(JoinPath(bin, ide.IsDelphi ? L"dcc32.exe" : L"make.exe"));
}

// The 64-bit IDE is there when "App x64" (machine-wide first, like RootDir)
// names the root's "bin64\bds.exe" and that file exists. Its keys are no
// evidence: "Known Packages x64" is made by IDEs that lack it.
bool Has64BitIde(const IdeVersion& ide, const std::wstring& userKey, const std::wstring& rootDir) {
    std::wstring app;
    if (ReadRegString(HKEY_LOCAL_MACHINE, ide.RegKey, L"App x64", app) != 0 &&
        ReadRegString(HKEY_CURRENT_USER, userKey, L"App x64", app) != 0)
        return false;
    const std::wstring expected = JoinPath(rootDir, L"bin64\\bds.exe");
    return LowerWide(app) == LowerWide(expected) && PathExists(expected) && !DirectoryExists(expected);
}

}  // namespace

InstalledIdes FindInstalledIdes(const std::wstring& profile) {
    InstalledIdes found;
    for (int i = 1; i <= IdeCount; ++i) {
        const IdeVersion& ide = IdeTable[i];
        FoundIde& at = found[i];
        const std::wstring userKey = UserKeyOf(ide, profile);
        // Machine-wide first; only when that read fails, the user's own value.
        at.Exists = ReadRegString(HKEY_LOCAL_MACHINE, ide.RegKey, L"RootDir", at.RootDir) == 0;
        if (!at.Exists) at.Exists = ReadRegString(HKEY_CURRENT_USER, userKey, L"RootDir", at.RootDir) == 0;
        while (!at.RootDir.empty() && at.RootDir.back() == L'\\') at.RootDir.pop_back();
        if (at.Exists) at.Exists = HasUsableRoot(ide, at.RootDir);
        at.Has64BitIde = at.Exists && ide.Can64BitIde && Has64BitIde(ide, userKey, at.RootDir);
    }
    return found;
}

void SelectIde(LocationContext& context, const InstalledIdes& ides, IdeIndex index, const std::wstring& folder) {
    context.CurrentIde = index;
    context.IdeFolder = folder;
    context.IdeRoot = index.IsValid() ? FoundOf(ides, index).RootDir : std::wstring();
}

}  // namespace tessel::common
