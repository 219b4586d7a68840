// Lookups in the IDE table, and what its rows must agree on.
#include "common/IdeTable.h"

#include <string>

namespace tessel::common {

namespace {

// Checked when the table is compiled, so that a new row cannot break them.
constexpr bool RowsAgree() {
    uint64_t items = 0;
    for (int i = 1; i <= IdeCount; ++i) {
        const IdeVersion& ide = IdeTable[i];
        if (ide.InternalId != MaskOf(IdeIndex(i))) return false;
        // An offered IDE has all that its line and its block need; one not offered has none of it.
        const bool offered = IsOffered(ide);
        if ((ide.Caption != nullptr) != offered || (ide.Folder != nullptr) != offered ||
            (ide.Suffix != nullptr) != (offered && !IsNewerIdeSlot(IdeIndex(i))) || (ide.Layout != ProjectLayoutId::None) != offered ||
            (ide.CopyTo != LocationCode::None) != offered)
            return false;
        // Item bits are stored: each one names one item.
        if ((items & ide.Item.Bits()) != 0) return false;
        items |= ide.Item.Bits();
        // The 64-bit builds, their guard, their copy and the 64-bit IDE need the Win32/Win64 layout.
        const bool both = ide.Layout == ProjectLayoutId::XE2;
        if (offered && both != ide.Is32and64) return false;
        if (!ide.Is32and64 && (ide.Win64Guard != 0 || ide.CopyTo64 != LocationCode::None || ide.Can64BitIde))
            return false;
        // The alias file is one of the help-configuration files, and WinHelp lines need a file to go into.
        if (ide.AliasFile > 3 || (ide.AliasFile != 0 && !ide.HelpStr[ide.AliasFile - 1])) return false;
        if ((ide.HelpLines != WinHelpLines::None) != (ide.HelpStr[0] != nullptr)) return false;
        if (ide.HelpLines != WinHelpLines::None && !ide.IndexCache) return false;
    }
    // The newer IDE stands last, newest of all, with the automatic suffix.
    const IdeVersion& newer = IdeTable[NewerIdeSlot];
    return NewerIdeSlot == IdeCount && newer.Suffix == nullptr && IsOffered(newer) && newer.Can64BitIde;
}
static_assert(RowsAgree(), "the IDE table's rows disagree");

}  // namespace

IdeIndex IdeIndexByMask(IdeMask mask) {
    for (int i = 1; i <= IdeCount; ++i)
        if (IdeTable[i].InternalId == mask) return IdeIndex(i);
    return IdeIndex();
}

std::wstring IdeKeyOf(IdeIndex index, uint32_t bdsVersion) {
    if (!index.IsValid()) return std::wstring();
    if (!IsNewerIdeSlot(index)) return IdeOf(index).RegKey;
    if (!IsNewerBdsVersion(bdsVersion)) return std::wstring();
    return std::wstring(IdeOf(index).RegKey) + L"\\" + std::to_wstring(bdsVersion) + L".0";
}

std::wstring IdeCaption(IdeIndex ideIndex, uint32_t bdsVersion) {
    if (!ideIndex.IsValid() || !IdeOf(ideIndex).Caption) return std::wstring();
    std::wstring caption = IdeOf(ideIndex).Caption;
    if (IsNewerIdeSlot(ideIndex) && IsNewerBdsVersion(bdsVersion))
        caption += L" (BDS " + std::to_wstring(bdsVersion) + L".0)";
    return caption;
}

}  // namespace tessel::common
