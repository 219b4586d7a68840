// Discovery of the installed IDE versions, and the current IDE of a location context.
#pragma once
#include <array>
#include <string>
#include <vector>
#include "common/IdeTable.h"
#include "common/Locations.h"

namespace tessel::common {

// What discovery found of one IDE version on this machine.
struct FoundIde {
    std::wstring RootDir;  // the registry's RootDir, no trailing backslash; kept even when unusable
    bool Exists = false;   // a usable installation: the root holds "bin" with the IDE's build tool
    // Its 64-bit IDE is installed too: "App x64" beside "App" names the root's
    // "bin64\bds.exe", and that file is there. Only for versions that can have one.
    bool Has64BitIde = false;
    // Its C++Builder has the Modern Win64 toolchain (Win64x): "bin64\bcc64x.exe"
    // in the root. Only for versions that can have it.
    bool HasModernCpp = false;
    // For the newer IDE the version its key names ("BDS\38.0": 38); 0 for the
    // table's own versions. IdeKeyOf(index, BdsVersion) is the IDE's key.
    uint32_t BdsVersion = 0;
};

// What discovery found, one record per IdeTable index: [1] .. [31]; [0] stays empty.
// Owned by whoever works with the machine's IDEs: the setup's install context
// (filled once when the choices are loaded) and the uninstall engine (per walk).
using InstalledIdes = std::array<FoundIde, IdeCount + 1>;

// Reads every IDE's RootDir from the registry and checks its folder, and
// whether the versions that can have one come with their 64-bit IDE and the
// Modern C++ toolchain. The newer IDE's record is the newest usable
// "BDS\<N>.0" with N above the table's versions (machine-wide keys and the
// user's alike); older ones above the table are not offered. The user's
// values, read where the machine has none, come from the registry profile's
// keys when one is given (common/IdeRegistry.h, UserKeyOf).
InstalledIdes FindInstalledIdes(const std::wstring& profile = std::wstring());

// What discovery finds of the IDE at index (for the newer IDE, of the version
// bdsVersion) under its key.
FoundIde FindIdeAt(IdeIndex index, uint32_t bdsVersion, const std::wstring& profile = std::wstring());

// The versions above the table that the machine's "BDS" keys name (machine-wide
// and the user's), newest first, each once. Pure: from the sub-key names.
std::vector<uint32_t> NewerBdsVersions(const std::vector<std::wstring>& subKeyNames);

// Makes the IDE of index (none: no IDE) with its package folder the context's
// current IDE; its root folder and key come from what discovery found. For the
// newer IDE, bdsVersion names the version (a record's); when it is not the one
// discovery found, that version's own key and root are read.
void SelectIde(LocationContext& context, const InstalledIdes& ides, IdeIndex index, const std::wstring& folder,
               uint32_t bdsVersion = 0);

// What discovery found of the IDE of a valid index.
inline const FoundIde& FoundOf(const InstalledIdes& ides, IdeIndex index) { return ides[index.Value]; }

}  // namespace tessel::common
