// The IDE's lists and files that the install extends and the uninstall takes back.
#include "common/IdeRegistry.h"

namespace tessel::common {

const wchar_t* SearchPathValueName(IdeIndex ideIndex) {
    return ideIndex == IdeIndex(1) ? L"SearchPath" : L"Search Path";
}

bool IsValidProfileName(const std::wstring& name) {
    if (name.empty() || name.size() > MaxProfileName || name.front() == L'.' || name.back() == L'.' ||
        name.find(L"..") != std::wstring::npos)
        return false;
    for (wchar_t c : name) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                           c == L'_' || c == L'-' || c == L'.';
        if (!plain) return false;
    }
    return true;
}

std::wstring UserKeyOf(const std::wstring& ideKey, const std::wstring& profile) {
    if (profile.empty()) return ideKey;
    const size_t version = ideKey.rfind(L'\\');
    const size_t name = version == std::wstring::npos || version == 0 ? std::wstring::npos : ideKey.rfind(L'\\', version - 1);
    if (name == std::wstring::npos) return ideKey;
    return ideKey.substr(0, name + 1) + profile + ideKey.substr(version);
}

std::wstring UserKeyOf(const LocationContext& at) {
    return at.CurrentIde.IsValid() && !at.IdeKey.empty() ? UserKeyOf(at.IdeKey, at.Profile) : std::wstring();
}

std::wstring LibraryKeyFor(const IdeVersion& ide, const std::wstring& userKey, bool win64) {
    std::wstring key = userKey + LibraryKey;
    if (ide.Is32and64) key += win64 ? Win64Key : Win32Key;
    return key;
}

std::vector<std::wstring> LibraryKeys(const IdeVersion& ide, const std::wstring& userKey) {
    const std::wstring library = userKey + LibraryKey;
    std::vector<std::wstring> keys{library};
    if (ide.Is32and64) {
        keys.push_back(library + Win32Key);
        keys.push_back(library + Win64Key);
    }
    if (CanHaveModernCpp(ide)) keys.push_back(library + Win64xKey);
    return keys;
}

const wchar_t* HelpFileOf(IdeIndex ideIndex, uint32_t helpIndex) {
    if (!ideIndex.IsValid() || !IsHelpFileIndex(helpIndex)) return nullptr;
    return IdeOf(ideIndex).HelpStr[helpIndex - 1];
}

}  // namespace tessel::common
