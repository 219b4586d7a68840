// The product's identity: what the setup, the uninstall entry, the package
// registration and the logs call it.
#pragma once

namespace tessel::common {

inline constexpr const wchar_t* CompanyName = L"Veltrane";
inline constexpr const wchar_t* ProductName = L"Tessel library";
inline constexpr const wchar_t* ProductVersion = L"4.09";
inline constexpr const wchar_t* ShortName = L"Tessel";
// Ends with two CR LF pairs.
inline constexpr const wchar_t* ProductDescription =
    L"Tessel library - collection of components for working with the application settings.\r\n\r\n";

}  // namespace tessel::common
