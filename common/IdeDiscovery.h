// Discovery of the installed IDE versions, and the current IDE of a location context.
#pragma once
#include <array>
#include <string>
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
};

// What discovery found, one record per IdeTable index: [1] .. [30]; [0] stays empty.
// Owned by whoever works with the machine's IDEs: the setup's install context
// (filled once when the choices are loaded) and the uninstall engine (per walk).
using InstalledIdes = std::array<FoundIde, IdeCount + 1>;

// Reads every IDE's RootDir from the registry and checks its folder, and
// whether the versions that can have one come with their 64-bit IDE. The
// user's values, read where the machine has none, come from the registry
// profile's keys when one is given (common/IdeRegistry.h, UserKeyOf).
InstalledIdes FindInstalledIdes(const std::wstring& profile = std::wstring());

// Makes the IDE of index (none: no IDE) with its package folder the context's
// current IDE; its root folder comes from what discovery found.
void SelectIde(LocationContext& context, const InstalledIdes& ides, IdeIndex index, const std::wstring& folder);

// What discovery found of the IDE of a valid index.
inline const FoundIde& FoundOf(const InstalledIdes& ides, IdeIndex index) { return ides[index.Value]; }

}  // namespace tessel::common
