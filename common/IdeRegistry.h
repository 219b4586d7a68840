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

// The library key a row extends below the IDE's key ideKey: "\Library", with
// "\Win64" (win64) or "\Win32" for IDEs that keep separate lists per platform.
std::wstring LibraryKeyFor(const std::wstring& ideKey, const IdeVersion& ide, bool win64);

// Every library key whose search path an install may have extended, for the
// uninstall: "\Library", for IDEs with per-platform lists also both of those,
// and "\Win64x" for the IDEs that can have the Modern C++ toolchain.
std::vector<std::wstring> LibraryKeys(const std::wstring& ideKey, const IdeVersion& ide);

// Whether helpIndex (the Param of an AppendText row or record) names one of
// an IDE's three help-configuration files.
constexpr bool IsHelpFileIndex(uint32_t helpIndex) { return helpIndex >= 1 && helpIndex <= 3; }

// The help-configuration file (a name relative to the IDE's help folder) that
// an AppendText row or record with Param helpIndex (1..3) names for the IDE at
// ideIndex; nullptr when the index is out of range or the IDE has no such file.
const wchar_t* HelpFileOf(IdeIndex ideIndex, uint32_t helpIndex);

}  // namespace tessel::common
