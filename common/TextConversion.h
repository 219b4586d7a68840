// Text between UTF-16 and the system code page or UTF-8, and lower-casing.
// Plain functions of their text: an empty result where a conversion fails.
#pragma once
#include <string>

namespace tessel::common {

// ANSI (system code page) and UTF-8 conversions.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& bytes);
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);
// Lower-casing with the system's rules.
std::wstring LowerWide(std::wstring text);
std::string LowerAnsi(std::string bytes);

}  // namespace tessel::common
