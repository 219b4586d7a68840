// The uninstaller program as a user meets it: started with a command line,
// its message boxes read, its dialog driven, and the machine compared with
// how it was before the install.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/files/FileChanges.h"
#include <windows.h>
#include <commctrl.h>
#include "changes/UninstallEngine.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "uninstaller/UninstallCommandLine.h"
#include "uninstaller/UninstallDialogProgress.h"
#include "uninstaller/resource.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "changes/Changes.h"
#include "support/DialogTemplate.h"
#include "support/MachineSnapshot.h"
#include "support/ProductKeys.h"
#include "support/TestFiles.h"
#include "support/UndoLogWriter.h"
#include "support/WindowDriver.h"
#include "common/WindowHandles.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::files;
using namespace tessel::uninstaller;

namespace {

const HKEY HKCU = HKEY_CURRENT_USER;
const HKEY HKLM = HKEY_LOCAL_MACHINE;
const std::wstring ErrorCaption = L"Unistall error";
const std::wstring InstallFolder = L"C:\\Program Files\\Tessel Lib";
const std::wstring ProductKey = L"Software\\Veltrane\\Tessel library";
const std::wstring UninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const int Delphi7 = 9, XE7 = 22;

std::wstring BuiltUninstaller() {
    std::wstring path = TESSEL_BUILD_DIR L"/uninstaller/unqmv.exe";
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

void AppendFile(const std::wstring& path, const std::string& more) {
    std::string bytes;
    (void)ReadFileBytes(path, bytes);
    MakeFile(path, bytes + more);
}

void AppendToList(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& folder) {
    std::wstring value;
    (void)ReadRegString(root, key, name, value);
    (void)WriteRegString(root, key, name, value.empty() ? folder : value + L";" + folder);
}

// The places a Tessel install touches on this test machine.
struct TestMachine {
    std::wstring d7Root = L"C:\\IDEs\\Delphi 7", xe7Root = L"C:\\IDEs\\XE7";
    std::wstring windows = ResolvePath({}, LocationCode::Windows, L"");

    MachineSnapshot Snapshot() const {
        MachineSnapshot s;
        for (const wchar_t* key : {IdeTable[Delphi7].RegKey, IdeTable[XE7].RegKey}) SnapshotKey(HKCU, key, s);
        SnapshotKey(HKLM, tessel::changes::help::WinHelpKey, s);
        SnapshotKey(HKLM, UninstallKey, s);
        SnapshotKey(HKLM, L"Software\\Veltrane", s);
        SnapshotFolder(d7Root, s);
        SnapshotFolder(xe7Root, s);
        SnapshotFolder(InstallFolder, s);
        std::string ini;
        s[L"ini"] = ReadFileBytes(windows + L"\\qvTessel.ini", ini) == 0 ? FromAnsi(ini) : L"<none>";
        return s;
    }

    // Two IDEs with the user's own settings, as they were before the install.
    void PrepareIdes() const {
        (void)DeleteDirectoryTree(InstallFolder, false);  // what an earlier uninstall left
        MakeFile(d7Root + L"\\bin\\dcc32.exe");
        (void)WriteRegString(HKLM, IdeTable[Delphi7].RegKey, L"RootDir", d7Root);
        MakeFile(d7Root + L"\\Help\\d7.ohi", ":Index Delphi=delphi7.hlp\r\n:Index VCL=vcl.hlp");
        MakeFile(d7Root + L"\\Help\\d7.ohl", ":Link delphi7.hlp");
        const std::wstring d7 = IdeTable[Delphi7].RegKey;
        (void)WriteRegString(HKCU, d7 + L"\\Library", L"Search Path",
                             L"$(DELPHI)\\Lib;$(DELPHI)\\Bin;C:\\Program Files\\Tessel Library");
        (void)WriteRegString(HKCU, d7 + L"\\Known Packages", L"$(DELPHI)\\Bin\\dclstd70.bpl", L"Standard Components");

        MakeFile(xe7Root + L"\\bin\\dcc32.exe");
        (void)WriteRegString(HKLM, IdeTable[XE7].RegKey, L"RootDir", xe7Root);
        const std::wstring xe7 = IdeTable[XE7].RegKey;
        (void)WriteRegString(HKCU, xe7 + L"\\Known Packages", L"$(BDSBIN)\\dclribbon210.bpl", L"Ribbon Controls");
        (void)WriteRegString(HKCU, xe7 + L"\\Library\\Win32", L"Search Path", L"$(BDSLIB)\\$(Platform)\\release");
        (void)WriteRegString(HKCU, xe7 + L"\\Library\\Win64", L"Search Path", L"$(BDSLIB)\\$(Platform)\\release");
        (void)WriteRegString(HKCU, xe7 + L"\\C++\\Paths\\Win32", L"LibraryPath", L"$(BDSLIB)\\win32\\release");
        (void)WriteRegString(HKCU, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath", L"");
        (void)WriteRegString(HKLM, tessel::changes::help::WinHelpKey, L"delphi7.hlp", d7Root + L"\\Help");
    }

    // What the setup does to the machine for Delphi 7 and XE7 with help and
    // Delphi demos, and the undo log it writes while doing so.
    std::vector<LogRow> Install() const {
        const std::wstring& dir = InstallFolder;
        for (const wchar_t* f : {L"Source\\qvUtils.pas", L"Source\\qvTessel.inc", L"Readme.txt", L"License.txt",
                                 L"install.log", L"Help\\qvlib.hlp", L"Help\\qvlib.cnt", L"Delphi7\\qvl70.dpk",
                                 L"Delphi7\\qvl70.bpl", L"Delphi7\\dclqvl70.bpl", L"RADStudio16\\qvl210.dpk",
                                 L"RADStudio16\\Win32\\dclqvl210.bpl", L"RADStudio16\\Win64\\qvl210.bpl",
                                 L"Demos\\Delphi\\Skins\\Data\\skin.dat", L"Demos\\Delphi\\Skins\\Skins.dpr"})
            MakeFile(JoinPath(dir, f));
        MakeFile(dir + L"\\Help\\help_unreg.bat", "@echo off\r\necho unregistered>unreg.txt\r\n");
        CopyFileW(BuiltUninstaller().c_str(), (dir + L"\\unqmv.exe").c_str(), FALSE);
        MakeFile(windows + L"\\qvTessel.ini", "[Templates]\r\n");
        (void)WriteRegString(HKLM, tessel::changes::help::WinHelpKey, L"qvlib.hlp", dir + L"\\Help");
        (void)WriteRegString(HKLM, tessel::changes::help::WinHelpKey, L"qvlib.cnt", dir + L"\\Help");
        const std::wstring entry = kUninstallEntryKey;
        (void)WriteRegString(HKLM, entry, L"DisplayName", L"Veltrane Tessel library v4.09");
        (void)WriteRegString(HKLM, entry, L"UninstallString",
                             L"\"" + dir + L"\\unqmv.exe\" \"" + dir + L"\\uninst.log\"");

        const std::wstring d7 = IdeTable[Delphi7].RegKey;
        (void)WriteRegString(HKCU, d7 + L"\\Known Packages", dir + L"\\Delphi7\\dclqvl70.bpl", L"Tessel library v4.09");
        AppendToList(HKCU, d7 + L"\\Library", L"Search Path", dir + L"\\Delphi7");
        AppendFile(d7Root + L"\\Help\\d7.ohi", "\r\n:Index Tessel library components=qvlib.hlp");
        AppendFile(d7Root + L"\\Help\\d7.ohl", "\r\n:Link qvlib.hlp");

        const std::wstring xe7 = IdeTable[XE7].RegKey;
        (void)WriteRegString(HKCU, xe7 + L"\\Known Packages", dir + L"\\RADStudio16\\Win32\\dclqvl210.bpl",
                             L"Tessel library v4.09");
        AppendToList(HKCU, xe7 + L"\\Library\\Win32", L"Search Path", dir + L"\\RADStudio16\\Win32");
        AppendToList(HKCU, xe7 + L"\\C++\\Paths\\Win32", L"LibraryPath", dir + L"\\RADStudio16\\Win32");
        AppendToList(HKCU, xe7 + L"\\Library\\Win64", L"Search Path", dir + L"\\RADStudio16\\Win64");
        AppendToList(HKCU, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath", dir + L"\\RADStudio16\\Win64");
        (void)WriteRegString(HKLM, ProductKey, L"InstallDir", dir);
        (void)WriteRegInteger(HKLM, ProductKey, L"SelectedItemMask", 0x400580);

        std::vector<LogRow> rows = ProductInfoRows(dir);
        const std::vector<LogRow> changes = {
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L""},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Source"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Help"},
            {RowKind::RegisterWinHelp | RowFlag::Undo, 0, 0, L"qvlib.hlp"},
            {RowKind::RegisterWinHelp | RowFlag::Undo, 0, 0, L"qvlib.cnt"},
            {RowKind::RunInstallFile | RowFlag::Undo, 0, 0, L"help\\help_reg.bat"},
            {RowKind::ExtractFileOnce | RowFlag::Undo | RowFlag::KeepOnPartial, 29, 1, L"qvTessel.ini"},
            {RowKind::RegisterUninstall | RowFlag::Undo, 0, 3, L"unqmv.exe"},
            {RowKind::SetIde | RowFlag::Undo, Delphi7, 0, L"Delphi7"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Delphi7"},
            {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"Delphi7\\dclqvl70.bpl"},
            {RowKind::AppendText | RowFlag::Undo, 1, 4, L"\r\n:Index Tessel library components=qvlib.hlp"},
            {RowKind::AppendText | RowFlag::Undo, 2, 4, L"\r\n:Link qvlib.hlp"},
            {RowKind::DeleteOneFile | RowFlag::Undo, 0, 2, L"Help\\d7.gid"},
            {RowKind::SetIde | RowFlag::Undo, Delphi7, 0, L"Delphi7"},
            {RowKind::SetIde | RowFlag::Undo, XE7, 0, L"RADStudio16"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"RADStudio16"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"RADStudio16\\Win32"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"RADStudio16\\Win64"},
            {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"RADStudio16\\Win32\\dclqvl210.bpl"},
            {RowKind::AddIdePath | RowFlag::Undo, 3, 3, L"\\C++\\Paths\\Win32\\LibraryPath"},
            {RowKind::AddIdePath | RowFlag::Undo, 3, 3, L"\\Library\\Win32\\Search Path"},
            {RowKind::AddIdePath | RowFlag::Undo, 4, 3, L"\\Library\\Win64\\Search Path"},
            {RowKind::AddIdePath | RowFlag::Undo, 4, 3, L"\\C++\\Paths\\Win64\\LibraryPath"},
            {RowKind::SetIde | RowFlag::Undo, XE7, 0, L"RADStudio16"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Demos"},
            {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Demos\\Delphi"},
            {RowKind::CreateRegKey | RowFlag::Undo | RowFlag::KeepOnPartial, 0x80000002u, 0, ProductKey},
        };
        rows.insert(rows.end(), changes.begin(), changes.end());
        return rows;
    }
};

// Starts the installed uninstaller the way Windows does from the uninstall entry.
bool StartFromUninstallEntry(wd::Program& program, const std::wstring& extra = std::wstring()) {
    std::wstring cmd;
    if (ReadRegString(HKLM, kUninstallEntryKey, L"UninstallString", cmd) != 0) return false;
    // The entry's command line: the quoted program, then its parameters.
    const size_t afterExe = cmd.find(L"\" ") + 2;
    const std::wstring exe = cmd.substr(1, afterExe - 3);
    return wd::Start(program, exe, cmd.substr(afterExe) + extra);
}

// Runs the uninstaller with args and returns the message box it shows.
wd::MessageBoxInfo MessageFor(const std::wstring& args, const std::wstring& caption = ErrorCaption) {
    wd::Program program;
    EXPECT_TRUE(wd::Start(program, BuiltUninstaller(), args, L"C:\\"));
    wd::MessageBoxInfo box = wd::WaitMessageBox(program.pid, caption);
    EXPECT_TRUE(wd::TopWindows(program.pid).size() == 1) << "only the message box, no dialog";
    EXPECT_TRUE(wd::Answer(box, IDOK));
    EXPECT_EQ(program.WaitExit(), 0u);
    program.Kill();
    return box;
}

}  // namespace

TEST(UninstallCommandLine, SwitchesAndLogFileName) {
    auto parse = [](const std::vector<std::wstring>& p) { return ParseUninstallCommandLine(p); };
    EXPECT_FALSE(parse({}).HasParameters);
    for (const wchar_t* sw : {L"/P", L"-p", L"\\P", L"/p"}) {
        const auto c = parse({L"C:\\x\\uninst.log", sw});
        EXPECT_TRUE(c.Partial) << sw;
        EXPECT_EQ(c.LogFileName, L"C:\\x\\uninst.log");
    }
    EXPECT_FALSE(parse({L"/Px", L"a"}).Partial);
    EXPECT_FALSE(parse({L"/Q", L"a"}).Partial);
    EXPECT_FALSE(parse({L"/P", L"/Q", L"a"}).Partial);
    EXPECT_TRUE(parse({L"/Q", L"a", L"/P"}).Partial);
    // The last switch alone decides: /P partial, /S silent, /K both, any other neither.
    const struct {
        std::vector<std::wstring> params;
        bool partial, silent;
    } rows[] = {
        {{L"a", L"/S"}, false, true},   {{L"-s", L"a"}, false, true},    {{L"/P", L"/S"}, false, true},
        {{L"/S", L"\\p"}, true, false}, {{L"/S", L"/Q"}, false, false},  {{L"/K", L"/P", L"/X"}, false, false},
        {{L"/Sx"}, false, false},       {{L"/Q", L"-k"}, true, true},    {{L"/K", L"/S"}, false, true},
        {{L"/S", L"/K"}, true, true},   {{L"/K", L"/Kx"}, false, false},
    };
    for (const auto& row : rows) {
        const auto c = parse(row.params);
        EXPECT_EQ(c.Partial, row.partial) << ToUtf8(row.params[0] + L" " + row.params.back());
        EXPECT_EQ(c.Silent, row.silent) << ToUtf8(row.params[0] + L" " + row.params.back());
    }
    // Only switches: a name that cannot be opened.
    auto onlySwitch = parse({L"/P"});
    EXPECT_TRUE(onlySwitch.HasParameters);
    EXPECT_EQ(onlySwitch.LogFileName, L"");
    // A lone slash is a name; the last name wins; one pair of enclosing quotes goes.
    EXPECT_EQ(parse({L"/"}).LogFileName, L"/");
    EXPECT_EQ(parse({L"first.log", L"second.log"}).LogFileName, L"second.log");
    EXPECT_EQ(parse({L"\"C:\\A B\\uninst.log\""}).LogFileName, L"C:\\A B\\uninst.log");
    EXPECT_EQ(parse({L"\""}).LogFileName, L"\"");
    EXPECT_EQ(parse({L"\"\""}).LogFileName, L"");
    EXPECT_EQ(parse({L"\"a\"b"}).LogFileName, L"\"a\"b");
}

// The documented exit codes of a silent run, also for the outcomes that the
// end-to-end runs do not reach (an empty log, a failed help step).
TEST(UninstallCommandLine, SilentExitCodes) {
    const struct {
        UndoLogLoad load;
        int code;
    } loads[] = {{UndoLogLoad::CannotOpen, 2}, {UndoLogLoad::Empty, 3}, {UndoLogLoad::NotUndoLog, 3}};
    for (const auto& c : loads) EXPECT_EQ(static_cast<int>(SilentExitFor(c.load)), c.code) << c.code;
    const struct {
        WalkResult walk;
        int code;
    } walks[] = {{{WalkEnd::Complete, 0}, 0},
                 {{WalkEnd::Damaged, 0}, 4},
                 {{WalkEnd::Damaged, 2}, 4},
                 {{WalkEnd::StepFailed, ERROR_FILE_NOT_FOUND}, 5}};
    for (const auto& c : walks) EXPECT_EQ(static_cast<int>(SilentExitFor(c.walk)), c.code) << c.code;
}

TEST(Uninstaller, CarriesItsDialogPictureAndIcon) {
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(BuiltUninstaller(), IDD_UNINSTALL, dialog)) << "extended template 1";
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DialogTemplate expected = {
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        250,
        183,
        L"UnInstall Wizard",
        L"MS Sans Serif",
        8,
        {
            {IDC_START, L"BUTTON", L"&Start", 136, 164, 50, 14, child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
            {IDCANCEL, L"BUTTON", L"&Cancel", 192, 164, 50, 14, child | WS_TABSTOP | BS_PUSHBUTTON, 0},
            {IDC_SIDE_PICTURE, L"STATIC", L"#1", 5, 2, 80, 155, child | SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, 0},
            {0xFFFF, L"STATIC", L"", 4, 159, 241, 1, child | WS_DISABLED | SS_BLACKFRAME, WS_EX_STATICEDGE},
            {IDC_MAIN_TEXT, L"STATIC", L"text", 92, 7, 148, 91, WS_CHILD | WS_GROUP | SS_LEFT, 0},
            {IDC_PROGRESS_FRAME, L"BUTTON", L"", 93, 101, 151, 39, WS_CHILD | BS_GROUPBOX, 0},
            {IDC_PROGRESS_BAR, L"MSCTLS_PROGRESS32", L"", 97, 122, 143, 14, WS_CHILD | WS_BORDER, 0},
            {IDC_STATUS, L"STATIC", L"Copying", 97, 109, 141, 8, WS_CHILD | WS_GROUP | SS_LEFT, 0},
        }};
    EXPECT_TRUE(SameDialog(dialog, expected));

    UniqueModule exe(LoadLibraryExW(BuiltUninstaller().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(exe.valid());
    // The side picture: 119 x 258 pixels in 16 colours; the icon by name.
    HRSRC pic = FindResourceW(exe.get(), MAKEINTRESOURCEW(IDB_SIDE), RT_BITMAP);
    ASSERT_NE(pic, nullptr);
    const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(exe.get(), pic)));
    EXPECT_EQ(info->biWidth, 119);
    EXPECT_EQ(info->biHeight, 258);
    EXPECT_EQ(info->biBitCount, 4);
    EXPECT_NE(FindResourceW(exe.get(), L"MAINICON", RT_GROUP_ICON), nullptr);
}

TEST(Uninstaller, ReportsABadCommandLineInAMessageBox) {
    EXPECT_EQ(MessageFor(L"").text, L"No file with uninstall info.");
    EXPECT_EQ(MessageFor(L"C:\\missing\\uninst.log").text, L"Could not open C:\\missing\\uninst.log file.");
    EXPECT_EQ(MessageFor(L"/P").text, L"Could not open  file.");
    EXPECT_EQ(MessageFor(L"/").text, L"Could not open / file.");
    (void)CreateDirectoryPath(L"C:\\bad logs");
    MakeFile(L"C:\\bad logs\\empty.log", "");
    const char programHead[] = "MZ\x90\x00\x03\x00\x00\x00";  // the whole literal, zeros and all
    MakeFile(L"C:\\bad logs\\foreign.log", std::string(programHead, sizeof programHead - 1));
    MakeFile(L"C:\\bad logs\\short.log", "UNQMV");
    EXPECT_EQ(MessageFor(L"\"C:\\bad logs\\empty.log\"").text, L"Invalid C:\\bad logs\\empty.log file.");
    EXPECT_EQ(MessageFor(L"\"C:\\bad logs\\foreign.log\" /P").text, L"Invalid C:\\bad logs\\foreign.log file.");
    EXPECT_EQ(MessageFor(L"\"C:\\bad logs\\short.log\"").text, L"Invalid C:\\bad logs\\short.log file.");
}

TEST(Uninstaller, UndoesARealisticInstallAsTheUserDrivesIt) {
    TestMachine machine;
    machine.PrepareIdes();
    const auto before = machine.Snapshot();
    ASSERT_TRUE(WriteUndoLogFile(InstallFolder, machine.Install()));
    ASSERT_NE(machine.Snapshot(), before);

    // Cancel first: nothing changes.
    {
        wd::Program program;
        ASSERT_TRUE(StartFromUninstallEntry(program));
        HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", IDC_START);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(wd::Press(dlg, IDCANCEL));
        EXPECT_EQ(program.WaitExit(), 0u);
        program.Kill();
        EXPECT_TRUE(DirectoryExists(InstallFolder + L"\\Source"));
    }

    wd::Program program;
    ASSERT_TRUE(StartFromUninstallEntry(program));
    HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", IDC_START);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(wd::Text(dlg), L"Uninstall for Tessel library v4.09");
    EXPECT_EQ(wd::ItemText(dlg, IDC_MAIN_TEXT),
              L"Uninstall will remove the \"Tessel library v4.09\" from you computer.\r\n\r\n"
              L"Click Start button to perform the uninstall. Click Cancel to exit the uninstall.");
    EXPECT_TRUE(wd::ItemVisible(dlg, IDC_MAIN_TEXT));
    EXPECT_TRUE(wd::ItemVisible(dlg, IDC_SIDE_PICTURE));
    for (int id : {IDC_PROGRESS_FRAME, IDC_PROGRESS_BAR, IDC_STATUS}) EXPECT_FALSE(wd::ItemVisible(dlg, id)) << id;
    EXPECT_EQ(wd::ItemText(dlg, IDC_START), L"&Start");
    EXPECT_EQ(wd::ItemText(dlg, IDCANCEL), L"&Cancel");
    EXPECT_EQ(wd::ItemText(dlg, IDC_STATUS), L"Copying");
    EXPECT_TRUE(wd::ItemEnabled(dlg, IDC_START));
    EXPECT_TRUE(wd::Press(dlg, IDC_START));
    EXPECT_EQ(program.WaitExit(30000), 0u);
    program.Kill();

    auto after = machine.Snapshot();
    // The running uninstaller could not delete itself; it is all that may be left.
    after.erase(L"file " + InstallFolder + L"\\unqmv.exe");
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, after)));
    EXPECT_FALSE(DirectoryExists(InstallFolder + L"\\Source"));

    // Started again with the entry's command line: the log went with the folder.
    const std::wstring again = L"\"" + InstallFolder + L"\\uninst.log\"";
    if (GetFileAttributesW((InstallFolder + L"\\unqmv.exe").c_str()) != INVALID_FILE_ATTRIBUTES) {
        wd::Program second;
        ASSERT_TRUE(wd::Start(second, InstallFolder + L"\\unqmv.exe", again));
        EXPECT_EQ(wd::WaitMessageBox(second.pid, ErrorCaption).text,
                  L"Could not open " + InstallFolder + L"\\uninst.log file.");
        second.Kill();
    }
}

TEST(Uninstaller, PartialUninstallKeepsTheSettings) {
    TestMachine machine;
    machine.PrepareIdes();
    auto before = machine.Snapshot();
    ASSERT_TRUE(WriteUndoLogFile(InstallFolder, machine.Install()));
    std::string ini;
    ASSERT_EQ(0u, ReadFileBytes(machine.windows + L"\\qvTessel.ini", ini));
    MachineSnapshot kept;
    SnapshotKey(HKLM, L"Software\\Veltrane", kept);

    wd::Program program;
    ASSERT_TRUE(StartFromUninstallEntry(program, L" /P"));
    HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", IDC_START);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(wd::Press(dlg, IDC_START));
    EXPECT_EQ(program.WaitExit(30000), 0u);
    program.Kill();

    // The product key and the template settings stay; everything else is as before.
    auto after = machine.Snapshot();
    EXPECT_EQ(after[L"ini"], FromAnsi(ini));
    for (const auto& item : kept) {
        EXPECT_EQ(after[item.first], item.second) << item.first;
        after.erase(item.first);
    }
    after[L"ini"] = before[L"ini"];
    after.erase(L"file " + InstallFolder + L"\\unqmv.exe");
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, after)));
}

TEST(Uninstaller, RemovesARecordedKeyWithNestedSubKeys) {
    // Settings below the product key hold keys of their own; the whole branch goes,
    // which needs the program to know at start-up that it runs on the NT family.
    const std::wstring dir = L"C:\\Nested Keys";
    ASSERT_EQ(0u, WriteRegString(HKCU, ProductKey + L"\\Layout\\Window", L"Left", L"10"));
    ASSERT_TRUE(WriteUndoLogFile(
        dir, With(ProductInfoRows(dir), {
                                            {RowKind::CreateRegKey | RowFlag::Undo, 0x80000001u, 0, ProductKey},
                                        })));
    wd::Program program;
    ASSERT_TRUE(wd::Start(program, BuiltUninstaller(), L"\"" + dir + L"\\uninst.log\""));
    HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", IDC_START);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(wd::Press(dlg, IDC_START));
    EXPECT_EQ(program.WaitExit(30000), 0u);
    program.Kill();
    UniqueHKey key;
    EXPECT_NE(RegOpenKeyExW(HKCU, ProductKey.c_str(), 0, KEY_READ, key.put()), ERROR_SUCCESS);
}

// A walk that fails shows "Uninstall fail." and waits for Close: a damaged log
// stops before any change; a help batch that cannot be started fails only its
// own step, and the records before it in the log are still taken back.
TEST(Uninstaller, AFailedWalkShowsTheFailureAndWaitsForClose) {
    const std::wstring dir = L"C:\\Failed Install";
    for (const bool damaged : {true, false}) {
        (void)CreateDirectoryPath(dir + L"\\Source");
        ASSERT_TRUE(WriteUndoLogFile(
            dir, With(ProductInfoRows(dir), {
                                                {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Source"},
                                                {RowKind::RunInstallFile | RowFlag::Undo, 0, 0, L"help\\help_reg.bat"},
                                                {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Help"},
                                            })));
        std::string bytes;
        ASSERT_EQ(0u, ReadFileBytes(dir + L"\\uninst.log", bytes));
        if (damaged) bytes.back() = static_cast<char>(bytes.back() ^ 1);  // the last record's trailing length
        MakeFile(dir + L"\\uninst.log", bytes);

        wd::Program program;
        ASSERT_TRUE(wd::Start(program, BuiltUninstaller(), L"\"" + dir + L"\\uninst.log\""));
        HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", IDC_START);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(wd::Press(dlg, IDC_START));
        EXPECT_TRUE(wd::WaitItemText(dlg, IDC_MAIN_TEXT, L"Uninstall fail.")) << damaged;
        EXPECT_TRUE(wd::WaitItemText(dlg, IDCANCEL, L"Close"));
        EXPECT_TRUE(wd::ItemVisible(dlg, IDC_MAIN_TEXT));
        EXPECT_FALSE(wd::ItemVisible(dlg, IDC_START));
        EXPECT_TRUE(wd::ItemEnabled(dlg, IDCANCEL));
        EXPECT_TRUE(program.Running());
        EXPECT_EQ(DirectoryExists(dir + L"\\Source"), damaged) << damaged;
        EXPECT_TRUE(wd::Press(dlg, IDCANCEL));
        EXPECT_EQ(program.WaitExit(), 0u);
        program.Kill();
    }
}

// A crafted record aimed at the system folder is not undone: the dialog says
// "Uninstall fail.", a silent run ends with 5, and the product's own record
// beside it is still undone.
TEST(Uninstaller, ACraftedRecordFailsTheWalkAndLeavesItsCanary) {
    const std::wstring dir = L"C:\\Crafted Log";
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring canary = std::wstring(system) + L"\\canary.dll";
    MakeFile(canary, "canary");
    for (const bool silent : {false, true}) {
        (void)CreateDirectoryPath(dir + L"\\Source");
        ASSERT_TRUE(WriteUndoLogFile(
            dir, With(ProductInfoRows(dir), {
                                                {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Source"},
                                                {RowKind::ExtractFile | RowFlag::Undo, 0, 6, L"canary.dll"},
                                            })));
        wd::Program program;
        ASSERT_TRUE(wd::Start(program, BuiltUninstaller(), L"\"" + dir + L"\\uninst.log\"" + (silent ? L" /S" : L"")));
        if (silent) {
            EXPECT_EQ(program.WaitExit(30000), 5u);
        } else {
            HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", IDC_START);
            ASSERT_NE(dlg, nullptr);
            EXPECT_TRUE(wd::Press(dlg, IDC_START));
            EXPECT_TRUE(wd::WaitItemText(dlg, IDC_MAIN_TEXT, L"Uninstall fail."));
            EXPECT_TRUE(wd::Press(dlg, IDCANCEL));
            EXPECT_EQ(program.WaitExit(), 0u);
        }
        program.Kill();
        EXPECT_EQ(FileBytes(canary), "canary") << silent;
        EXPECT_FALSE(DirectoryExists(dir + L"\\Source")) << silent;
    }
}

// A folder link inside the install folder leads to someone else's tree.
// Records through it (made by hand, or by swapping a folder for a link after
// the install) are refused at the link: every canary stays, and the silent
// walk ends with 5. The product's own folder beside them still goes.
TEST(Uninstaller, RecordsThroughAFolderLinkLeaveTheCanaryTree) {
    const std::wstring dir = L"C:\\Link Log", canary = L"C:\\LinkCanary";
    MakeFile(canary + L"\\x.dll", "canary");
    MakeFile(canary + L"\\Victim\\keep.txt", "canary");
    MakeFile(canary + L"\\Deep\\Victim\\keep.txt", "canary");
    (void)CreateDirectoryPath(canary + L"\\Empty");
    (void)CreateDirectoryPath(dir + L"\\Source");
    if (!MakeHostFolderLink(dir + L"\\J", canary) || !MakeHostFolderLink(dir + L"\\Source\\K", canary + L"\\Deep"))
        GTEST_SKIP() << "no folder links can be made here";
    const uint32_t folder = RowKind::CreateDir | RowFlag::Undo, file = RowKind::ExtractFile | RowFlag::Undo;
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), {
                                                                     {folder, 0, 3, L""},
                                                                     {folder, 0, 3, L"Source"},
                                                                     {folder, 0, 3, L"J\\Victim"},
                                                                     {folder, DirExistedBefore, 3, L"J\\Empty"},
                                                                     {file, 0, 3, L"J\\x.dll"},
                                                                     {file, 0, 3, L"J\\Victim\\keep.txt"},
                                                                     {folder, 0, 3, L"Source\\K\\Victim"},
                                                                 })));
    wd::Program program;
    ASSERT_TRUE(wd::Start(program, BuiltUninstaller(), L"\"" + dir + L"\\uninst.log\" /S"));
    EXPECT_EQ(program.WaitExit(30000), 5u);
    program.Kill();
    for (const wchar_t* kept : {L"\\x.dll", L"\\Victim\\keep.txt", L"\\Deep\\Victim\\keep.txt"})
        EXPECT_EQ(FileBytes(canary + kept), "canary") << ToUtf8(kept);
    EXPECT_TRUE(DirectoryExists(canary + L"\\Empty"));
    EXPECT_FALSE(PathExists(dir + L"\\uninst.log"));
}

// The dialog as the engine's progress: what it shows during and after a walk,
// and the pacing that only the dialog has.
TEST(UninstallDialogProgress, DrivesTheControlsAndPacesTheWalk) {
    const std::wstring dir = L"C:\\DialogRun";
    const std::vector<LogRow> changes = WatchedWalkRows(L"Software\\Veltrane\\Dialog test");
    const size_t changeBytes = LogBytes(changes);

    InitCommonControls();
    UniqueWindow dlg(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(dlg.valid());
    auto child = [&](const wchar_t* cls, int id, DWORD style) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 50, 10, dlg.get(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    child(L"STATIC", IDC_MAIN_TEXT, WS_VISIBLE);
    child(L"BUTTON", IDC_PROGRESS_FRAME, BS_GROUPBOX);
    child(L"STATIC", IDC_STATUS, 0);
    HWND bar = child(PROGRESS_CLASSW, IDC_PROGRESS_BAR, 0);
    HWND startButton = child(L"BUTTON", IDC_START, WS_VISIBLE);
    HWND cancelButton = child(L"BUTTON", IDCANCEL, WS_VISIBLE);

    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    UninstallEngine engine;
    engine.PartialUninstall = true;
    ASSERT_EQ(engine.Load(dir + L"\\uninst.log"), UndoLogLoad::Loaded);
    tessel::uninstaller::UninstallDialogProgress progress(dlg.get(), L"Tessel library v4.09");
    const DWORD start = GetTickCount();
    EXPECT_EQ(engine.Undo(progress).End, WalkEnd::Complete);
    EXPECT_GE(GetTickCount() - start, 3 * 50u - 20u);

    EXPECT_EQ(wd::ItemText(dlg.get(), IDC_MAIN_TEXT), L"Performing uninstall of the \"Tessel library v4.09\"...");
    // Walked backward, the last record undone is the folder; the skipped key came first.
    EXPECT_EQ(wd::ItemText(dlg.get(), IDC_STATUS), L"Removing directory");
    // Shown, though the test's stand-in dialog itself stays hidden.
    for (int id : {IDC_PROGRESS_FRAME, IDC_STATUS, IDC_PROGRESS_BAR})
        EXPECT_TRUE(GetWindowLongW(GetDlgItem(dlg.get(), id), GWL_STYLE) & WS_VISIBLE) << id;
    EXPECT_FALSE(IsWindowEnabled(startButton));
    EXPECT_TRUE(IsWindowEnabled(cancelButton));
    // Advanced by every record's size, skipped ones included: the bar ends full.
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), static_cast<LRESULT>(changeBytes - 1));
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), static_cast<LRESULT>(changeBytes - 1));

    // Cancel comes back also when the walk fails.
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    std::string bytes;
    ASSERT_EQ(0u, ReadFileBytes(dir + L"\\uninst.log", bytes));
    bytes[bytes.size() - 1] = 0x55;
    MakeFile(dir + L"\\uninst.log", bytes);
    ASSERT_EQ(engine.Load(dir + L"\\uninst.log"), UndoLogLoad::Loaded);
    EXPECT_EQ(engine.Undo(progress).End, WalkEnd::Damaged);
    EXPECT_TRUE(IsWindowEnabled(cancelButton));
}
