// The product manifest: identity, install items, customise options and the
// script table. The IDE table, with each IDE's caption, item bit and block
// facts, lives in common/IdeTable.h because the uninstaller needs it too.
#pragma once
#include <windows.h>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include "changes/registry/RegistryKeyChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/IdeTable.h"
#include "common/Product.h"
#include "common/Locations.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using common::CompanyName;
using common::ProductDescription;
using common::ProductName;
using common::ProductVersion;
using common::ShortName;
inline constexpr const wchar_t* ProductRegKey = changes::registry::ProductKeyPath;
inline constexpr const wchar_t* ProductIntName = changes::uninstall_entry::EntryName;

struct InstallItem {
    common::ItemMask Bit;
    const wchar_t* Caption;
    common::IdeMask IdeMask;  // InternalId of the IDE, empty for the three items without one
};
constexpr int InstallItemCount = 33;

// The three items that belong to no IDE; the IDEs' items are in the IDE table.
inline constexpr InstallItem HelpFilesItem = {common::ItemMask(0x00000080), L"Context help files", common::IdeMask()};
inline constexpr InstallItem DelphiDemosItem = {common::ItemMask(0x00000100), L"Delphi demo projects",
                                                common::IdeMask()};
inline constexpr InstallItem CBuilderDemosItem = {common::ItemMask(0x00000200), L"C++Builder demo projects",
                                                  common::IdeMask()};

// The IDE page's lines: the offered IDEs, newest first, the Delphi IDEs before
// the C++Builder ones, then the three other items. Item bits and IDE bits are
// two numberings: the script's guards test item bits, the compiler rows IDE bits.
// The newer IDE's line stands first, and is shown only when discovery found one.
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
    uint64_t bits = 0;
    for (const InstallItem& item : InstallItems) {
        if (item.Bit.Empty() || (bits & item.Bit.Bits()) != 0) return false;
        bits |= item.Bit.Bits();
    }
    return true;
}
static_assert(InstallItems[InstallItemCount - 1].Bit == CBuilderDemosItem.Bit && EachLineHasItsOwnBit(),
              "one line per offered IDE and three more, each with its own item bit: "
              "a new IDE needs a wider item mask");

using common::IdeCaption;

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
