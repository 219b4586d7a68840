// Pure text and path operations: no Win32 calls, so they are tested directly
// and can be built natively.
#pragma once
#include <string>

namespace tessel::common {

// Joins with exactly one backslash between a non-empty base and a relative part:
// base ending in "\" -> base + rel; rel empty or starting with "\" -> base + rel;
// empty base -> rel; otherwise base + "\" + rel. "/" is not a separator.
std::wstring JoinPath(const std::wstring& base, const std::wstring& rel);

// 1-based position of the first occurrence of pattern in text; 0 when absent
// or when either is empty. Exact comparison.
int TextPos(const std::wstring& text, const std::wstring& pattern);
int AnsiTextPos(const std::string& text, const std::string& pattern);

// 1-based position of the last occurrence of ch; 0 when absent or text is empty.
int LastCharPos(const std::wstring& text, wchar_t ch);

}  // namespace tessel::common
