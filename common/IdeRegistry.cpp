// The IDE's lists and files that the install extends and the uninstall takes back.
#include "common/IdeRegistry.h"

namespace tessel::common {

const wchar_t* SearchPathValueName(IdeIndex ideIndex) {
    return ideIndex == IdeIndex(1) ? L"SearchPath" : L"Search Path";
}

std::wstring LibraryKeyFor(const std::wstring& ideKey, const IdeVersion& ide, bool win64) {
    std::wstring key = ideKey + LibraryKey;
    if (ide.Is32and64) key += win64 ? Win64Key : Win32Key;
    return key;
}

std::vector<std::wstring> LibraryKeys(const std::wstring& ideKey, const IdeVersion& ide) {
    const std::wstring library = ideKey + LibraryKey;
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
