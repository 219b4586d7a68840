// The Windows uninstall entry: written by its row, removed by its record.
#include "changes/uninstallentry/UninstallEntry.h"

#include "changes/ActionLogic.h"
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordPaths.h"
#include "common/DirectoryListing.h"
#include "common/Files.h"
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

std::wstring BuildQuietUninstallString(const std::wstring& installDir) {
    return BuildUninstallString(installDir) + L" /S";
}

DWORD SizeInKiB(uint64_t bytes) {
    const uint64_t kib = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    return kib > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(kib);
}

namespace {

// The bytes of the files below folder; links are counted as entries, never entered.
DWORD FolderBytes(const std::wstring& folder, uint64_t& bytes) {
    DirectoryListing listing;
    if (const DWORD error = listing.Open(JoinPath(folder, L"*"))) return error == ERROR_FILE_NOT_FOUND ? 0 : error;
    DirectoryEntry entry;
    DWORD error = 0;
    while ((error = listing.Next(entry)) == 0) {
        if (!entry.IsFolder() || IsLinkAttributes(entry.Attributes)) {
            bytes += entry.IsFolder() ? 0 : entry.Size;
        } else if (const DWORD inner = FolderBytes(JoinPath(folder, entry.Name), bytes)) {
            return inner;
        }
    }
    return error == ERROR_NO_MORE_FILES ? 0 : error;
}

}  // namespace

DWORD CompleteEntry(const std::wstring& installDir) {
    const std::wstring key = EntryKeyPath();
    std::wstring command;
    if (ReadRegString(HKEY_LOCAL_MACHINE, key, UninstallStringValue, command) != 0 ||
        command != BuildUninstallString(installDir))
        return 0;
    uint64_t bytes = 0;
    if (const DWORD error = FolderBytes(installDir, bytes)) return error;
    RegKey entry;
    if (const DWORD error = entry.Open(HKEY_LOCAL_MACHINE, key, KEY_SET_VALUE)) return error;
    const struct {
        const wchar_t* Name;
        std::wstring Data;
    } texts[] = {
        {QuietUninstallStringValue, BuildQuietUninstallString(installDir)},
        {DisplayIconValue, JoinPath(installDir, UninstallerFileName)},
        {InstallLocationValue, installDir},
    };
    const struct {
        const wchar_t* Name;
        DWORD Data;
    } numbers[] = {{EstimatedSizeValue, SizeInKiB(bytes)}, {NoModifyValue, 1}, {NoRepairValue, 1}};
    for (const auto& value : texts)
        if (const DWORD error = entry.WriteString(value.Name, value.Data)) return error;
    for (const auto& value : numbers)
        if (const DWORD error = entry.WriteInteger(value.Name, value.Data)) return error;
    return 0;
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
