// The product manifest: identity, install items, customise options and the
// script table. The IDE table, with each IDE's caption, item bit and block
// facts, lives in common/IdeTable.h because the uninstaller needs it too.
#pragma once
#include <windows.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

inline constexpr const wchar_t* CompanyName = L"Veltrane";
inline constexpr const wchar_t* ProductName = L"Tessel library";
inline constexpr const wchar_t* ProductVersion = L"4.09";
inline constexpr const wchar_t* ShortName = L"Tessel";
// Ends with two CR LF pairs.
inline constexpr const wchar_t* ProductDescription =
    L"Tessel library - collection of components for working with the application settings.\r\n\r\n";
inline constexpr const wchar_t* ProductRegKey = common::ProductKeyPath;
inline constexpr const wchar_t* ProductIntName = common::UninstallEntryName;

// Value names below the product key.
inline constexpr const wchar_t* RegInstallVersions = L"InstallVersions";  // REG_DWORD SelectedIdeMask
inline constexpr const wchar_t* RegInstallItems = L"InstallItems";        // REG_DWORD SelectedItemMask
inline constexpr const wchar_t* RegRootDir = L"RootDir";                  // REG_SZ InstallDir
inline constexpr const wchar_t* RegVersion = L"Version";                  // REG_SZ ProductVersion
inline constexpr const wchar_t* RegInstallDate = L"InstallDate";          // REG_SZ short date
inline constexpr const wchar_t* RegCustomizeItems = L"CustomizeItems";    // REG_DWORD CustomizeMask

struct InstallItem {
    common::ItemMask Bit;
    const wchar_t* Caption;
    common::IdeMask IdeMask;  // InternalId of the IDE, empty for the three items without one
};
constexpr int InstallItemCount = 32;

// The three items that belong to no IDE; the IDEs' items are in the IDE table.
inline constexpr InstallItem HelpFilesItem = {common::ItemMask(0x00000080), L"Context help files", common::IdeMask()};
inline constexpr InstallItem DelphiDemosItem = {common::ItemMask(0x00000100), L"Delphi demo projects",
                                                common::IdeMask()};
inline constexpr InstallItem CBuilderDemosItem = {common::ItemMask(0x00000200), L"C++Builder demo projects",
                                                  common::IdeMask()};

// The IDE page's lines: the offered IDEs, newest first, the Delphi IDEs before
// the C++Builder ones, then the three other items. Item bits and IDE bits are
// two numberings: the script's guards test item bits, the compiler rows IDE bits.
// The list's 32 lines fill the page's 32-bit mask of ticked lines
// ("InstallItems" and the IDE page's CheckedLines).
constexpr std::array<InstallItem, InstallItemCount> MakeInstallItems() {
    std::array<InstallItem, InstallItemCount> items{};
    size_t line = 0;
    for (const bool delphi : {true, false})
        for (int i = common::IdeCount; i >= 1; --i) {
            const common::IdeVersion& ide = common::IdeTable[i];
            if (common::IsOffered(ide) && ide.IsDelphi == delphi && line < items.size())
                items[line++] = {ide.Item, ide.Caption, ide.InternalId};
        }
    for (const InstallItem& other : {HelpFilesItem, DelphiDemosItem, CBuilderDemosItem})
        if (line < items.size()) items[line++] = other;
    return items;
}
inline constexpr std::array<InstallItem, InstallItemCount> InstallItems = MakeInstallItems();
constexpr bool EachLineHasItsOwnBit() {
    uint32_t bits = 0;
    for (const InstallItem& item : InstallItems) {
        if (item.Bit.Empty() || (bits & item.Bit.Bits()) != 0) return false;
        bits |= item.Bit.Bits();
    }
    return true;
}
static_assert(InstallItems[InstallItemCount - 1].Bit == CBuilderDemosItem.Bit && EachLineHasItsOwnBit(),
              "one line per offered IDE and three more, each with its own item bit: "
              "a new IDE needs a wider item mask");

// The IDE page's line for IDE index (its install item's caption); empty for none.
inline const wchar_t* IdeCaption(common::IdeIndex ideIndex) {
    if (!ideIndex.IsValid() || !common::IdeOf(ideIndex).Caption) return L"";
    return common::IdeOf(ideIndex).Caption;
}

struct CustomizeOption {
    const wchar_t* Caption;
    const wchar_t* Description;
};
constexpr int CustomizeOptionCount = 1;
// The product has one option and no script row tests it; the dialog still shows it.
inline constexpr CustomizeOption CustomizeOptions[CustomizeOptionCount] = {
    {L"", L""},
};

// The script: rows in table order. The table is made once, on first use,
// from the block descriptions in ScriptTable.cpp and never changes after.
int ScriptCount();
const ScriptRow& ScriptRowAt(int index);

}  // namespace tessel::script
