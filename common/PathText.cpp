// Pure path and text helpers (no Win32 calls).
#include "common/PathText.h"

namespace tessel::common {

std::wstring JoinPath(const std::wstring& base, const std::wstring& rel) {
    if (base.empty()) return rel;
    if (base.back() == L'\\') return base + rel;
    if (!rel.empty() && rel.front() != L'\\') return base + L"\\" + rel;
    return base + rel;
}

std::wstring FolderOfPath(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

bool SplitRegValuePath(const std::wstring& path, std::wstring& key, std::wstring& name) {
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return false;
    key = path.substr(0, slash);
    name = path.substr(slash + 1);
    return true;
}

}  // namespace tessel::common
