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

// How long the root of a full path is: "C:\" 3, "\\server\share\" up to its
// last backslash; 0 when there is nothing below the root.
size_t RootLength(const std::wstring& path) {
    if (path.size() > 3 && path[1] == L':') return 3;
    size_t at = 2;
    for (int separators = 0; separators < 2; ++separators) {
        at = path.find(L'\\', at);
        if (at == std::wstring::npos || at + 1 >= path.size()) return 0;
        ++at;
    }
    return at;
}

// The /LOG file, opened to be written (created when missing). The setup runs
// elevated and the file may lie below folders others can write to, so the
// folders from the drive's root on are held open and refused when any is a
// link, and the file is opened without following a link and refused when it
// is one: a junction or link planted on the way cannot send the write
// elsewhere. created says whether the open made the file.
DWORD OpenLogFile(const std::wstring& path, HeldFolders& held, UniqueFile& file, bool& created) {
    if (!IsFullPath(path)) return ERROR_BAD_PATHNAME;
    const size_t root = RootLength(path);
    if (root == 0) return ERROR_BAD_PATHNAME;
    if (const DWORD error = held.Hold(path.substr(0, root), path.substr(root), HeldFolders::Reach::Parent))
        return error;
    file.reset(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD openError = GetLastError();
    if (!file) return openError != 0 ? openError : static_cast<DWORD>(ERROR_CANNOT_MAKE);
    created = openError != ERROR_ALREADY_EXISTS;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) return LastErrorOr(ERROR_CANNOT_MAKE);
    if (IsLinkAttributes(info.dwFileAttributes)) return LinkInPathError;  // never written: nothing was created
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_DIRECTORY;
    return 0;
}

// bytes as the whole of the /LOG file; 0 or the Win32 error.
DWORD WriteLogFile(const std::wstring& path, const std::string& bytes) {
    HeldFolders held;
    UniqueFile file;
    bool created = false;
    if (const DWORD error = OpenLogFile(path, held, file, created)) return error;
    if (!SetEndOfFile(file.get())) return LastErrorOr(ERROR_WRITE_FAULT);  // the file pointer is at 0
    return WriteAll(file.get(), bytes.data(), bytes.size());
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
    if (!switches.LogPath.empty()) (void)WriteLogFile(switches.LogPath, bytes);
}

}  // namespace

DWORD ProbeLogPath(const std::wstring& path) {
    HeldFolders held;
    UniqueFile probe;
    bool created = false;
    const DWORD error = OpenLogFile(path, held, probe, created);
    // A file made for the test goes again, through its handle: by name, a
    // link swapped in meanwhile could have it delete another file.
    if (probe && created) {
        if (const DWORD deleteError = DeleteOnClose(probe)) return error != 0 ? error : deleteError;
    }
    return error;
}

DWORD CopyInstallLog(const std::wstring& installDir, const std::wstring& path) {
    std::string bytes;
    if (const DWORD error = ReadFileBytes(JoinPath(installDir, InstallLogFileName), bytes, FILE_SHARE_READ))
        return error;
    return WriteLogFile(path, bytes);
}

UnattendedExit ApplyDeploymentChoices(script::InstallContext& install, const DeploymentSwitches& switches,
                                      std::vector<std::wstring>& lines) {
    lines = switches.Errors;
    if (!lines.empty()) return UnattendedExit::BadSwitch;
    install.Plan.Profile = switches.Profile;
    const InstalledIdes& ides = install.Plan.Ides;
    const ChosenNames chosen = ResolveChosenNames(switches, ides, [&switches, &ides](IdeIndex index) -> bool {
        RegKey key;
        return key.Open(HKEY_CURRENT_USER, UserKeyOf(IdeKeyOf(index, FoundOf(ides, index).BdsVersion), switches.Profile), KEY_READ) == 0;
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
    if (!switches.LogPath.empty()) return WriteLogFile(switches.LogPath, LogBytes(lines)) == 0 ? 0 : 2;
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
