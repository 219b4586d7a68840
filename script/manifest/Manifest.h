// The product manifest: identity, install items, customise options, copy
// targets and the script table. The IDE table lives in common/IdeTable.h
// because the uninstaller needs it too.
#pragma once
#include <windows.h>
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
constexpr int InstallItemCount = 32;
// Newest IDE first, as the selection page lists them. Item bits and IDE bits are
// two numberings: the script's guards test item bits, the compiler rows IDE bits.
// RAD Studio 13 took the last free item bit, and the list's 32 lines fill the
// page's 32-bit mask of ticked lines ("InstallItems" and the IDE page's
// CheckedLines): the next version needs a wider item mask, stored under a new
// value name beside "InstallItems" so that older stored choices still read.
// A table, in columns.
// clang-format off
inline constexpr InstallItem InstallItems[InstallItemCount] = {
    { common::ItemMask(0x80000000), L"RAD Studio 13",                 common::IdeMask(0x20000000) },  // RADStudio37
    { common::ItemMask(0x40000000), L"RAD Studio 12",                 common::IdeMask(0x10000000) },  // RADStudio23
    { common::ItemMask(0x20000000), L"RAD Studio 11",                 common::IdeMask(0x08000000) },  // RADStudio22
    { common::ItemMask(0x10000000), L"RAD Studio XE10.4",             common::IdeMask(0x04000000) },  // RADStudio21
    { common::ItemMask(0x08000000), L"RAD Studio XE10.3",             common::IdeMask(0x02000000) },  // RADStudio20
    { common::ItemMask(0x04000000), L"RAD Studio XE10.2",             common::IdeMask(0x01000000) },  // RADStudio19
    { common::ItemMask(0x02000000), L"RAD Studio XE10.1",             common::IdeMask(0x00800000) },  // RADStudio18
    { common::ItemMask(0x01000000), L"RAD Studio XE10",               common::IdeMask(0x00400000) },  // RADStudio17
    { common::ItemMask(0x00800000), L"RAD Studio XE8",                common::IdeMask(0x00200000) },  // RADStudio16
    { common::ItemMask(0x00400000), L"RAD Studio XE7",                common::IdeMask(0x00100000) },  // RADStudio15
    { common::ItemMask(0x00200000), L"RAD Studio XE6",                common::IdeMask(0x00080000) },  // RADStudio14
    { common::ItemMask(0x00100000), L"RAD Studio XE5",                common::IdeMask(0x00040000) },  // RADStudio12
    { common::ItemMask(0x00080000), L"RAD Studio XE4",                common::IdeMask(0x00020000) },  // RADStudio11
    { common::ItemMask(0x00040000), L"RAD Studio XE3",                common::IdeMask(0x00010000) },  // RADStudio10
    { common::ItemMask(0x00020000), L"RAD Studio XE2",                common::IdeMask(0x00008000) },  // RADStudio9
    { common::ItemMask(0x00010000), L"RAD Studio XE",                 common::IdeMask(0x00004000) },  // RADStudio8
    { common::ItemMask(0x00008000), L"RAD Studio 2010",               common::IdeMask(0x00002000) },  // BDS2010
    { common::ItemMask(0x00004000), L"CodeGear RAD Studio 2009",      common::IdeMask(0x00001000) },  // BDS2009
    { common::ItemMask(0x00002000), L"CodeGear RAD Studio 2007",      common::IdeMask(0x00000800) },  // Delphi2007
    { common::ItemMask(0x00001000), L"Borland Developer Studio 2006", common::IdeMask(0x00000400) },  // BDS2006
    { common::ItemMask(0x00000800), L"Delphi 2005",                   common::IdeMask(0x00000200) },  // Delphi9
    { common::ItemMask(0x00000400), L"Delphi 7",                      common::IdeMask(0x00000100) },  // Delphi7
    { common::ItemMask(0x00000008), L"Delphi 6",                      common::IdeMask(0x00000040) },  // Delphi6
    { common::ItemMask(0x00000004), L"Delphi 5",                      common::IdeMask(0x00000004) },  // Delphi5
    { common::ItemMask(0x00000002), L"Delphi 4",                      common::IdeMask(0x00000002) },  // Delphi4
    { common::ItemMask(0x00000001), L"Delphi 3",                      common::IdeMask(0x00000001) },  // Delphi3
    { common::ItemMask(0x00000040), L"C++Builder 6",                  common::IdeMask(0x00000080) },  // CBuilder6
    { common::ItemMask(0x00000020), L"C++Builder 5",                  common::IdeMask(0x00000020) },  // CBuilder5
    { common::ItemMask(0x00000010), L"C++Builder 4",                  common::IdeMask(0x00000010) },  // CBuilder4
    { common::ItemMask(0x00000080), L"Context help files",            common::IdeMask(0) },
    { common::ItemMask(0x00000100), L"Delphi demo projects",          common::IdeMask(0) },
    { common::ItemMask(0x00000200), L"C++Builder demo projects",      common::IdeMask(0) },
};
// clang-format on

// The IDE page's line for IDE index (its install item's caption); empty for none.
inline const wchar_t* IdeCaption(common::IdeIndex ideIndex) {
    if (!ideIndex.IsValid()) return L"";
    for (const InstallItem& item : InstallItems)
        if (item.IdeMask == common::IdeOf(ideIndex).InternalId) return item.Caption;
    return L"";
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

constexpr int CopyTargetCount = 33;
// Each record is the destination of exactly one copy row of the script.
inline constexpr CopyTarget CopyTargets[CopyTargetCount] = {
    {L"qvl30.dpl", LocationCode::System},               // 0  Delphi 3
    {L"qvl40.bpl", LocationCode::System},               // 1  Delphi 4
    {L"qvl50.bpl", LocationCode::System},               // 2  Delphi 5
    {L"qvl40.bpl", LocationCode::System},               // 3  C++Builder 4
    {L"qvl50.bpl", LocationCode::System},               // 4  C++Builder 5
    {L"qvl60.bpl", LocationCode::System},               // 5  Delphi 6
    {L"qvl60.bpl", LocationCode::System},               // 6  C++Builder 6
    {L"delphi3\\qvTessel.inc", LocationCode::Install},  // 7  the include file for the Delphi 3 folder
    {L"qvl70.bpl", LocationCode::System},               // 8  Delphi 7
    {L"qvl90.bpl", LocationCode::System},               // 9  Delphi 2005
    {L"qvl2006.bpl", LocationCode::System},             // 10 BDS 2006
    {L"qvl2007.bpl", LocationCode::System},             // 11 RAD Studio 2007
    {L"qvl2009.bpl", LocationCode::System},             // 12 RAD Studio 2009
    {L"qvl2010.bpl", LocationCode::System},             // 13 RAD Studio 2010
    {L"qvl150.bpl", LocationCode::System},              // 14 XE
    {L"qvl160.bpl", LocationCode::System},              // 15 XE2
    {L"qvl170.bpl", LocationCode::System},              // 16 XE3
    {L"qvl180.bpl", LocationCode::System},              // 17 XE4
    {L"qvl190.bpl", LocationCode::System},              // 18 XE5
    {L"qvl200.bpl", LocationCode::System},              // 19 XE6
    {L"qvl210.bpl", LocationCode::System},              // 20 XE7
    {L"qvl220.bpl", LocationCode::System},              // 21 XE8
    {L"qvl230.bpl", LocationCode::System},              // 22 XE10
    {L"qvl240.bpl", LocationCode::System},              // 23 XE10.1
    {L"qvl250.bpl", LocationCode::System},              // 24 XE10.2
    {L"qvl260.bpl", LocationCode::System},              // 25 XE10.3
    {L"qvl270.bpl", LocationCode::System},              // 26 XE10.4
    {L"qvl280.bpl", LocationCode::Bpl},                 // 27 RAD Studio 11, Win32
    {L"qvl280.bpl", LocationCode::Bpl64},               // 28 RAD Studio 11, Win64
    {L"qvl290.bpl", LocationCode::Bpl},                 // 29 RAD Studio 12, Win32
    {L"qvl290.bpl", LocationCode::Bpl64},               // 30 RAD Studio 12, Win64
    {L"qvl370.bpl", LocationCode::Bpl},                 // 31 RAD Studio 13, Win32
    {L"qvl370.bpl", LocationCode::Bpl64},               // 32 RAD Studio 13, Win64
};

// The script: rows in table order. The table is made once, on first use,
// from the block descriptions in ScriptTable.cpp and never changes after.
int ScriptCount();
const ScriptRow& ScriptRowAt(int index);

}  // namespace tessel::script
