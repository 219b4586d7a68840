// The stable short names by which a command line chooses IDEs (setup.exe
// /IDE=, /LIST), one per offered row of the IDE table, keyed by its index, and
// the name form "bds<N>" reserved for an IDE newer than the table. The names
// are an interface of deployment scripts: once given, a name never changes.
// Pure: no Win32 calls.
#pragma once
#include <string>
#include "common/IdeTable.h"

namespace tessel::common {

// The short name of the IDE at index; nullptr for one that is not offered, for
// the newer IDE (named "bds<N>" after the version found) or an index that names none.
const wchar_t* IdeShortName(IdeIndex index);

// The IDE whose short name is name (compared case-blind); none when no row has it.
IdeIndex IdeOfShortName(const std::wstring& name);

// The oldest registry version number that the table does not hold: a newer
// IDE's key is "BDS\<N>.0" with N at least this.
constexpr int FirstNewerIdeNumber = static_cast<int>(NewestTableBdsVersion) + 1;
// The number N of a name "bds<N>" (case-blind, N in decimal without leading
// zeros, FirstNewerIdeNumber to 999); 0 for any other name.
int NewerIdeNumberOfName(const std::wstring& name);

}  // namespace tessel::common
