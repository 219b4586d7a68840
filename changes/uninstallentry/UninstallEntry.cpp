// The Windows uninstall entry: written by its row, removed by its record.
#include "changes/uninstallentry/UninstallEntry.h"

#include "changes/ActionLogic.h"
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordPaths.h"
#include "common/PathText.h"
#include "common/Product.h"
#include "common/Registry.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::uninstall_entry {

using namespace tessel::common;

std::wstring BuildUninstallString(const std::wstring& installDir) {
    return QuoteIfBlank(JoinPath(installDir, UninstallerFileName)) + L" " +
           QuoteIfBlank(JoinPath(installDir, UndoLogFileName));
}

std::wstring UndoLogPathFromUninstallString(const std::wstring& command) {
    if (command.empty()) return std::wstring();
    std::wstring text = command;
    wchar_t delimiter = L' ';
    if (text.back() == L'"') {
        text.pop_back();
        delimiter = L'"';
    }
    // Without the delimiter there is no separate last argument to take.
    const size_t cut = text.rfind(delimiter);
    if (cut == std::wstring::npos) return std::wstring();
    return text.substr(cut + 1);
}

std::wstring PreviousUndoLogPath() {
    const std::wstring key = EntryKeyPath();
    std::wstring name, command;
    if (ReadRegString(HKEY_LOCAL_MACHINE, key, DisplayNameValue, name) != 0 ||
        ReadRegString(HKEY_LOCAL_MACHINE, key, UninstallStringValue, command) != 0)
        return std::wstring();
    return UndoLogPathFromUninstallString(command);
}

ActionResult Apply(const ScriptRow&, ChangeContext& ctx) {
    const std::wstring key = EntryKeyPath();
    const struct {
        const wchar_t* Name;
        std::wstring Data;
        UninstallEntryFailure Failure;
    } values[] = {
        {DisplayNameValue, std::wstring(CompanyName) + L" " + ProductName + L" v" + ProductVersion,
         UninstallEntryFailure::DisplayName},
        {PublisherValue, CompanyName, UninstallEntryFailure::Publisher},
        {DisplayVersionValue, ProductVersion, UninstallEntryFailure::DisplayVersion},
        {UninstallStringValue, BuildUninstallString(ctx.Run.Location.InstallDir), UninstallEntryFailure::UninstallString},
    };
    ActionResult result;
    if (CreateRegKey(HKEY_LOCAL_MACHINE, key) != 0) result = UninstallEntryFailure::KeyNotCreated;
    for (const auto& value : values) {
        if (result.Failed()) break;
        if (WriteRegString(HKEY_LOCAL_MACHINE, key, value.Name, value.Data) != 0) result = value.Failure;
    }
    ctx.LogText = std::wstring(L"Registering Uninstall: ") + UninstallerFileName +
                  (result.Succeeded() ? LogEnding::Success : LogEnding::Fail);
    return result;
}

DWORD Undo(const std::wstring& productIntName) {
    if (productIntName.empty() || productIntName.find(L'\\') != std::wstring::npos) return 0;
    UniqueHKey parent;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallRootKey, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      parent.put()) != ERROR_SUCCESS)
        return 0;
    {
        UniqueHKey entry;
        if (RegOpenKeyExW(parent.get(), productIntName.c_str(), 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                          entry.put()) != ERROR_SUCCESS)
            return 0;
        (void)DeleteRegSubKeys(entry.get());  // the entry's own deletion below fails if this did
    }
    const LSTATUS error = RegDeleteKeyW(parent.get(), productIntName.c_str());
    return IsNotThere(static_cast<DWORD>(error)) ? 0 : static_cast<DWORD>(error);
}

}  // namespace tessel::changes::uninstall_entry
