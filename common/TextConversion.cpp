// Code page conversions and lower-casing, from kernel32 alone.
#include "common/TextConversion.h"

#include <windows.h>

namespace tessel::common {

namespace {

std::string WideToBytes(UINT codePage, const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring BytesToWide(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return std::wstring();
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

}  // namespace

std::string ToAnsi(const std::wstring& text) { return WideToBytes(CP_ACP, text); }
std::wstring FromAnsi(const std::string& bytes) { return BytesToWide(CP_ACP, bytes); }
std::string ToUtf8(const std::wstring& text) { return WideToBytes(CP_UTF8, text); }
std::wstring FromUtf8(const std::string& bytes) { return BytesToWide(CP_UTF8, bytes); }

// The mapping CharLowerBuff does (the user's locale, no linguistic casing), but
// from kernel32: user32 would cost the modes without a window its start-up.
// Callers use positions found in the lowered text in the original, so only a
// result of the same length replaces the text.
std::wstring LowerWide(std::wstring text) {
    const int n = static_cast<int>(text.size());
    if (n == 0) return text;
    std::wstring lower(text.size(), L'\0');
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), n, &lower[0], n) == n) return lower;
    return text;
}

std::string LowerAnsi(std::string bytes) {
    const int n = static_cast<int>(bytes.size());
    if (n == 0) return bytes;
    std::string lower(bytes.size(), '\0');
    if (LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, bytes.data(), n, &lower[0], n) == n) return lower;
    return bytes;
}

}  // namespace tessel::common
