// Pure path and text helpers (no Win32 calls).
#include "common/PathText.h"

namespace tessel::common {

std::wstring JoinPath(const std::wstring& base, const std::wstring& rel) {
    if (base.empty()) return rel;
    if (base.back() == L'\\') return base + rel;
    if (!rel.empty() && rel.front() != L'\\') return base + L"\\" + rel;
    return base + rel;
}

namespace {
template <typename S>
int FirstPos(const S& text, const S& pattern) {
    if (text.empty() || pattern.empty()) return 0;
    auto p = text.find(pattern);
    return p == S::npos ? 0 : static_cast<int>(p) + 1;
}
}  // namespace

int TextPos(const std::wstring& text, const std::wstring& pattern) { return FirstPos(text, pattern); }
int AnsiTextPos(const std::string& text, const std::string& pattern) { return FirstPos(text, pattern); }

int LastCharPos(const std::wstring& text, wchar_t ch) {
    auto p = text.rfind(ch);
    return p == std::wstring::npos ? 0 : static_cast<int>(p) + 1;
}

}  // namespace tessel::common
