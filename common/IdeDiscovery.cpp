// Finding the installed IDE versions and their folders in the registry.
#include "common/IdeDiscovery.h"

#include <algorithm>

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
    if (rootDir.empty() || !DirectoryExists(rootDir)) return false;
    const std::wstring bin = JoinPath(rootDir, L"bin");
    if (!DirectoryExists(bin)) return false;
    return PathExists(JoinPath(bin, ide.IsDelphi ? L"dcc32.exe" : L"make.exe"));
}

// The 64-bit IDE is there when "App x64" (machine-wide first, like RootDir)
// names the root's "bin64\bds.exe" and that file exists. Its keys are no
// evidence: "Known Packages x64" is made by IDEs that lack it.
bool Has64BitIde(const std::wstring& regKey, const std::wstring& userKey, const std::wstring& rootDir) {
    std::wstring app;
    if (ReadRegString(HKEY_LOCAL_MACHINE, regKey, L"App x64", app) != 0 &&
        ReadRegString(HKEY_CURRENT_USER, userKey, L"App x64", app) != 0)
        return false;
    const std::wstring expected = JoinPath(rootDir, L"bin64\\bds.exe");
    return LowerWide(app) == LowerWide(expected) && PathExists(expected) && !DirectoryExists(expected);
}

// The Modern Win64 toolchain installs its compiler as "bin64\bcc64x.exe" in the
// IDE's root; an IDE without it has no such file.
bool HasModernCpp(const std::wstring& rootDir) {
    const std::wstring compiler = JoinPath(rootDir, L"bin64\\bcc64x.exe");
    return PathExists(compiler) && !DirectoryExists(compiler);
}

// "38.0" gives 38; anything else (another minor, leading zeros, letters) 0.
uint32_t BdsVersionOfKeyName(const std::wstring& name) {
    const size_t dot = name.find(L'.');
    if (dot == 0 || dot == std::wstring::npos || name.substr(dot) != L".0" || dot > 3 || name[0] == L'0') return 0;
    uint32_t version = 0;
    for (size_t i = 0; i < dot; ++i) {
        if (name[i] < L'0' || name[i] > L'9') return 0;
        version = version * 10 + static_cast<uint32_t>(name[i] - L'0');
    }
    return version;
}

std::vector<std::wstring> BdsSubKeys(HKEY root) {
    std::vector<std::wstring> names;
    RegKey key;
    if (key.Open(root, IdeOf(IdeIndex(NewerIdeSlot)).RegKey, KEY_READ) != 0) return names;
    for (const std::wstring& name : key.SubKeys()) names.push_back(name);
    return names;
}

}  // namespace

std::vector<uint32_t> NewerBdsVersions(const std::vector<std::wstring>& subKeyNames) {
    std::vector<uint32_t> versions;
    for (const std::wstring& name : subKeyNames) {
        const uint32_t version = BdsVersionOfKeyName(name);
        if (IsNewerBdsVersion(version) && std::find(versions.begin(), versions.end(), version) == versions.end())
            versions.push_back(version);
    }
    std::sort(versions.rbegin(), versions.rend());
    return versions;
}

FoundIde FindIdeAt(IdeIndex index, uint32_t bdsVersion, const std::wstring& profile) {
    FoundIde at;
    at.BdsVersion = IsNewerIdeSlot(index) ? bdsVersion : 0;
    const std::wstring regKey = IdeKeyOf(index, at.BdsVersion);
    if (!index.IsValid() || regKey.empty()) return at;
    const IdeVersion& ide = IdeOf(index);
    const std::wstring userKey = UserKeyOf(regKey, profile);
    // Machine-wide first; only when that read fails, the user's own value.
    at.Exists = ReadRegString(HKEY_LOCAL_MACHINE, regKey, L"RootDir", at.RootDir) == 0;
    if (!at.Exists) at.Exists = ReadRegString(HKEY_CURRENT_USER, userKey, L"RootDir", at.RootDir) == 0;
    while (!at.RootDir.empty() && at.RootDir.back() == L'\\') at.RootDir.pop_back();
    if (at.Exists) at.Exists = HasUsableRoot(ide, at.RootDir);
    at.Has64BitIde = at.Exists && ide.Can64BitIde && Has64BitIde(regKey, userKey, at.RootDir);
    at.HasModernCpp = at.Exists && CanHaveModernCpp(ide) && HasModernCpp(at.RootDir);
    return at;
}

InstalledIdes FindInstalledIdes(const std::wstring& profile) {
    InstalledIdes found;
    for (int i = 1; i <= IdeCount; ++i) {
        const IdeIndex index(i);
        if (!IsNewerIdeSlot(index)) {
            found[i] = FindIdeAt(index, 0, profile);
            continue;
        }
        // The newest version that is usable; a key without a usable root is passed over.
        std::vector<std::wstring> names = BdsSubKeys(HKEY_LOCAL_MACHINE);
        for (const std::wstring& name : BdsSubKeys(HKEY_CURRENT_USER)) names.push_back(name);
        for (uint32_t version : NewerBdsVersions(names)) {
            found[i] = FindIdeAt(index, version, profile);
            if (found[i].Exists) break;
        }
        if (!found[i].Exists) found[i] = FoundIde();
    }
    return found;
}

void SelectIde(LocationContext& context, const InstalledIdes& ides, IdeIndex index, const std::wstring& folder,
               uint32_t bdsVersion) {
    context.CurrentIde = index;
    context.IdeFolder = folder;
    context.IdeRoot.clear();
    context.IdeKey.clear();
    if (!index.IsValid()) return;
    const FoundIde& found = FoundOf(ides, index);
    // A record of a newer version that is not the newest here: its own root.
    const bool otherVersion = IsNewerIdeSlot(index) && bdsVersion != found.BdsVersion;
    context.IdeRoot = otherVersion ? FindIdeAt(index, bdsVersion).RootDir : found.RootDir;
    context.IdeKey = IdeKeyOf(index, bdsVersion);
}

}  // namespace tessel::common
