// The choices an install starts from and the record it leaves under the product key.
#include "changes/registry/RegistryKeyChanges.h"
#include "setup/InstallChoices.h"
#include <vector>
#include "common/IdeDiscovery.h"
#include "common/IdeTable.h"
#include "common/Registry.h"
#include "script/manifest/Manifest.h"
#include "setup/WizardLogic.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

int32_t StoredInteger(const RegKey& key, const wchar_t* name) {
    DWORD value = 0;
    return key.ReadInteger(name, value) == 0 ? static_cast<int32_t>(value) : 0;
}

}  // namespace

StoredSelection LoadPreviousSelection(script::InstallContext& install, const std::wstring& profile) {
    StoredSelection stored;
    RegKey key;
    // No product key: nothing stored, and the reads below find nothing.
    if (key.Open(HKEY_LOCAL_MACHINE, ProductRegKey, KEY_READ) == 0) {
        stored.InstallVersions = StoredInteger(key, registry::InstallVersionsValue);
        stored.InstallItems = StoredInteger(key, registry::InstallItemsValue);
        stored.InstallItemsHigh = static_cast<uint32_t>(StoredInteger(key, registry::InstallItemsHighValue));
    }
    install.Plan.Ides = FindInstalledIdes(profile);
    ApplyPreviousSelection(install, stored.InstallVersions, stored.InstallItems, stored.InstallItemsHigh);
    return stored;
}

void LoadStoredCustomizeMask(script::InstallContext& install) {
    DWORD customize = 0;
    if (ReadRegInteger(HKEY_LOCAL_MACHINE, ProductRegKey, registry::CustomizeItemsValue, customize) == 0)
        install.Plan.CustomizeMask = customize;
}

std::wstring StoredInstallDir() {
    std::wstring dir;
    if (ReadRegString(HKEY_LOCAL_MACHINE, ProductRegKey, registry::RootDirValue, dir) != 0) dir.clear();
    return dir;
}

std::wstring ProposedInstallDir(const script::InstallContext& install, const std::wstring& previousDir) {
    std::wstring root;
    for (int i = 1; i <= IdeCount; ++i) {
        if (install.Plan.PreselectedIdeMask.Has(IdeTable[i].InternalId)) {
            root = install.Plan.Ides[i].RootDir;
            break;
        }
    }
    std::wstring programFiles;
    if (previousDir.empty() && ReadRegString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                                             L"ProgramFilesDir", programFiles) != 0)
        programFiles.clear();
    return ProposeDirectory(previousDir, root, programFiles, ShortName);
}

void SelectCheckedItems(script::InstallContext& install) {
    SelectionMasks(install.Plan.CheckedLines, install.Plan.SelectedIdeMask, install.Plan.SelectedItemMask);
}

std::wstring ShortDateText() {
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::vector<wchar_t> buf(static_cast<size_t>(n), L'\0');
    n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf.data(), n);
    return n > 0 ? std::wstring(buf.data()) : std::wstring();
}

DWORD StoreChoices(const script::InstallContext& install) {
    RegKey key;
    DWORD err = key.Create(HKEY_LOCAL_MACHINE, ProductRegKey, KEY_WRITE);
    if (err == 0) err = key.WriteInteger(registry::InstallVersionsValue, install.Plan.SelectedIdeMask.Bits());
    const ItemMask items = install.Plan.SelectedItemMask;
    if (err == 0) err = key.WriteInteger(registry::InstallItemsValue, LowItemBits(items));
    if (err == 0 && HighItemBits(items) != 0) err = key.WriteInteger(registry::InstallItemsHighValue, HighItemBits(items));
    if (err == 0 && HighItemBits(items) == 0) {
        err = key.DeleteValue(registry::InstallItemsHighValue);
        if (err == ERROR_FILE_NOT_FOUND) err = 0;
    }
    if (err == 0) err = key.WriteString(registry::RootDirValue, install.Plan.InstallDir);
    if (err == 0) err = key.WriteString(registry::VersionValue, ProductVersion);
    if (err == 0) err = key.WriteString(registry::InstallDateValue, ShortDateText());
    if (err == 0) err = key.WriteInteger(registry::CustomizeItemsValue, install.Plan.CustomizeMask);
    return err;
}

}  // namespace tessel::setup
