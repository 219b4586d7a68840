// Pure text and path operations: no Win32 calls, so they are tested directly
// and can be built natively.
#pragma once
#include <string>

namespace tessel::common {

// Joins with exactly one backslash between a non-empty base and a relative part:
// base ending in "\" -> base + rel; rel empty or starting with "\" -> base + rel;
// empty base -> rel; otherwise base + "\" + rel. "/" is not a separator.
std::wstring JoinPath(const std::wstring& base, const std::wstring& rel);

// The folder of a file path: everything before its last backslash; the path
// itself when it has none.
std::wstring FolderOfPath(const std::wstring& path);

// Splits "a\b\name" at its last backslash into key "a\b" and value name "name".
// False (key and name untouched) when there is no backslash.
bool SplitRegValuePath(const std::wstring& path, std::wstring& key, std::wstring& name);

}  // namespace tessel::common
