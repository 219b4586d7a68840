// Registry keys, the product's own key among them: the key rows create, and
// the only keys besides the uninstall entry that an uninstall deletes whole.
//
// Rows and records:
// CreateRegKey  000F  Text: key path; Param: predefined root key handle value
//                     (0x80000002 = HKEY_LOCAL_MACHINE). Its record holds both;
//                     the undo deletes the key with everything below it.
#pragma once
#include "changes/Change.h"
#include "changes/uninstallentry/UninstallEntry.h"

namespace tessel::changes::registry {

// The product key, and the stored choices below it (the finish page and the
// unattended install write them, the next setup reads them).
inline constexpr const wchar_t* ProductKeyPath = L"Software\\Veltrane\\Tessel library";
inline constexpr const wchar_t* InstallVersionsValue = L"InstallVersions";  // REG_DWORD: the IDE bits chosen
inline constexpr const wchar_t* InstallItemsValue = L"InstallItems";        // REG_DWORD: the install items chosen
// REG_DWORD: the item bits above the first 32 (the newer IDE's); written only
// when one of them is chosen, so older setups and earlier stores read the same.
inline constexpr const wchar_t* InstallItemsHighValue = L"InstallItemsHigh";
inline constexpr const wchar_t* RootDirValue = L"RootDir";                  // REG_SZ: the install folder
inline constexpr const wchar_t* VersionValue = L"Version";                  // REG_SZ: the product version
inline constexpr const wchar_t* InstallDateValue = L"InstallDate";          // REG_SZ: short date
inline constexpr const wchar_t* CustomizeItemsValue = L"CustomizeItems";    // REG_DWORD: the customise options

// Whether the Param of a row or record is the value of a predefined root key
// handle (HKEY_CLASSES_ROOT 0x80000000 to HKEY_CURRENT_CONFIG 0x80000005,
// HKEY_DYN_DATA 0x80000006); no other value is taken for a key.
constexpr bool IsPredefinedRootKey(uint32_t param) { return param >= 0x80000000u && param <= 0x80000006u; }
constexpr uint32_t RootCurrentUser = 0x80000001u;
constexpr uint32_t RootLocalMachine = 0x80000002u;

inline bool Accepts(const UndoRecord& rec, const std::wstring& text) {
    const std::wstring lower = AsciiLower(text);
    if ((rec.Param == RootLocalMachine || rec.Param == RootCurrentUser) && IsKeyAtOrBelow(lower, ProductKeyPath))
        return true;
    return rec.Param == RootLocalMachine && IsKeyAtOrBelow(lower, uninstall_entry::EntryKeyPath());
}

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
DWORD Undo(const UndoRecord& rec, const std::wstring& text);

}  // namespace tessel::changes::registry
