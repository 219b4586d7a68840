// setup.exe /S and unqmv.exe /S on a stand-in machine with four IDEs: the same
// machine as after the wizard, no window at any point (watched for the whole
// run), and an exit code for every outcome.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/packages/PackageChanges.h"
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "changes/UninstallEngine.h"
#include "common/Handles.h"
#include "common/ProcessGlobals.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "changes/ActionLogic.h"
#include "changes/packages/CompilerOutput.h"
#include "script/manifest/Manifest.h"
#include "setup/CommandLine.h"
#include "setup/InstallChoices.h"
#include "setup/UnattendedInstall.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"
#include "standin/Machine.h"
#include "support/HeadlessInstall.h"
#include "support/IdeInstallChecks.h"
#include "support/MachineSnapshot.h"
#include "support/ProductKeys.h"
#include "support/SetupRun.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "uninstaller/UninstallCommandLine.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::packages;
using namespace tessel::script;
using namespace tessel::setup;
using namespace tessel::uninstaller;

namespace {

// Delphi 7, XE7, RAD Studio 12, RAD Studio 13 (with its 64-bit IDE), C++Builder 6.
const std::vector<int> kIdes = {9, 21, 29, 30, 8};
constexpr int kStudio13 = 30;

// Where the directory page puts the library: beside the first preselected IDE (C++Builder 6).
std::wstring ProposedDir() {
    const std::wstring root = StandinRootDir(8);
    return root.substr(0, root.rfind(L'\\')) + L"\\Tessel";
}

// Every window a process owns: top-level ones, shown or hidden, and message-only ones.
BOOL CALLBACK CollectWindow(HWND wnd, LPARAM lp) {
    auto* seen = reinterpret_cast<std::pair<DWORD, std::set<std::wstring>*>*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == seen->first) {
        wchar_t cls[128] = L"";
        GetClassNameW(wnd, cls, 128);
        seen->second->insert(std::wstring(cls) + L" \"" + wd::Text(wnd) + L"\"");
    }
    return TRUE;
}

struct WatchedRun {
    DWORD exitCode = STILL_ACTIVE;
    std::set<std::wstring> windows;  // class and title of each window seen
};

// Starts exe and looks for its windows every few milliseconds from its first
// instruction until it ends (or is ended after timeoutMs).
WatchedRun RunWatched(const std::wstring& exe, const std::wstring& args, DWORD timeoutMs = 300000) {
    WatchedRun run;
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, L"C:\\", &si,
                        &pi)) {
        ADD_FAILURE() << "cannot start " << ToUtf8(exe);
        return run;
    }
    ProcessHandles handles;
    handles.Process.reset(pi.hProcess);
    handles.Thread.reset(pi.hThread);
    std::pair<DWORD, std::set<std::wstring>*> seen{pi.dwProcessId, &run.windows};
    auto look = [&] {
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&seen));
        for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
            CollectWindow(w, reinterpret_cast<LPARAM>(&seen));
    };
    ResumeThread(pi.hThread);
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(pi.hProcess, 2) == WAIT_TIMEOUT) {
        look();
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(pi.hProcess, STILL_ACTIVE);
            WaitForSingleObject(pi.hProcess, 5000);
            return run;
        }
    }
    GetExitCodeProcess(pi.hProcess, &run.exitCode);
    return run;
}

std::string Windows(const WatchedRun& run) {
    std::string list;
    for (const std::wstring& w : run.windows) list += ToUtf8(w) + "\n";
    return list;
}

WatchedRun RunSetupSilently(const std::wstring& args) { return RunWatched(SetupExePath(), L"/S " + args); }

// The installed uninstaller, started with the uninstall entry's command line and more switches.
WatchedRun RunEntrySilently(const std::wstring& switches) {
    std::wstring exe, args;
    wd::SplitCommand(wd::UninstallCommand(), exe, args);
    if (exe.empty()) ADD_FAILURE() << "no uninstall entry";
    return RunWatched(exe, args + L" " + switches);
}

// The wizard walked on its proposals: Next on every page, Start, Finish.
void InstallWithTheWizard() {
    wd::Program program;
    ASSERT_TRUE(wd::Start(program, SetupExePath(), L""));
    HWND dlg = wd::FindDialog(program.pid, L"Installation Wizard for", IDC_LIST);
    ASSERT_NE(dlg, nullptr);
    for (const std::wstring& page : {WelcomeText(), SelectDelphiText(false), DirectoryText(), ReadyText()}) {
        ASSERT_TRUE(wd::WaitItemText(dlg, IDC_PAGETEXT, page));
        ASSERT_TRUE(wd::Press(dlg, IDC_NEXT));
    }
    ASSERT_TRUE(wd::WaitFor([&] { return wd::ItemText(dlg, IDCANCEL) == L"Finish"; }, 300000));
    ASSERT_TRUE(wd::Press(dlg, IDCANCEL));
    EXPECT_EQ(program.WaitExit(30000), 0u);
    program.Kill();
}

class Unattended : public testing::Test {
protected:
    std::vector<std::wstring> dirs{ProposedDir(), L"C:\\Some Folder With Blanks"};

    // The five IDEs as they come, no installation of ours, no stored choices.
    void SetUp() override {
        ResetMachine();
        ASSERT_TRUE(LayOutMachine(kIdes));
        MachineOptions with64BitIde;
        with64BitIde.With64BitIde = true;
        ASSERT_TRUE(LayOutIde(kStudio13, with64BitIde));
    }
    // No IDE, no installation of ours, no stored choices.
    void ResetMachine() {
        RemoveThroughEntryWithEngine(false);  // earlier cases damage logs on purpose
        SetCurrentDirectoryW(L"C:\\");
        ClearMachine();
        (void)DeleteRegKey(HKEY_LOCAL_MACHINE, kUninstallEntryKey);
        (void)DeleteRegKey(HKEY_LOCAL_MACHINE, ProductRegKey);
        for (const std::wstring& dir : dirs) (void)DeleteDirectoryTree(dir, false);
        // The folder of WinHelp registrations exists on every Windows.
        (void)CreateRegKey(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey);
    }
    void TearDown() override {
        for (int ide : kIdes) SetToolBehaviour(ide, ToolMode::Normal);
    }
    static MachineSnapshot Snap(const std::wstring& dir) { return SnapshotInstallPlaces(dir); }
    // The machine after an uninstall: the running uninstaller cannot delete
    // itself, nor the folder that holds it.
    static MachineSnapshot SnapAfterUninstall(const std::wstring& dir) {
        MachineSnapshot s = Snap(dir);
        s.erase(L"file " + LowerWide(dir) + L"\\unqmv.exe");
        s.erase(L"dir " + LowerWide(dir));
        return s;
    }
};

}  // namespace

TEST(UnattendedCommandLine, SlashSInstallsIntoTheFolderAfterIt) {
    struct Row {
        std::vector<std::wstring> args;
        bool unattended;
        const wchar_t* folder;
    };
    const Row rows[] = {
        {{L"/S"}, true, L""},
        {{L"-s", L"C:\\A B"}, true, L"C:\\A B"},
        {{L"\\S", L"\\\\server\\share\\lib"}, true, L"\\\\server\\share\\lib"},
        {{L"/S", L"first", L"C:\\second"}, true, L"C:\\second"},  // the last one wins
        {{L"C:\\before", L"/S"}, true, L""},                      // only what follows /S
        {{L"/S", L"C:\\A", L"/S"}, true, L""},                    // every switch starts afresh
        {{L"/S", L"rel"}, true, L"rel"},                          // refused later, not here
        {{L"/S", L"C:\\A", L"/X"}, false, L""},                   // the last switch decides
        {{L"/X", L"/S"}, true, L""},
        {{L"/S", L"/Q"}, false, L""},
        {{L"/SX"}, false, L""},
        {{L"/S", L""}, true, L""},
    };
    for (const Row& row : rows) {
        const ModeFlags f = ParseSwitches(row.args);
        std::string text;
        for (const std::wstring& a : row.args) text += ToUtf8(a) + " ";
        EXPECT_EQ(f.Unattended, row.unattended) << text;
        EXPECT_EQ(f.Folder, row.folder) << text;
        if (row.unattended) {
            EXPECT_FALSE(f.CopyOnly || f.ExtractMode || f.ShowDescription || f.EnableControls) << text;
        }
    }
}

// The wizard's install, its silent uninstall, then /S with the same choices:
// the same machine; the partial silent uninstall keeps only the settings.
TEST_F(Unattended, SameMachineAsTheWizardAndSilentUninstallsTakeItBack) {
    const std::wstring dir = ProposedDir();
    const MachineSnapshot before = Snap(dir);
    InstallWithTheWizard();
    const MachineSnapshot byWizard = Snap(dir);
    ASSERT_TRUE(PathExists(dir + L"\\RADStudio23\\Win64\\qvl290.bpl"));

    WatchedRun run = RunEntrySilently(L"/S");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(SilentExit::Complete));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall(dir)))));

    SetUp();
    run = RunSetupSilently(L"");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::Success));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    EXPECT_TRUE(NoChanges(SnapshotChanges(byWizard, Snap(dir))));
    ExpectStudio13With64BitIde(dir);

    // /K, the silent partial uninstall: the product key and the settings file stay, nothing else.
    run = RunEntrySilently(L"/K");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(SilentExit::Complete));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    const std::wstring settingsFile = L"file " + LowerWide(ResolvePath({}, LocationCode::Windows, L"qvTessel.ini"));
    size_t keptValues = 0, keptSettings = 0;
    for (const SnapshotChange& c : WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall(dir)))) {
        if (c.kind == L'+' && LowerWide(c.entry).find(L"\\software\\veltrane") != std::wstring::npos)
            keptValues += c.entry.rfind(L"value ", 0) == 0;
        else if (c.kind == L'+' && c.entry == settingsFile)
            ++keptSettings;
        else
            ADD_FAILURE() << "left: " << static_cast<char>(c.kind) << ToUtf8(c.entry);
    }
    EXPECT_EQ(keptValues, 6u) << "the product key's six values";
    EXPECT_EQ(keptSettings, 1u);
}

// Nothing to install, failing rows, a folder that is no full path and a damaged
// undo log each give their own exit code, and none of them a window. The watcher itself is checked
// on a run that does show a message box.
TEST_F(Unattended, EveryOutcomeGivesItsOwnCodeWithoutWindows) {
    const std::wstring dir = ProposedDir();
    const WatchedRun control = RunWatched(TESSEL_BUILD_DIR L"\\uninstaller\\unqmv.exe", L"", 5000);
    EXPECT_FALSE(control.windows.empty()) << "the watcher sees the message box of an uninstaller without a log";

    // Stored choices that name only an IDE this machine does not have (Delphi 3).
    const uint32_t delphi3Item = IdeTable[1].Item.Bits();
    ASSERT_EQ(0u,
              WriteRegInteger(HKEY_LOCAL_MACHINE, ProductRegKey, L"InstallVersions", IdeTable[1].InternalId.Bits()));
    ASSERT_EQ(0u, WriteRegInteger(HKEY_LOCAL_MACHINE, ProductRegKey, L"InstallItems", delphi3Item));
    const MachineSnapshot stored = Snap(dir);
    WatchedRun run = RunSetupSilently(L"");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::NothingToDo));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    EXPECT_TRUE(NoChanges(SnapshotChanges(stored, Snap(dir))));
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, ProductRegKey);

    ASSERT_TRUE(SetToolBehaviour(9, ToolMode::Fail));
    run = RunSetupSilently(L"");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::RowsFailed));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    // Every failed row is in the log with the text the wizard would have shown.
    const std::wstring log = InstallLogText(dir);
    size_t failed = 0;
    for (size_t at = log.find(L"Error in ScriptItem="); at != std::wstring::npos;
         at = log.find(L"Error in ScriptItem=", at + 1)) {
        ++failed;
        const std::wstring line = log.substr(at, log.find(L"\r\n", log.find(L"\r\n", at) + 2) - at);
        EXPECT_NE(line.find(L"Delphi7"), std::wstring::npos) << ToUtf8(line);
        EXPECT_NE(line.find(L"...Fail"), std::wstring::npos) << ToUtf8(line);
    }
    EXPECT_GE(failed, 2u) << "the run-time and the design-time package of Delphi 7";
    EXPECT_NE(log.find(L"Registering Uninstall: "), std::wstring::npos) << "the run went on to its end";
    std::wstring root;
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, ProductRegKey, L"RootDir", root));

    // A relative folder is refused before anything changes: the installation
    // above, its uninstall entry and its stored choices stay as they are.
    SetToolBehaviour(9, ToolMode::Normal);
    const MachineSnapshot installed = Snap(dir);
    run = RunSetupSilently(L"Tessel");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::Refused));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    EXPECT_TRUE(NoChanges(SnapshotChanges(installed, Snap(dir))));
    EXPECT_FALSE(PathExists(L"C:\\Tessel"));

    // The uninstaller: a log that cannot be opened, an invalid one, and one
    // whose last record is damaged (whole in size, so no torn tail), which
    // stops the walk before any change.
    const std::wstring undoLog = dir + L"\\uninst.log";
    std::string bytes;
    ASSERT_EQ(0u, ReadFileBytes(undoLog, bytes));
    MakeFile(dir + L"\\foreign.log", "MZ\x90");
    std::string damagedBytes = bytes;
    damagedBytes.back() = static_cast<char>(damagedBytes.back() ^ 1);  // the trailing length's high byte
    MakeFile(undoLog, damagedBytes);
    const MachineSnapshot damaged = Snap(dir);
    const struct {
        std::wstring args;
        SilentExit code;
    } cases[] = {
        {L"/S \"C:\\missing\\uninst.log\"", SilentExit::CannotOpen},
        {L"/S", SilentExit::CannotOpen},
        {L"/S \"" + dir + L"\\foreign.log\" /K", SilentExit::InvalidLog},
        {L"/P \"" + undoLog + L"\" /K", SilentExit::WalkStopped},
    };
    for (const auto& c : cases) {
        run = RunWatched(TESSEL_BUILD_DIR L"\\uninstaller\\unqmv.exe", c.args);
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(c.code)) << ToUtf8(c.args);
        EXPECT_TRUE(run.windows.empty()) << ToUtf8(c.args) << "\n" << Windows(run);
    }
    EXPECT_TRUE(NoChanges(SnapshotChanges(damaged, Snap(dir))));
    MakeFile(undoLog, bytes);  // so that the next test starts from a clean machine
}

TEST_F(Unattended, FolderWithBlanksInstallsThereAndItsEntryRemovesIt) {
    const std::wstring dir = L"C:\\Some Folder With Blanks";
    const MachineSnapshot before = Snap(dir);
    WatchedRun run = RunSetupSilently(L"\"" + dir + L"\"");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::Success));
    EXPECT_TRUE(PathExists(dir + L"\\Source\\qvUtils.pas"));
    EXPECT_TRUE(PathExists(dir + L"\\Delphi7\\qvl70.bpl"));
    std::wstring root;
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, ProductRegKey, L"RootDir", root));
    EXPECT_EQ(root, dir);
    EXPECT_EQ(wd::UninstallCommand(), L"\"" + dir + L"\\unqmv.exe\" \"" + dir + L"\\uninst.log\"");

    run = RunEntrySilently(L"/S");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(SilentExit::Complete));
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall(dir)))));
}

// Choices that cannot be stored under the product key (here: its parent is a
// volatile key, which takes no lasting child) fail /S with a line in the
// install log instead of passing unnoticed.
namespace {

// A copy-only install of the one item 0x80 into the proposed folder, with the
// setup's own payload: its exit as /S would report it.
UnattendedExit RunCopyOnlyInstall() {
    UniqueModule payload(LoadLibraryExW(TESSEL_BUILD_DIR L"/setup/setup.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!payload.valid()) return UnattendedExit::Refused;
    PayloadModule = payload.get();
    InstallContext install;
    install.Plan.InstallDir = ProposedDir();
    install.Plan.CopyOnly = true;
    install.Plan.SelectedItemMask = ItemMask(0x80);
    const UnattendedExit exit = RunChosenInstall(install);
    PayloadModule = nullptr;
    return exit;
}

}  // namespace

TEST_F(Unattended, ChoicesThatCannotBeStoredFailTheRun) {
    const std::wstring parent = L"Software\\Veltrane";
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, parent);
    UniqueHKey volatileKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, parent.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_WRITE, nullptr, volatileKey.put(), nullptr));
    volatileKey.reset();
    EXPECT_EQ(UnattendedExit::RowsFailed, RunCopyOnlyInstall());
    EXPECT_NE(
        InstallLogText(ProposedDir()).find(std::wstring(L"\r\nStoring choices: ") + ProductRegKey + L"...Fail\r\n"),
        std::wstring::npos);
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, parent);
}

// An earlier installation that is not removed whole (its entry names a file
// that is no undo log) fails the run, with the removal's own line in the log.
TEST_F(Unattended, EarlierInstallationNotRemovedFailsTheRun) {
    const std::wstring old = L"C:\\OldTessel";
    ASSERT_EQ(0u, CreateDirectoryPath(old));
    ASSERT_EQ(0u, WriteFileBytes(old + L"\\uninst.log", std::string("not an undo log")));
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"DisplayName", L"Tessel library"));
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString",
                                 L"x.exe " + old + L"\\uninst.log"));
    EXPECT_EQ(UnattendedExit::RowsFailed, RunCopyOnlyInstall());
    EXPECT_NE(
        InstallLogText(ProposedDir())
            .find(L"\r\nRemoving previous installation: " + old + L"\\uninst.log...Fail. The file is no undo log.\r\n"),
        std::wstring::npos);
    (void)DeleteDirectoryTree(old, false);
}

// An IDE left open would hold the packages and later write its settings back
// over the install's: neither program changes anything while one it touches runs.
TEST_F(Unattended, AnIdeLeftRunningStopsBothProgramsBeforeAnyChange) {
    const std::wstring dir = ProposedDir();
    UniqueKernelHandle ide = StartStandinIde(StandinRootDir(29) + L"\\bin\\bds.exe");
    ASSERT_TRUE(ide.valid());
    const MachineSnapshot before = Snap(dir);
    WatchedRun run = RunSetupSilently(L"");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::IdeRunning));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, Snap(dir))));
    ASSERT_TRUE(EndStandinIde(ide));
    ASSERT_EQ(RunSetupSilently(L"").exitCode, static_cast<DWORD>(UnattendedExit::Success));

    // C++Builder 6, which the undo log names.
    ide = StartStandinIde(StandinRootDir(8) + L"\\bin\\bcb.exe");
    ASSERT_TRUE(ide.valid());
    const MachineSnapshot installed = Snap(dir);
    for (const wchar_t* mode : {L"/S", L"/K"}) {
        run = RunEntrySilently(mode);
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(SilentExit::IdeRunning)) << ToUtf8(mode);
        EXPECT_TRUE(run.windows.empty()) << Windows(run);
    }
    EXPECT_TRUE(NoChanges(SnapshotChanges(installed, Snap(dir))));
    ASSERT_TRUE(EndStandinIde(ide));
    EXPECT_EQ(RunEntrySilently(L"/S").exitCode, static_cast<DWORD>(SilentExit::Complete));
}

// RAD Studio 12's compilers refuse as an edition without command-line compiling
// does, and XE7's dcc32 fails on a unit: RAD Studio 12 gets its sources and paths
// but no package, XE7's missing package is explained in install.log, the other
// IDEs install as usual, and the uninstall takes everything back.
TEST_F(Unattended, AnEditionThatCannotCompileIsLeftToTheIdeAndABuildErrorIsExplained) {
    const std::wstring dir = ProposedDir();
    const std::wstring e2003 = L"qvStorage.pas(12) Error: E2003 Undeclared identifier: 'Foo'";
    ASSERT_TRUE(SetToolOutput(29, NoCommandLineCompiling, 1));
    ASSERT_TRUE(SetToolOutput(21, e2003, 2, L"dcc32"));
    const MachineSnapshot before = Snap(dir);
    const WatchedRun run = RunSetupSilently(L"");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::RowsFailed));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);

    const std::wstring log = InstallLogText(dir);
    const std::wstring skipped =
        L"...Skipped. This edition of RAD Studio 12 does not support command line compiling\r\n";
    const std::wstring studio = dir + L"\\RADStudio23\\";
    for (const std::wstring& line :
         {L"Compiling package: qvl290.dpk" + skipped, L"Check file: " + studio + L"Win32\\qvl290.bpl" + skipped,
          L"Compiling package: dclqvl290.dpk" + skipped,
          L"Registering package: " + studio + L"Win32\\dclqvl290.bpl" + skipped,
          L"Check file: " + studio + L"Win64\\qvl290.bpl" + skipped})
        EXPECT_NE(log.find(line), std::wstring::npos) << ToUtf8(line);
    EXPECT_EQ(log.find(L"Error in ScriptItem", log.find(L"Compiling package: qvl290.dpk")), std::wstring::npos)
        << "no failed row for RAD Studio 12";
    EXPECT_NE(log.find(L"Check file: " + dir +
                       L"\\RADStudio15\\Win32\\qvl210.bpl...Fail\r\n    dcc32.exe exit code: 2\r\n"
                       L"    " +
                       e2003 + L"\r\n"),
              std::wstring::npos);

    const std::wstring studioKey = IdeTable[29].RegKey;
    MachineSnapshot known;
    SnapshotKey(HKEY_CURRENT_USER, studioKey + L"\\Known Packages", known);
    for (const auto& entry : known) EXPECT_EQ(entry.first.find(L"qvl290"), std::wstring::npos) << ToUtf8(entry.first);
    EXPECT_NE(RegText(HKEY_CURRENT_USER, studioKey + L"\\Library\\Win32", L"Search Path").find(studio + L"Win32"),
              std::wstring::npos);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, std::wstring(IdeTable[9].RegKey) + L"\\Known Packages",
                      dir + L"\\Delphi7\\dclqvl70.bpl"),
              L"Tessel library v4.09");

    EXPECT_EQ(RunEntrySilently(L"/S").exitCode, static_cast<DWORD>(SilentExit::Complete));
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall(dir)))));
}

// IDEs newer than the table: the newest "BDS\<N>.0" on the machine is offered
// first with its version, /S builds it from the projects with the automatic
// suffix (N0), with the Modern toolchain's Win64x files where the machine has
// the toolchain, and the silent uninstall takes all of it back. An older
// version above the table beside it is left alone.
TEST_F(Unattended, IdesNewerThanTheTableInstallAndUninstall) {
    const std::wstring dir = L"C:\\Tessel Newer";
    dirs.push_back(dir);
    const struct Shape {
        const char* name;
        std::vector<uint32_t> newer;  // versions above the table, the newest last
        bool studio13, ide64, modern;
    } shapes[] = {
        {"BDS 38 with the 64-bit IDE and the Modern toolchain, RAD Studio 13", {38}, true, true, true},
        {"BDS 38 alone", {38}, false, false, false},
        {"BDS 38 and BDS 39", {38, 39}, false, true, false},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        ResetMachine();
        MachineOptions options;
        options.With64BitIde = shape.ide64;
        options.WithModernCpp = shape.modern;
        for (uint32_t version : shape.newer) {
            SetStandinNewerVersion(version);
            ASSERT_TRUE(LayOutIde(NewerIdeSlot, options));
        }
        if (shape.studio13) {
            ASSERT_TRUE(LayOutIde(kStudio13, options));
        }
        const uint32_t newest = shape.newer.back();
        const std::wstring suffix = std::to_wstring(newest * 10);

        // The wizard's first line is the newest version.
        InstallContext install;
        LoadPreviousSelection(install);
        EXPECT_EQ(FoundOf(install.Plan.Ides, IdeIndex(NewerIdeSlot)).BdsVersion, newest);
        ASSERT_TRUE(ItemShown(install, 0));
        EXPECT_EQ(ItemCaption(install, 0), L"RAD Studio (BDS " + std::to_wstring(newest) + L".0)");

        const MachineSnapshot before = Snap(dir);
        // By name: the version offered, not another one above the table.
        std::wstring names;
        if (shape.newer.size() > 1) {
            WatchedRun refused = RunSetupSilently(L"/IDE=bds" + std::to_wstring(shape.newer[0]) + L" \"" + dir + L"\"");
            EXPECT_EQ(refused.exitCode, static_cast<DWORD>(UnattendedExit::IdeMissing));
            EXPECT_TRUE(NoChanges(SnapshotChanges(before, Snap(dir))));
            names = L"/IDE=bds" + std::to_wstring(newest) + L" ";
        }
        WatchedRun run = RunSetupSilently(names + L"\"" + dir + L"\"");
        ASSERT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::Success)) << ToUtf8(InstallLogText(dir));
        const std::wstring folder = dir + L"\\RADStudioNewer";
        const std::wstring key = IdeKeyOf(IdeIndex(NewerIdeSlot), newest);
        EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + KnownPackagesKey, folder + L"\\Win32\\dclqvl" + suffix + L".bpl"),
                  L"Tessel library v4.09");
        EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + KnownPackagesX64Key, folder + L"\\Win64\\dclqvl" + suffix + L".bpl"),
                  shape.ide64 ? L"Tessel library v4.09" : L"<missing>");
        EXPECT_TRUE(PathExists(StandinCommonDir(NewerIdeSlot) + L"\\Bpl\\qvl" + suffix + L".bpl"));
        EXPECT_NE(RegText(HKEY_CURRENT_USER, key + L"\\Library\\Win32", L"Search Path").find(folder + L"\\Win32"),
                  std::wstring::npos);
        EXPECT_EQ(PathExists(folder + L"\\Win64x\\qvl.bpi") && PathExists(folder + L"\\Win64x\\qvl.lib"), shape.modern);
        EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + L"\\Library\\Win64x", L"Search Path").find(folder + L"\\Win64x") !=
                      std::wstring::npos,
                  shape.modern);
        EXPECT_EQ(RegText(HKEY_CURRENT_USER, key + L"\\C++\\Paths\\Win64x", L"LibraryPath").find(folder + L"\\Win64x") !=
                      std::wstring::npos,
                  shape.modern);
        // The next run starts from the newer IDE's stored choice.
        InstallContext next;
        LoadPreviousSelection(next);
        EXPECT_TRUE(next.Plan.CheckedLines.Has(LineBit(0)));
        if (shape.studio13) {
            EXPECT_TRUE(PathExists(dir + L"\\RADStudio37\\Win64\\dclqvl370.bpl"));
            EXPECT_TRUE(PathExists(dir + L"\\RADStudio37\\Win64x\\qvl370.bpi"));
        }
        // The older version above the table gets nothing.
        if (shape.newer.size() > 1) {
            const std::wstring older = IdeKeyOf(IdeIndex(NewerIdeSlot), shape.newer[0]);
            EXPECT_EQ(RegText(HKEY_CURRENT_USER, older + KnownPackagesKey, folder + L"\\Win32\\dclqvl" +
                                                                              std::to_wstring(shape.newer[0] * 10) + L".bpl"),
                      L"<missing>");
        }

        run = RunEntrySilently(L"/S");
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(SilentExit::Complete));
        EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall(dir)))));
    }
    SetStandinNewerVersion(38);
}

// The deployment switches on a machine with Delphi 7, RAD Studio 12 and RAD
// Studio 13 (with its 64-bit IDE): the IDEs and items named and nothing else,
// refusals that change nothing, the log's copy, a registry profile, the
// uninstall entry's values for package managers, each install taken back whole.
namespace {

const std::wstring kProfileKey = L"Software\\Embarcadero\\CI";
const std::wstring kCopy = L"C:\\deploy-logs\\setup.log";

class Deployment : public testing::Test {
protected:
    const std::wstring dir = L"C:\\Deploy Tessel";
    // setup.exe /S into dir with more switches.
    WatchedRun Install(const std::wstring& switches) const { return RunSetupSilently(L"\"" + dir + L"\" " + switches); }

    void SetUp() override {
        RemoveThroughEntryWithEngine(false);
        ClearMachine();
        (void)DeleteRegKey(HKEY_LOCAL_MACHINE, kUninstallEntryKey);
        (void)DeleteRegKey(HKEY_LOCAL_MACHINE, ProductRegKey);
        (void)DeleteRegKey(HKEY_CURRENT_USER, kProfileKey);
        (void)DeleteDirectoryTree(dir, false);
        (void)DeleteDirectoryTree(L"C:\\deploy-logs", false);
        ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\deploy-logs"));
        (void)CreateRegKey(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey);
        ASSERT_TRUE(LayOutMachine({9, 29}));
        MachineOptions with64BitIde;
        with64BitIde.With64BitIde = true;
        ASSERT_TRUE(LayOutIde(kStudio13, with64BitIde));
    }
    void TearDown() override { (void)DeleteRegKey(HKEY_CURRENT_USER, kProfileKey); }
    MachineSnapshot Snap() const { return SnapshotInstallPlaces(dir); }
    MachineSnapshot SnapAfterUninstall() const {
        MachineSnapshot s = Snap();
        s.erase(L"file " + LowerWide(dir) + L"\\unqmv.exe");
        s.erase(L"dir " + LowerWide(dir));
        return s;
    }
};

std::wstring FileText(const std::wstring& path) {
    std::string bytes;
    if (ReadFileBytes(path, bytes) != 0) return L"<none>";
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

}  // namespace

TEST_F(Deployment, NamedIdesAndItemsRefusalsLogCopyAndTheEntryValues) {
    // /LIST first: it names what the rows below choose from, and changes nothing.
    const MachineSnapshot before = Snap();
    EXPECT_EQ(RunWatched(SetupExePath(), L"/LIST /LOG=" + kCopy).exitCode, 0u);
    const std::wstring listing = FileText(kCopy);
    std::printf("/LIST:\n%s", ToUtf8(listing).c_str());
    for (const wchar_t* line : {L"d7\t7.0\t", L"rs12\t23.0\t", L"rs13\t37.0\t"})
        EXPECT_NE(listing.find(line), std::wstring::npos) << ToUtf8(line);
    EXPECT_NE(listing.find(L"\t64-bit IDE: yes\tModern C++: no\r\n"), std::wstring::npos);
    (void)DeleteFileW(kCopy.c_str());

    // Refused before anything changes: the code, and the reason in the log's copy.
    const struct {
        std::wstring args;
        UnattendedExit code;
        const wchar_t* logLine;  // nullptr: no copy is written
    } refusals[] = {
        {L"/IDE=rs13,xe7,bds38 /LOG=" + kCopy, UnattendedExit::IdeMissing, L"Not installed: xe7, bds38. "},
        {L"/IDE=rs13 /ITEMS=help,samples /LOG=" + kCopy, UnattendedExit::BadSwitch, L"Unknown names: samples. "},
        {L"/IDE=rs13 /PROFILE=CI /LOG=" + kCopy, UnattendedExit::IdeMissing, L"Not installed: rs13. "},
        {L"/IDE=rs13 /PROFILE=..\\BDS /LOG=" + kCopy, UnattendedExit::BadSwitch, L"Invalid profile name: ..\\BDS. "},
        {L"/IDE=rs13 /LOG=C:\\no-such-folder\\setup.log", UnattendedExit::BadSwitch, nullptr},
    };
    // A folder link on the way to the log (as one planted in a folder others
    // can write to): refused, and nothing written where it leads.
    const std::wstring linkTarget = L"C:\\deploy-link-target";
    (void)DeleteDirectoryTree(linkTarget, false);
    ASSERT_EQ(0u, CreateDirectoryPath(linkTarget));
    ASSERT_TRUE(MakeHostFolderLink(L"C:\\deploy-logs\\link", linkTarget));
    const MachineSnapshot withLink = Snap();
    const WatchedRun linked = Install(L"/IDE=rs13 /LOG=C:\\deploy-logs\\link\\setup.log");
    EXPECT_EQ(linked.exitCode, static_cast<DWORD>(UnattendedExit::BadSwitch));
    EXPECT_FALSE(PathExists(linkTarget + L"\\setup.log"));
    EXPECT_TRUE(NoChanges(SnapshotChanges(withLink, Snap())));
    (void)DeleteDirectoryTree(L"C:\\deploy-logs\\link", false);
    for (const auto& r : refusals) {
        const WatchedRun run = Install(r.args);
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(r.code)) << ToUtf8(r.args);
        EXPECT_TRUE(run.windows.empty()) << Windows(run);
        EXPECT_TRUE(NoChanges(SnapshotChanges(before, Snap()))) << ToUtf8(r.args);
        const std::wstring copy = FileText(kCopy);
        EXPECT_TRUE(r.logLine ? copy.find(r.logLine) != std::wstring::npos : copy == L"<none>") << ToUtf8(copy);
        (void)DeleteFileW(kCopy.c_str());
    }

    // RAD Studio 13 alone (with its 64-bit IDE), no help, no demos.
    WatchedRun run = Install(L"/IDE=rs13 /ITEMS= /LOG=" + kCopy);
    ASSERT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::Success));
    EXPECT_TRUE(run.windows.empty()) << Windows(run);
    ExpectStudio13With64BitIde(dir);
    for (const wchar_t* absent : {L"\\Delphi7", L"\\RADStudio23", L"\\Help", L"\\Demos"})
        EXPECT_FALSE(PathExists(dir + absent)) << ToUtf8(absent);
    EXPECT_EQ(FileText(kCopy), FileText(dir + L"\\install.log"));
    EXPECT_NE(FileText(kCopy).find(L"Borland products: RADStudio37\r\n"), std::wstring::npos);

    // The entry's values for package managers, then gone with the entry.
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"QuietUninstallString"),
              QuoteIfBlank(dir + L"\\unqmv.exe") + L" " + QuoteIfBlank(dir + L"\\uninst.log") + L" /S");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"DisplayIcon"), dir + L"\\unqmv.exe");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"InstallLocation"), dir);
    DWORD size = 0, noModify = 0, noRepair = 0;
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"EstimatedSize", size));
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"NoModify", noModify));
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"NoRepair", noRepair));
    EXPECT_GT(size, 100u) << "KiB: the sources alone are more";
    EXPECT_LT(size, 100000u);
    EXPECT_EQ(noModify, 1u);
    EXPECT_EQ(noRepair, 1u);

    std::wstring exe, args;
    wd::SplitCommand(RegText(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"QuietUninstallString"), exe, args);
    run = RunWatched(exe, args);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(SilentExit::Complete));
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall()))));
    RegKey entry;
    EXPECT_NE(0u, entry.Open(HKEY_LOCAL_MACHINE, kUninstallEntryKey, KEY_READ)) << "the entry and its values are gone";
}

// A profile install changes the profile's keys and no value of the IDE's own,
// and its uninstall takes exactly that back.
TEST_F(Deployment, AProfileInstallChangesOnlyTheProfilesKeys) {
    const std::wstring studioKey = IdeTable[kStudio13].RegKey;
    {
        UniqueHKey from, to;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, studioKey.c_str(), 0, KEY_READ, from.put()));
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (kProfileKey + L"\\37.0").c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, to.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegCopyTreeW(from.get(), nullptr, to.get()));
    }
    const MachineSnapshot before = Snap();
    const WatchedRun run = Install(L"/IDE=rs13 /ITEMS= /PROFILE=CI");
    ASSERT_EQ(run.exitCode, static_cast<DWORD>(UnattendedExit::Success));
    const std::wstring profileLower = L"HKCU\\" + LowerWide(kProfileKey) + L"\\";
    size_t profileChanges = 0;
    for (const SnapshotChange& c : SnapshotChanges(before, Snap())) {
        const bool userIdeKey = c.entry.find(L" HKCU\\software\\") != std::wstring::npos &&
                                c.entry.find(L"\\veltrane") == std::wstring::npos;
        if (!userIdeKey) continue;
        EXPECT_NE(c.entry.find(profileLower), std::wstring::npos) << "outside the profile: " << ToUtf8(c.entry);
        ++profileChanges;
    }
    EXPECT_GE(profileChanges, 4u) << "Known Packages (both IDEs) and the search paths";
    EXPECT_NE(InstallLogText(dir).find(L"\r\nRegistry profile: CI\r\n"), std::wstring::npos);
    EXPECT_NE(RegText(HKEY_CURRENT_USER, kProfileKey + L"\\37.0\\Known Packages x64",
                      dir + L"\\RADStudio37\\Win64\\dclqvl370.bpl"),
              L"");

    EXPECT_EQ(RunEntrySilently(L"/S").exitCode, static_cast<DWORD>(SilentExit::Complete));
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, SnapAfterUninstall()))));
}
