// The product manifest: identity, install items, customise options, copy
// targets and the script table. The IDE table lives in common/UIdeTable.h
// because the uninstaller needs it too.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/UIdeTable.h"
#include "script/UScriptItems.h"

extern const wchar_t* const CompanyName;         // L"Veltrane"
extern const wchar_t* const ProductName;         // L"Tessel library"
extern const wchar_t* const ProductVersion;      // L"4.09"
extern const wchar_t* const ShortName;           // L"Tessel"
extern const wchar_t* const ProductDescription;  // ends with two CR LF pairs
extern const wchar_t* const ProductRegKey;       // L"Software\\Veltrane\\Tessel library" (HKLM)
extern const wchar_t* const ProductIntName;      // L"qvlLib"

// Value names below the product key.
extern const wchar_t* const RegInstallVersions;  // REG_DWORD SelectedIdeMask
extern const wchar_t* const RegInstallItems;     // REG_DWORD SelectedItemMask
extern const wchar_t* const RegRootDir;          // REG_SZ InstallDir
extern const wchar_t* const RegVersion;          // REG_SZ ProductVersion
extern const wchar_t* const RegInstallDate;      // REG_SZ short date
extern const wchar_t* const RegCustomizeItems;   // REG_DWORD CustomizeMask

struct TInstallItem {
    uint32_t Bit;
    const wchar_t* Caption;
    bool Checked;
    uint32_t IdeMask;  // InternalId of the IDE, 0 for the three items without one
};
constexpr int InstallItemCount = 31;
extern TInstallItem InstallItems[InstallItemCount];

struct TCustomizeOption {
    const wchar_t* Caption;
    const wchar_t* Description;
};
constexpr int CustomizeOptionCount = 1;
extern const TCustomizeOption CustomizeOptions[CustomizeOptionCount];

constexpr int CopyTargetCount = 31;
extern const TCopyTarget CopyTargets[CopyTargetCount];

// The script: rows in table order. The table is made once, on first use,
// from the block descriptions in UScriptTable.cpp and never changes after.
int ScriptCount();
const TScriptItem& ScriptRow(int index);
