// The choices an install starts from and the record it leaves for the next
// one, read and written under the product key. The wizard's pages and the
// unattended install both use these, so both start from the same choices.
#pragma once
#include <cstdint>
#include <string>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

// What a previous installation stored about its IDEs and items (0 when
// absent), then discovery, then install's preselected IDEs and ticked
// lines as the IDE page starts from them.
struct StoredSelection {
    int32_t InstallVersions = 0;
    int32_t InstallItems = 0;
    uint32_t InstallItemsHigh = 0;
};
// Discovery reads the user's values from profile's keys when one is given.
StoredSelection LoadPreviousSelection(script::InstallContext& install, const std::wstring& profile = std::wstring());

// install.Plan.CustomizeMask := the stored "CustomizeItems", when there is one.
void LoadStoredCustomizeMask(script::InstallContext& install);

// The stored "RootDir" of a previous installation; empty when absent.
std::wstring StoredInstallDir();
// The folder the directory page proposes: the previous install folder, else
// one beside the first IDE install preselects, else below the program files folder.
std::wstring ProposedInstallDir(const script::InstallContext& install, const std::wstring& previousDir);

// install's SelectedIdeMask and SelectedItemMask from its ticked lines.
void SelectCheckedItems(script::InstallContext& install);

// Today's date in the user's short date format.
std::wstring ShortDateText();

// The six product-key values, in order; 0, or the Win32 error of the first that fails.
[[nodiscard]] DWORD StoreChoices(const script::InstallContext& install);

}  // namespace tessel::setup
