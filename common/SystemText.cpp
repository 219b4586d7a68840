// The system's message text for an error code.
#include "common/SystemText.h"

#include "common/FolderSecurity.h"
#include "common/Handles.h"

namespace tessel::common {

std::wstring SystemErrorText(DWORD code) {
    if (code == FolderOpenToUsersError) return FolderOpenToUsersText;
    wchar_t* text = nullptr;
    const DWORD len =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    UniqueLocal owner(text);
    if (len == 0 || !text) return std::wstring();
    std::wstring result(text, len);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) result.pop_back();
    return result;
}

}  // namespace tessel::common
