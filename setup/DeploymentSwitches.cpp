// The deployment switches: parsing, name resolution and the texts they give.
#include "setup/DeploymentSwitches.h"

#include "common/IdeRegistry.h"
#include "common/IdeShortNames.h"
#include "common/IdeTable.h"
#include "script/manifest/Manifest.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

const ItemName ItemNames[3] = {
    {L"help", HelpFilesItem.Bit},
    {L"delphi-demos", DelphiDemosItem.Bit},
    {L"cbuilder-demos", CBuilderDemosItem.Bit},
};

namespace {

enum class Switch { None, Ide, Items, Profile, Log, List };

std::wstring UpperAscii(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return s;
}

std::wstring LowerAscii(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

// The switch arg is, and its value after "=".
Switch SwitchOf(const std::wstring& arg, std::wstring& value) {
    if (arg.size() < 2 || (arg[0] != L'/' && arg[0] != L'-' && arg[0] != L'\\')) return Switch::None;
    const size_t equals = arg.find(L'=');
    const std::wstring name = UpperAscii(arg.substr(1, equals == std::wstring::npos ? std::wstring::npos : equals - 1));
    if (equals == std::wstring::npos) return name == L"LIST" ? Switch::List : Switch::None;
    value = arg.substr(equals + 1);
    if (name == L"IDE") return Switch::Ide;
    if (name == L"ITEMS") return Switch::Items;
    if (name == L"PROFILE") return Switch::Profile;
    if (name == L"LOG") return Switch::Log;
    return Switch::None;
}

// The names of a list: separated by "," (or ";"), blanks around them dropped, empty ones left out.
std::vector<std::wstring> SplitNames(const std::wstring& list) {
    std::vector<std::wstring> names;
    size_t start = 0;
    for (;;) {
        const size_t stop = list.find_first_of(L",;", start);
        std::wstring name = list.substr(start, stop == std::wstring::npos ? std::wstring::npos : stop - start);
        const size_t first = name.find_first_not_of(L' ');
        if (first != std::wstring::npos) names.push_back(name.substr(first, name.find_last_not_of(L' ') - first + 1));
        if (stop == std::wstring::npos) return names;
        start = stop + 1;
    }
}

std::wstring Joined(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (const std::wstring& name : names) text += (text.empty() ? L"" : L", ") + name;
    return text;
}

}  // namespace

bool IsDeploymentSwitch(const std::wstring& arg) {
    std::wstring value;
    return SwitchOf(arg, value) != Switch::None;
}

DeploymentSwitches ParseDeploymentSwitches(const std::vector<std::wstring>& args) {
    DeploymentSwitches switches;
    std::wstring profileError, logError;
    for (const std::wstring& arg : args) {
        std::wstring value;
        switch (SwitchOf(arg, value)) {
        case Switch::None: break;
        case Switch::List: switches.List = true; break;
        case Switch::Ide:
            switches.HasIdes = true;
            switches.Ides = SplitNames(value);
            break;
        case Switch::Items:
            switches.HasItems = true;
            switches.Items = SplitNames(value);
            break;
        case Switch::Profile:
            switches.Profile = IsValidProfileName(value) ? value : std::wstring();
            profileError = switches.Profile.empty() ? L"Invalid profile name: " + value.substr(0, MaxProfileName + 1)
                                                    : std::wstring();
            break;
        case Switch::Log:
            switches.LogPath = value;
            logError = value.empty() ? L"No log file after /LOG=" : L"";
            break;
        }
    }
    for (const std::wstring& error : {profileError, logError})
        if (!error.empty()) switches.Errors.push_back(error);
    return switches;
}

ChosenNames ResolveChosenNames(const DeploymentSwitches& switches, const InstalledIdes& ides,
                               const std::function<bool(IdeIndex)>& hasProfileKey) {
    ChosenNames chosen;
    for (const std::wstring& name : switches.Ides) {
        const IdeIndex index = IdeOfShortName(name);
        if (index.IsValid()) {
            const bool found = FoundOf(ides, index).Exists;
            if (found && (switches.Profile.empty() || hasProfileKey(index)))
                chosen.Ides |= IdeOf(index).InternalId;
            else
                chosen.Missing.push_back(LowerAscii(name));
        } else if (const int number = NewerIdeNumberOfName(name)) {
            // The newer IDE by its version: the one discovery found, or missing.
            const IdeIndex newer(NewerIdeSlot);
            const FoundIde& found = FoundOf(ides, newer);
            if (found.Exists && found.BdsVersion == static_cast<uint32_t>(number) &&
                (switches.Profile.empty() || hasProfileKey(newer)))
                chosen.Ides |= IdeOf(newer).InternalId;
            else
                chosen.Missing.push_back(LowerAscii(name));
        } else {
            chosen.Unknown.push_back(name);
        }
    }
    for (const std::wstring& name : switches.Items) {
        bool known = false;
        for (const ItemName& item : ItemNames) {
            if (LowerAscii(name) != item.Name) continue;
            chosen.Items |= item.Bit;
            known = true;
        }
        if (!known) chosen.Unknown.push_back(name);
    }
    return chosen;
}

LineMask ApplyChosenLines(LineMask current, const ChosenNames& chosen, bool hasIdes, bool hasItems) {
    LineMask lines;
    for (int i = 0; i < InstallItemCount; ++i) {
        const InstallItem& item = InstallItems[i];
        const bool ofIde = !item.IdeMask.Empty();
        bool ticked = current.Has(LineBit(i));
        if (ofIde && hasIdes) ticked = chosen.Ides.Has(item.IdeMask);
        if (!ofIde && hasItems) ticked = chosen.Items.Has(item.Bit);
        if (ticked) lines |= LineBit(i);
    }
    return lines;
}

std::vector<std::wstring> RefusalLines(const ChosenNames& chosen) {
    std::vector<std::wstring> lines;
    if (!chosen.Unknown.empty()) lines.push_back(L"Unknown names: " + Joined(chosen.Unknown));
    if (!chosen.Missing.empty()) lines.push_back(L"Not installed: " + Joined(chosen.Missing));
    return lines;
}

std::wstring IdeListLine(IdeIndex index, const FoundIde& found) {
    const std::wstring key = IdeKeyOf(index, found.BdsVersion);
    const wchar_t* name = IdeShortName(index);
    const std::wstring shortName =
        IsNewerIdeSlot(index) ? L"bds" + std::to_wstring(found.BdsVersion) : std::wstring(name ? name : L"-");
    return shortName + L"\t" + key.substr(key.rfind(L'\\') + 1) + L"\t" + found.RootDir + L"\t64-bit IDE: " +
           (found.Has64BitIde ? L"yes" : L"no") + L"\tModern C++: " + (found.HasModernCpp ? L"yes" : L"no");
}

}  // namespace tessel::setup
