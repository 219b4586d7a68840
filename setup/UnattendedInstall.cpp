// setup.exe /S: the install without any window.
#include "setup/UnattendedInstall.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/Files.h"
#include "common/Handles.h"
#include "common/IdeRegistry.h"
#include "common/IdeShortNames.h"
#include "common/SystemText.h"
#include "common/LogNames.h"
#include "common/PathText.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/UndoRules.h"
#include "common/WholeFile.h"
#include "script/manifest/Manifest.h"
#include "script/runner/ScriptRunner.h"
#include "setup/InstallChoices.h"
#include "setup/RunningIdeCheck.h"
#include "setup/WizardLogic.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

// Lines as install.log holds them: UTF-16LE, CR LF after each, no byte-order mark.
std::string LogBytes(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// A run refused before anything changed: its lines go into install.log in an
// install folder that is already there (none is made for them), and into the
// /LOG file. A log that cannot be written changes nothing about the refusal.
void WriteRefusal(const std::wstring& installDir, const DeploymentSwitches& switches,
                  const std::vector<std::wstring>& reasons) {
    std::vector<std::wstring> lines{std::wstring(L"Start installation for ") + ProductName + L" v" + ProductVersion};
    for (const std::wstring& reason : reasons) lines.push_back(reason + L". Nothing was changed.");
    const std::string bytes = LogBytes(lines);
    if (IsFullPath(installDir) && DirectoryExists(installDir))
        (void)WriteFileBytes(JoinPath(installDir, InstallLogFileName), bytes);  // best effort, see above
    if (!switches.LogPath.empty()) (void)WriteFileBytes(switches.LogPath, bytes);
}

}  // namespace

DWORD ProbeLogPath(const std::wstring& path) {
    if (!IsFullPath(path)) return ERROR_BAD_PATHNAME;
    if (DirectoryExists(path)) return ERROR_DIRECTORY;
    UniqueFile probe(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD openError = GetLastError();
    if (!probe) return openError != 0 ? openError : static_cast<DWORD>(ERROR_CANNOT_MAKE);
    probe.reset();
    if (openError != ERROR_ALREADY_EXISTS && !DeleteFileW(path.c_str())) return GetLastError();
    return 0;
}

DWORD CopyInstallLog(const std::wstring& installDir, const std::wstring& path) {
    std::string bytes;
    if (const DWORD error = ReadFileBytes(JoinPath(installDir, InstallLogFileName), bytes, FILE_SHARE_READ))
        return error;
    return WriteFileBytes(path, bytes);
}

UnattendedExit ApplyDeploymentChoices(script::InstallContext& install, const DeploymentSwitches& switches,
                                      std::vector<std::wstring>& lines) {
    lines = switches.Errors;
    if (!lines.empty()) return UnattendedExit::BadSwitch;
    install.Plan.Profile = switches.Profile;
    const InstalledIdes& ides = install.Plan.Ides;
    const ChosenNames chosen = ResolveChosenNames(switches, ides, [&switches, &ides](IdeIndex index) -> bool {
        RegKey key;
        return key.Open(HKEY_CURRENT_USER, UserKeyOf(FoundOf(ides, index).RegKey, switches.Profile), KEY_READ) == 0;
    });
    lines = RefusalLines(chosen);
    if (!chosen.Unknown.empty()) return UnattendedExit::BadSwitch;
    if (!chosen.Missing.empty()) return UnattendedExit::IdeMissing;
    install.Plan.CheckedLines =
        ApplyChosenLines(install.Plan.CheckedLines, chosen, switches.HasIdes, switches.HasItems);
    // The directory page proposes a folder beside the first IDE preselected: one of those chosen.
    if (switches.HasIdes) install.Plan.PreselectedIdeMask = chosen.Ides;
    return UnattendedExit::Success;
}

UnattendedExit RunUnattendedInstall(script::InstallContext& install, const std::wstring& folder,
                                    const DeploymentSwitches& switches) {
    // A log that cannot be written is known before anything is read or changed.
    if (!switches.LogPath.empty() && ProbeLogPath(switches.LogPath) != 0) return UnattendedExit::BadSwitch;
    // What the IDE page starts from, taken as it is.
    const StoredSelection stored = LoadPreviousSelection(install, switches.Profile);
    (void)stored;  // only the wizard's page text depends on it
    LoadStoredCustomizeMask(install);
    std::vector<std::wstring> refusal;
    const UnattendedExit choices = ApplyDeploymentChoices(install, switches, refusal);
    // The directory page's proposal or the folder given, stored as the page stores its text.
    install.Plan.InstallDir =
        StripOneTrailingSeparator(folder.empty() ? ProposedInstallDir(install, StoredInstallDir()) : folder);
    if (choices != UnattendedExit::Success) {
        WriteRefusal(install.Plan.InstallDir, switches, refusal);
        return choices;
    }
    SelectCheckedItems(install);
    // The wizard cannot go on from an IDE page with no line ticked.
    if (install.Plan.SelectedItemMask.Empty()) return UnattendedExit::NothingToDo;
    // Nobody can be asked to close an IDE: the run is refused before it changes anything.
    if (!RunningIdeNames(install).empty()) return UnattendedExit::IdeRunning;
    UnattendedExit exit = RunChosenInstall(install);
    // The logs are closed now; the copy is what install.log holds.
    if (!switches.LogPath.empty() && CopyInstallLog(install.Plan.InstallDir, switches.LogPath) != 0 &&
        exit == UnattendedExit::Success)
        exit = UnattendedExit::RowsFailed;
    return exit;
}

UnattendedExit RunChosenInstall(script::InstallContext& install) {
    ScriptRunner script(install.Plan);
    script.Start();
    const int failed = RunRemainingRows(script, [&script](ActionResult result) {
        if (result.Failed())
            script.WriteLogLine(
                FormatRowError(script.Current(), result.Code(), script.CurrentRow().Word0, script.LogText()));
    });
    install.Outcome = script.Outcome();
    install.Outcome.FailedRows = failed;
    if (install.Outcome.RunRefused()) return UnattendedExit::Refused;
    // The row whose undo record failed is in the log already; nothing after it
    // ran, and the choices would go into the product key unrecorded.
    if (install.Outcome.RunStopped()) return UnattendedExit::RowsFailed;
    const bool entryCompleted = CompleteInstalledEntry(script);
    // As the finish page does, before the logs are closed. Choices that are
    // not stored would have the next install start from the wrong ones.
    install.StoreFailure = StoreChoices(install);
    if (install.StoreFailure != 0) {
        script.WriteLogLine(std::wstring(L"Storing choices: ") + ProductRegKey + LogEnding::Fail);
        return UnattendedExit::RowsFailed;
    }
    // An IDE whose packages are left to be built in the IDE is not a complete
    // install either, nor one beside what is left of the previous installation.
    return failed == 0 && entryCompleted && install.Outcome.ManualBuildIdeMask.Empty() &&
                   !install.Outcome.PreviousRemovalFailed
               ? UnattendedExit::Success
               : UnattendedExit::RowsFailed;
}

bool CompleteInstalledEntry(ScriptRunner& script) {
    const std::wstring& dir = script.State().Location.InstallDir;
    const DWORD error = uninstall_entry::CompleteEntry(dir);
    if (error == 0) return true;
    script.WriteLogLine(L"Completing uninstall entry: " + uninstall_entry::EntryKeyPath() + LogEnding::Fail + L". " +
                        SystemErrorText(error));
    return false;
}

int ListInstalledIdes(const DeploymentSwitches& switches) {
    std::vector<std::wstring> lines;
    const InstalledIdes ides = FindInstalledIdes(switches.Profile);
    for (IdeIndex index(1); index.IsValid(); ++index.Value) {
        const FoundIde& found = FoundOf(ides, index);
        if (found.Exists && (IdeShortName(index) || IsNewerIdeSlot(index))) lines.push_back(IdeListLine(index, found));
    }
    if (!switches.LogPath.empty()) return WriteFileBytes(switches.LogPath, LogBytes(lines)) == 0 ? 0 : 2;
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    // Output redirected by whoever started the setup: UTF-8 into that file or pipe.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out && out != INVALID_HANDLE_VALUE && !GetConsoleMode(out, &mode)) {
        const std::string bytes = ToUtf8(text);
        return WriteAll(out, bytes.data(), bytes.size()) == 0 ? 0 : 2;
    }
    // Otherwise the console of the command prompt it was started from.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return 2;
    UniqueFile console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD written = 0;
    const bool ok = console && WriteConsoleW(console.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    FreeConsole();
    return ok ? 0 : 2;
}

}  // namespace tessel::setup
