// The deployment switches of setup.exe, for build agents and deployment tools:
// /IDE=<list>, /ITEMS=<list>, /PROFILE=<name>, /LOG=<file> and /LIST. They
// choose what the unattended install (or the wizard, as its ticked lines)
// starts from; the mode switches (setup/CommandLine.h) pass over them. Pure:
// plain values in, plain values out.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "common/IdeDiscovery.h"
#include "common/IdeNumbers.h"

namespace tessel::setup {

struct DeploymentSwitches {
    bool HasIdes = false;  // /IDE= was given: exactly these IDEs (an empty list: none)
    std::vector<std::wstring> Ides;
    bool HasItems = false;  // /ITEMS= was given: exactly these other items
    std::vector<std::wstring> Items;
    std::wstring Profile;  // /PROFILE=: the IDEs' registry profile; empty: the IDEs' own keys
    std::wstring LogPath;  // /LOG=: where a copy of install.log goes; empty: none
    bool List = false;     // /LIST: list the IDEs found, change nothing
    // Switches whose value cannot be taken (an invalid profile name, an empty
    // /LOG=), one line each for install.log: the run is refused.
    std::vector<std::wstring> Errors;
};

// Whether arg is one of these switches ("/", "-" or "\" and the name, case-blind;
// all but /LIST with "=" and a value).
bool IsDeploymentSwitch(const std::wstring& arg);
// The deployment switches among args (without the program name); a repeated
// switch: the last one counts.
DeploymentSwitches ParseDeploymentSwitches(const std::vector<std::wstring>& args);

// The names /ITEMS= takes for the items that belong to no IDE.
struct ItemName {
    const wchar_t* Name;
    common::ItemMask Bit;
};
extern const ItemName ItemNames[3];

// What the lists choose on this machine.
struct ChosenNames {
    common::IdeMask Ides;
    common::ItemMask Items;
    std::vector<std::wstring> Unknown;  // names no IDE or item has
    std::vector<std::wstring> Missing;  // IDEs named that are not installed (or lack the profile's key)
};
// hasProfileKey(index): whether the profile's key of that IDE exists (asked
// only with a profile). A newer IDE's name ("bds38") counts as missing: no
// row of this table can install it.
ChosenNames ResolveChosenNames(const DeploymentSwitches& switches, const common::InstalledIdes& ides,
                               const std::function<bool(common::IdeIndex)>& hasProfileKey);

// The IDE page's ticked lines once the lists are applied to current: the
// lines of IDE items become exactly the IDEs chosen (when /IDE= was given),
// the others exactly the items chosen (when /ITEMS= was given).
common::LineMask ApplyChosenLines(common::LineMask current, const ChosenNames& chosen, bool hasIdes, bool hasItems);

// install.log's lines for a run the names refused.
std::vector<std::wstring> RefusalLines(const ChosenNames& chosen);

// The line /LIST writes for one IDE found: short name ("bds<N>" for the newer
// IDE), registry version, root, and whether its 64-bit IDE and the Modern C++
// toolchain are there.
std::wstring IdeListLine(common::IdeIndex index, const common::FoundIde& found);

}  // namespace tessel::setup
