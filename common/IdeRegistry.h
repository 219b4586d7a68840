// Where an IDE keeps the lists and files that the install extends and the
// uninstall takes back: both sides name them through here, so they always
// agree. Pure: names and keys from the IDE table, no Win32 calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "common/IdeTable.h"

namespace tessel::common {

// The value name of the library search path of the IDE at ideIndex: only the
// oldest IDE spells it without a blank.
const wchar_t* SearchPathValueName(IdeIndex ideIndex);

// A registry profile's name as the install takes it (setup.exe /PROFILE=, the
// undo record of an IDE selected with it): 1 to 64 letters, digits, "_", "-"
// and ".", not starting or ending with "." and without "..". It becomes one
// key name below every IDE's vendor key, so nothing else gets through.
constexpr size_t MaxProfileName = 64;
bool IsValidProfileName(const std::wstring& name);

// The per-user key of an IDE's settings, for its key ideKey (IdeKeyOf): that
// key, or with a registry profile (an IDE started with "-r <profile>") the
// profile's key beside it, whose name takes the place of the name before the
// version: "Software\Embarcadero\BDS\37.0" with "CI" is "Software\Embarcadero\CI\37.0".
std::wstring UserKeyOf(const std::wstring& ideKey, const std::wstring& profile);
// The per-user key of the context's current IDE; empty without one.
std::wstring UserKeyOf(const LocationContext& at);

// The library key a row extends below userKey (the IDE's per-user key):
// "\Library", with "\Win64" (win64) or "\Win32" for IDEs that keep separate
// lists per platform.
std::wstring LibraryKeyFor(const IdeVersion& ide, const std::wstring& userKey, bool win64);

// Every library key whose search path an install may have extended, for the
// uninstall: "\Library", for IDEs with per-platform lists also both of those,
// and "\Win64x" for the IDEs that can have the Modern C++ toolchain.
std::vector<std::wstring> LibraryKeys(const IdeVersion& ide, const std::wstring& userKey);

// Whether helpIndex (the Param of an AppendText row or record) names one of
// an IDE's three help-configuration files.
constexpr bool IsHelpFileIndex(uint32_t helpIndex) { return helpIndex >= 1 && helpIndex <= 3; }

// The help-configuration file (a name relative to the IDE's help folder) that
// an AppendText row or record with Param helpIndex (1..3) names for the IDE at
// ideIndex; nullptr when the index is out of range or the IDE has no such file.
const wchar_t* HelpFileOf(IdeIndex ideIndex, uint32_t helpIndex);

}  // namespace tessel::common
