// The wizard: its texts and decisions as plain functions, then the real
// setup.exe driven through its windows on a stand-in machine: the IDE and
// directory pages' preselection, navigation, cancelling, a failing row, a
// complete install and the uninstall from the Windows uninstall entry.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include "changes/help/HelpChanges.h"
#include "support/DialogTemplate.h"
#include "support/HeadlessInstall.h"
#include "support/IdeInstallChecks.h"
#include "support/MachineSnapshot.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "script/manifest/Manifest.h"
#include "setup/resource.h"
#include "uninstaller/resource.h"
#include "standin/Machine.h"
// The wizard's pure logic is part of setup.exe only, so the test builds it in.
#include "setup/PageFlow.h"
#include "setup/WizardLogic.h"

using namespace tessel::common;
using namespace tessel::script;
using namespace tessel::setup;

namespace {

const std::wstring kProductKey = L"Software\\Veltrane\\Tessel library";
constexpr int kDelphi7 = 9, kStudio12 = 29, kStudio13 = 30;
// The install items' numbers: the newer IDE's item comes first, and has a line
// on the IDE page only when such an IDE is found (none is, here), so the page's
// lines are the items from 1 on.
constexpr int kItemStudio13 = 1, kItemStudio12 = 2, kItemDelphi7 = 22, kItemHelp = 30, kItemDelphiDemos = 31,
              kItemCppDemos = 32;
constexpr int kLineStudio13 = 0, kLineStudio12 = 1, kLineDelphi7 = 21, kLineHelp = 29, kLineDelphiDemos = 30,
              kLineCppDemos = 31;

}  // namespace

// ---------------------------------------------------------------- plain logic

TEST(WizardLogic, TextsOfThePages) {
    EXPECT_EQ(WizardTitle(), L"Installation Wizard for Tessel library v4.09");
    std::wstring welcome = WelcomeText();
    EXPECT_EQ(welcome.rfind(L"Welcome to the Tessel library Setup program. This program will install Tessel library "
                            L"v4.09 on you computer.\r\n\r\n",
                            0),
              0u);
    EXPECT_NE(welcome.find(std::wstring(ProductDescription) +
                           L"It is strongly recommended that you exit all version "
                           L"of Delphi and CBuilder before running this Setup program.\r\n\r\nClick Next to continue "
                           L"with the Setup program."),
              std::wstring::npos);
    EXPECT_EQ(SelectDelphiText(true),
              L"The previous version of Tessel library was found. Click to \"Next\" button for update it.");
    EXPECT_EQ(SelectDelphiText(false),
              L"Which versions of Delphi and/or CBuilder will you be installing Tessel library to ?");
    EXPECT_EQ(DirectoryText(), L"Setup will install Tessel library into following folder, click Browse, and select "
                               L"another folder.\r\n\r\nYou can choose not to install Tessel library by clicking "
                               L"Cancel to exit Setup.");
    EXPECT_EQ(ReadyText(), L"You are now ready to install Tessel library v4.09 on you computer.\r\n\r\nPress the "
                           L"Start button to begin the installation or the Back button to reenter the installation "
                           L"information.");
    EXPECT_EQ(ProgressText(), L"Performing install of the Tessel library v4.09 on you computer.\r\n\r\nPlease wait...");
    EXPECT_EQ(
        FinishText(),
        L"Setup has finished installing Tessel library v4.09 on you computer.\r\n\r\nClick Finish to exit Setup.");
}

// The finish page tells a finished run from one that stopped or failed, and
// says what else went wrong.
TEST(WizardLogic, FinishTextTellsHowTheRunEnded) {
    const std::wstring tail = L"\r\n\r\nClick Finish to exit Setup.";
    const std::wstring failedRows = L"Setup has installed Tessel library v4.09 on you computer, but 2 steps failed. "
                                    L"The install log \"C:\\T\\install.log\" names each with \"...Fail\".";
    const std::wstring previous = L"The previous installation was not removed completely; what is left of it "
                                  L"stays. The install log \"C:\\T\\install.log\" says why.";
    const std::wstring stored = L"Your choices could not be stored (" + SystemErrorText(ERROR_ACCESS_DENIED) +
                                L"); the next Setup will not start from them.";
    const struct {
        DWORD stop;
        int failedRows;
        bool previousFailed;
        DWORD storeFailure;
        std::wstring text;
    } cases[] = {
        {0, 0, false, 0, FinishText()},
        {0, 2, false, 0, failedRows + tail},
        {0, 0, true, 0, previous + tail},
        {0, 0, false, ERROR_ACCESS_DENIED, stored + tail},
        {0, 2, true, ERROR_ACCESS_DENIED, failedRows + L"\r\n\r\n" + previous + L"\r\n\r\n" + stored + tail},
        {ERROR_DISK_FULL, 1, false, 0,
         L"Setup stopped installing Tessel library v4.09 on you computer: a change could not be recorded for the "
         L"uninstall (" +
             SystemErrorText(ERROR_DISK_FULL) +
             L"). Nothing after it was installed.\r\n\r\nRemove "
             L"what was installed with its uninstall entry, or run Setup again." +
             tail},
    };
    for (const auto& c : cases) {
        tessel::script::InstallContext install;
        install.Plan.InstallDir = L"C:\\T";
        install.Outcome.RunStop = c.stop;
        install.Outcome.FailedRows = c.failedRows;
        install.Outcome.PreviousRemovalFailed = c.previousFailed;
        install.StoreFailure = c.storeFailure;
        EXPECT_EQ(c.text, RunFinishText(install));
    }
}

TEST(WizardLogic, DirectoryProposalsBrowsingAndSeparators) {
    const std::wstring pf = L"C:\\Program Files";
    EXPECT_EQ(ProposeDirectory(L"", L"C:\\Program Files\\Borland\\Delphi7", pf, L"Tessel"),
              L"C:\\Program Files\\Borland\\Tessel");
    EXPECT_EQ(ProposeDirectory(L"", L"C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0\\", pf, L"Tessel"),
              L"C:\\Program Files (x86)\\Embarcadero\\Studio\\Tessel");
    EXPECT_EQ(ProposeDirectory(L"", L"", pf, L"Tessel"), L"C:\\Program Files\\Tessel");
    EXPECT_EQ(ProposeDirectory(L"", L"", L"D:\\", L"Tessel"), L"D:\\Tessel");
    EXPECT_EQ(ProposeDirectory(L"", L"", L"", L"Tessel"), L"");
    // A root without a backslash stays whole; a drive root's parent is the drive.
    EXPECT_EQ(ProposeDirectory(L"", L"Delphi", pf, L"Tessel"), L"Delphi\\Tessel");
    EXPECT_EQ(ProposeDirectory(L"", L"C:\\Delphi7", pf, L"Tessel"), L"C:\\Tessel");
    // The stored folder wins over any IDE, unchanged.
    EXPECT_EQ(ProposeDirectory(L"E:\\Old\\Place\\", L"C:\\Program Files\\Borland\\Delphi7", pf, L"Tessel"),
              L"E:\\Old\\Place\\");

    EXPECT_EQ(BrowsedDirectory(L"D:\\Libs", L"", L"Tessel"), L"D:\\Libs\\Tessel");
    EXPECT_EQ(BrowsedDirectory(L"E:\\", L"", L"Tessel"), L"E:\\Tessel");
    EXPECT_EQ(BrowsedDirectory(L"C:\\Prev", L"C:\\Prev", L"Tessel"), L"C:\\Prev");
    EXPECT_EQ(BrowsedDirectory(L"C:\\prev", L"C:\\Prev", L"Tessel"), L"C:\\prev\\Tessel");

    EXPECT_EQ(StripOneTrailingSeparator(L"C:\\Lib\\"), L"C:\\Lib");
    EXPECT_EQ(StripOneTrailingSeparator(L"C:\\Lib/"), L"C:\\Lib");
    EXPECT_EQ(StripOneTrailingSeparator(L"C:\\Lib\\\\"), L"C:\\Lib\\");
    EXPECT_EQ(StripOneTrailingSeparator(L"C:\\Lib"), L"C:\\Lib");
    EXPECT_EQ(StripOneTrailingSeparator(L""), L"");
}

TEST(WizardLogic, RowErrorMessageAndLinkClicks) {
    EXPECT_EQ(
        FormatRowError(12, 0x2, 0x18002, L"Extract file: C:\\x\\a.pas...Fail"),
        L"Error in ScriptItem=12, ErrorCode=2h ScriptItemId=18002 with text\r\nExtract file: C:\\x\\a.pas...Fail");
    EXPECT_EQ(FormatRowError(7, -1, 0x6, L""),
              L"Error in ScriptItem=7, ErrorCode=ffffffffh ScriptItemId=6 with text\r\n");
    std::wstring longText(1000, L'x');
    std::wstring cut = FormatRowError(1, 5, 6, longText);
    EXPECT_EQ(cut.size(), RowErrorLimit);
    EXPECT_EQ(cut.rfind(L"Error in ScriptItem=1, ErrorCode=5h", 0), 0u);

    DWORD last = 0;
    EXPECT_TRUE(LinkClickAccepted(last, 10000));
    EXPECT_FALSE(LinkClickAccepted(last, 10300));
    EXPECT_FALSE(LinkClickAccepted(last, 10500));  // exactly 500 ms: still ignored
    EXPECT_TRUE(LinkClickAccepted(last, 10501));
    EXPECT_EQ(last, 10501u);
    last = 0xFFFFFF00u;  // the tick count wraps
    EXPECT_FALSE(LinkClickAccepted(last, 0x50));
    EXPECT_TRUE(LinkClickAccepted(last, 0x200));
}

// A page that writes "S<position>" and "H<position>" into a journal and answers
// its Shows with the moves planned for it, then with Stay.
class JournalPage : public Page {
public:
    JournalPage(tessel::script::InstallContext& install, int position, std::wstring& journal,
                std::vector<PageMove> moves)
        : Page(install), position_(position), journal_(journal), moves_(std::move(moves)) {}
    PageMove Show() override {
        journal_ += L"S" + std::to_wstring(position_) + L" ";
        if (moves_.empty()) return PageMove::Stay;
        const PageMove move = moves_.front();
        moves_.erase(moves_.begin());
        return move;
    }
    void Hide() override { journal_ += L"H" + std::to_wstring(position_) + L" "; }

private:
    int position_;
    std::wstring& journal_;
    std::vector<PageMove> moves_;
};

TEST(WizardLogic, PageMovesAskedForByAShownPage) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::vector<PageMove>>> planned;  // page position, its answers
        std::vector<int> steps;                                      // after the first Switch(0)
        std::wstring journal;
        int position;
    };
    const std::vector<Case> cases = {
        {"Next skips a page", {{2, {PageMove::Next}}}, {+1}, L"S1 H1 S2 H2 S3 ", 3},
        {"Back returns at once", {{3, {PageMove::Back}}}, {+1, +1}, L"S1 H1 S2 H2 S3 H3 S2 ", 2},
        {"Again shows the page again without hiding it", {{2, {PageMove::Again}}}, {+1}, L"S1 H1 S2 S2 ", 2},
        {"moves chain", {{2, {PageMove::Next}}, {3, {PageMove::Next}}}, {+1}, L"S1 H1 S2 H2 S3 H3 S4 ", 4},
        {"Back from the first page stays there", {{1, {PageMove::Back}}}, {}, L"S1 H1 S1 ", 1},
        {"Next from the last page stays there",
         {{6, {PageMove::Next}}},
         {+1, +1, +1, +1, +1},
         L"S1 H1 S2 H2 S3 H3 S4 H4 S5 H5 S6 H6 S6 ",
         6},
    };
    for (const Case& c : cases) {
        tessel::script::InstallContext install;
        std::wstring journal;
        PageFlow::Pages pages;
        for (int i = 0; i < PageCount; ++i) {
            std::vector<PageMove> moves;
            for (const auto& plan : c.planned)
                if (plan.first == i + 1) moves = plan.second;
            pages[static_cast<size_t>(i)] = std::make_unique<JournalPage>(install, i + 1, journal, moves);
        }
        PageFlow flow(std::move(pages));
        flow.Switch(nullptr, 0);
        for (int step : c.steps) flow.Switch(nullptr, step);
        EXPECT_EQ(journal, c.journal) << c.what;
        EXPECT_EQ(flow.Position(), c.position) << c.what;
    }
}

TEST(WizardLogic, PreselectionFromDiscoveryAndStoredMasks) {
    tessel::script::InstallContext install;
    auto reset = [&install] {
        install = {};
        install.Plan.Ides[kDelphi7].Exists = install.Plan.Ides[kStudio12].Exists = true;
    };
    auto checkedLines = [&install] { return install.Plan.CheckedLines.Bits(); };
    auto selected = [&install](int ide) { return install.Plan.PreselectedIdeMask.Has(IdeTable[ide].InternalId); };
    const uint64_t extras = (uint64_t(1) << kItemHelp) | (uint64_t(1) << kItemDelphiDemos) | (uint64_t(1) << kItemCppDemos);

    reset();
    ApplyPreviousSelection(install, 0, 0);
    EXPECT_TRUE(selected(kDelphi7));
    EXPECT_TRUE(selected(kStudio12));
    EXPECT_EQ(checkedLines(), (uint64_t(1) << kItemStudio12) | (uint64_t(1) << kItemDelphi7) | extras);
    IdeMask ides;
    ItemMask items;
    SelectionMasks(install.Plan.CheckedLines, ides, items);
    EXPECT_EQ(ides.Bits(), (IdeTable[kDelphi7].InternalId | IdeTable[kStudio12].InternalId).Bits());
    EXPECT_EQ(items.Bits(), 0x40000000u | 0x400u | 0x380u);

    // RAD Studio 13's item has the top bit: its stored choice reads back although
    // the stored value is negative as a signed number.
    reset();
    install.Plan.Ides[kStudio13].Exists = true;
    ApplyPreviousSelection(install, static_cast<int32_t>(IdeTable[kStudio13].InternalId.Bits()),
                           static_cast<int32_t>(0x80000000u | 0x80u));
    EXPECT_TRUE(selected(kStudio13));
    EXPECT_FALSE(selected(kDelphi7));
    EXPECT_EQ(checkedLines(), (uint64_t(1) << kItemStudio13) | (uint64_t(1) << kItemHelp));
    SelectionMasks(install.Plan.CheckedLines, ides, items);
    EXPECT_EQ(ides.Bits(), 0x20000000u);
    EXPECT_EQ(items.Bits(), 0x80000080u);

    // Stored Delphi 7 and help files: exactly those, the demos stay unticked.
    reset();
    ApplyPreviousSelection(install, 0x100, 0x480);
    EXPECT_TRUE(selected(kDelphi7));
    EXPECT_FALSE(selected(kStudio12));
    EXPECT_EQ(checkedLines(), (uint64_t(1) << kItemDelphi7) | (uint64_t(1) << kItemHelp));

    // A stored IDE that has gone away is neither selected nor ticked.
    reset();
    install.Plan.Ides[kDelphi7].Exists = false;
    ApplyPreviousSelection(install, 0x100, 0x480);
    EXPECT_FALSE(selected(kDelphi7));
    EXPECT_EQ(checkedLines(), uint64_t(1) << kItemHelp);

    // Only extra items: no IDE bit.
    SelectionMasks(LineMask(extras), ides, items);
    EXPECT_EQ(ides.Bits(), 0u);
    EXPECT_EQ(items.Bits(), 0x380u);
}

// The setup's two dialog templates, control by control, as described.
TEST(WizardTemplates, WizardAndCustomiseDialogs) {
    const std::wstring setup = TESSEL_BUILD_DIR L"/setup/setup.exe";
    const DWORD dialogStyle =
        WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND | DS_NOIDLEMSG | DS_SETFONT;
    const DWORD child = WS_CHILD, shown = WS_CHILD | WS_VISIBLE, push = BS_PUSHBUTTON | WS_TABSTOP;
    const DWORD line = shown | SS_BLACKFRAME | WS_BORDER | WS_DISABLED;
    const DialogTemplate wizard = {
        dialogStyle | WS_SYSMENU,
        267,
        238,
        L"Installation Wizard",
        L"MS Sans Serif",
        8,
        {
            {1010, L"EDIT", L"", 101, 74, 106, 13, child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
            {1002, L"BUTTON", L"Browse...", 210, 74, 35, 13, child | push, 0},
            {1001, L"BUTTON", L"< &Back", 102, 219, 50, 14, shown | push, 0},
            {1000, L"BUTTON", L"&Next >", 152, 219, 50, 14, shown | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
            {2, L"BUTTON", L"&Cancel", 206, 219, 50, 14, shown | push, 0},
            {501, L"STATIC", L"#1", 5, 6, 81, 202, shown | SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, 0},
            {0xFFFF, L"STATIC", L"", 4, 213, 257, 1, line, WS_EX_STATICEDGE},
            {256, L"STATIC", L"text", 97, 6, 156, 40, child | SS_LEFT | WS_GROUP, 0},
            {258, L"BUTTON", L"Destination Folder", 97, 65, 152, 28, child | BS_GROUPBOX, 0},
            {261, L"BUTTON", L"", 97, 100, 153, 39, child | BS_GROUPBOX, 0},
            {1009, L"msctls_progress32", L"Progress1", 103, 121, 143, 14, child | WS_BORDER, 0},
            {260, L"STATIC", L"Copying", 103, 108, 141, 8, child | SS_LEFT | WS_GROUP, 0},
            {1013, L"LISTBOX", L"List1", 93, 22, 162, 166,
             child | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
             0},
            {1003, L"BUTTON", L"Customize...", 205, 194, 50, 14, child | push, 0},
        }};
    const DialogTemplate customise = {
        dialogStyle,
        154,
        158,
        L"Customize...",
        L"MS Sans Serif",
        8,
        {
            {901, L"LISTBOX", L"List1", 3, 3, 148, 93,
             shown | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                 LBS_NOINTEGRALHEIGHT,
             0},
            {902, L"STATIC", L"", 3, 100, 148, 30, shown | SS_LEFT | WS_GROUP, 0},
            {903, L"STATIC", L"", 5, 134, 144, 1, line, WS_EX_STATICEDGE},
            {904, L"BUTTON", L"&OK", 24, 139, 50, 14, shown | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
            {905, L"BUTTON", L"&Cancel", 78, 139, 50, 14, shown | push, 0},
        }};
    for (const auto& [id, expected] : {std::make_pair(1, wizard), std::make_pair(900, customise)}) {
        DialogTemplate dialog;
        ASSERT_TRUE(ReadDialogTemplate(setup, id, dialog)) << id;
        EXPECT_TRUE(SameDialog(dialog, expected)) << "template " << id;
    }
}

// ---------------------------------------------------------------- the real program

namespace {

// The wizard of one setup.exe run.
struct Wizard {
    wd::Program program;
    HWND dlg = nullptr;

    bool Open(const wchar_t* args = L"") {
        if (!wd::Start(program, TESSEL_BUILD_DIR L"/setup/setup.exe", args)) return false;
        dlg = wd::FindDialog(program.pid, L"Installation Wizard for", IDC_LIST);
        return dlg != nullptr;
    }
    ~Wizard() { program.Kill(); }
    HWND List() const { return GetDlgItem(dlg, IDC_LIST); }
    bool OnPage(const std::wstring& text) const { return wd::WaitItemText(dlg, IDC_PAGETEXT, text); }
    bool Next() const { return wd::Press(dlg, IDC_NEXT); }
    bool Back() const { return wd::Press(dlg, IDC_BACK); }
    uint32_t Ticks() const {
        uint32_t lines = 0;
        for (int i = 0; i < wd::ListCount(List()); ++i)
            if (wd::ListData(List(), i) & 1) lines |= 1u << i;
        return lines;
    }
    uint32_t Greyed() const {
        uint32_t lines = 0;
        for (int i = 0; i < wd::ListCount(List()); ++i)
            if (wd::ListData(List(), i) & 4) lines |= 1u << i;
        return lines;
    }
    bool Tick(int line) const {
        LPARAM before = wd::ListData(List(), line);
        return wd::ClickListLine(List(), line) &&
               wd::WaitFor([&] { return (wd::ListData(List(), line) & 1) != (before & 1); });
    }
    bool NextEnabled(bool enabled) const {
        return wd::WaitFor([&] { return wd::ItemEnabled(dlg, IDC_NEXT) == enabled; });
    }
    // Cancel, then the question; true when it was asked with the exact text.
    bool Cancel(int answer) const {
        if (!wd::Press(dlg, IDCANCEL)) return false;
        wd::MessageBoxInfo box = wd::WaitMessageBox(program.pid, L"Install");
        EXPECT_EQ(box.text, L"Are you sure you want to cancel the install?");
        return box.wnd && wd::Answer(box, answer);
    }
    bool Finished() const { return program.WaitExit(30000) == 0; }
    // Opens the wizard and goes to the ready page with the IDE page as it
    // starts (no stored choices) and dir typed into the folder page.
    bool OpenToReadyPage(const std::wstring& dir) {
        return Open() && Next() && OnPage(SelectDelphiText(false)) && Next() && OnPage(DirectoryText()) &&
               wd::SetEditText(dlg, IDC_DIRECTORY, dir) && Next() && OnPage(ReadyText());
    }
};

const uint32_t kAllIdeLines = 0x1FFFFFFFu;  // lines 0..28
const uint32_t kExtras = (1u << kLineHelp) | (1u << kLineDelphiDemos) | (1u << kLineCppDemos);

std::wstring ProgramFilesDir() {
    std::wstring dir;
    (void)ReadRegString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir", dir);
    return dir;
}

std::wstring Parent(const std::wstring& dir) { return dir.substr(0, dir.rfind(L'\\')); }

void ClearProductKey() { (void)DeleteRegKey(HKEY_LOCAL_MACHINE, kProductKey); }

// A machine with Delphi 7 alone, no stored choices, and the WinHelp
// registrations' key that every Windows has.
bool FreshDelphi7Machine() {
    ClearMachine();
    ClearProductKey();
    return LayOutMachine({kDelphi7}) && CreateRegKey(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey) == 0;
}

// The uninstall as Windows starts it from the uninstall entry, Start pressed;
// true when it ran to its end.
bool UninstallFromEntry() {
    std::wstring command = wd::UninstallCommand(), exe, args;
    if (command.empty()) return false;
    wd::SplitCommand(command, exe, args);
    wd::Program un;
    if (!wd::Start(un, exe, args)) return false;
    HWND udlg = wd::FindDialog(un.pid, L"Uninstall for Tessel library v4.09", IDC_START);
    if (udlg && wd::Press(udlg, IDC_START) && un.WaitExit(300000) == 0) return true;
    un.Kill();  // a stuck uninstaller would spoil the cases after this one
    return false;
}

}  // namespace

// A first install on a machine with Delphi 7 and RAD Studio 13 with its 64-bit
// IDE, walked like a user would, then removed through the Windows uninstall entry.
TEST(Wizard, FirstInstallWalkThroughAndUninstall) {
    ClearMachine();
    ClearProductKey();
    MachineOptions with64BitIde;
    with64BitIde.With64BitIde = true;
    ASSERT_TRUE(LayOutIde(kDelphi7) && LayOutIde(kStudio13, with64BitIde));
    // The folder of WinHelp registrations exists on every Windows (not in a fresh Wine prefix).
    ASSERT_EQ(0u, CreateRegKey(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey));
    const std::wstring installDir = L"C:\\Tessel Test";
    const MachineSnapshot before = SnapshotInstallPlaces(installDir);

    Wizard w;
    ASSERT_TRUE(w.Open());
    EXPECT_EQ(wd::Text(w.dlg), L"Installation Wizard for Tessel library v4.09");
    ASSERT_TRUE(w.OnPage(WelcomeText()));
    EXPECT_FALSE(wd::ItemEnabled(w.dlg, IDC_BACK));
    EXPECT_TRUE(wd::ItemEnabled(w.dlg, IDC_NEXT));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_LIST));
    // The maker's link: a label of its own class left of the buttons, 4 pixels below Back's top.
    HWND link = FindWindowExW(w.dlg, nullptr, L"QV_ILABEL", nullptr);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(wd::Text(link), L"Veltrane");
    EXPECT_TRUE(IsWindowVisible(link));
    RECT linkRect{}, backRect{};
    GetWindowRect(link, &linkRect);
    GetWindowRect(GetDlgItem(w.dlg, IDC_BACK), &backRect);
    EXPECT_EQ(linkRect.top, backRect.top + 4);
    POINT origin{0, 0};
    ClientToScreen(w.dlg, &origin);
    EXPECT_EQ(linkRect.left - origin.x, 30);
    EXPECT_TRUE(GetWindowLongW(link, GWL_STYLE) & SS_NOTIFY);
    // Cancel with No keeps the wizard where it was.
    ASSERT_TRUE(w.Cancel(IDNO));
    EXPECT_TRUE(w.program.Running());
    EXPECT_TRUE(w.OnPage(WelcomeText()));

    // The IDE page: the two IDEs and the three extra items ticked, RAD Studio 13 first,
    // every other IDE greyed.
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
    ASSERT_EQ(wd::ListCount(w.List()), InstallItemCount - 1);
    EXPECT_EQ(wd::ListText(w.List(), kLineDelphi7), L"Delphi 7");
    EXPECT_EQ(wd::ListText(w.List(), kLineStudio13), L"RAD Studio 13");
    EXPECT_EQ(w.Ticks(), (1u << kLineStudio13) | (1u << kLineDelphi7) | kExtras);
    EXPECT_EQ(w.Greyed(), kAllIdeLines & ~((1u << kLineStudio13) | (1u << kLineDelphi7)));
    EXPECT_TRUE(wd::ItemEnabled(w.dlg, IDC_NEXT));
    EXPECT_TRUE(wd::ItemEnabled(w.dlg, IDC_BACK));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_CUSTOMIZE));

    // A greyed line is selected by a click but keeps its check mark.
    ASSERT_TRUE(wd::ClickListLine(w.List(), 1));
    ASSERT_TRUE(wd::WaitFor([&] { return wd::ListSelection(w.List()) == 1; }));
    EXPECT_EQ(wd::ListData(w.List(), 1), 4);
    // Unticking everything disables Next; one extra item alone enables it again.
    for (int line : {kLineStudio13, kLineDelphi7, kLineHelp, kLineDelphiDemos, kLineCppDemos})
        ASSERT_TRUE(w.Tick(line));
    EXPECT_EQ(w.Ticks(), 0u);
    EXPECT_TRUE(w.NextEnabled(false));
    ASSERT_TRUE(w.Tick(kLineCppDemos));
    EXPECT_TRUE(w.NextEnabled(true));
    for (int line : {kLineStudio13, kLineDelphi7, kLineHelp, kLineDelphiDemos}) ASSERT_TRUE(w.Tick(line));

    // Back to the welcome page and forward again: the ticks are kept.
    ASSERT_TRUE(w.Back());
    ASSERT_TRUE(w.OnPage(WelcomeText()));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_LIST));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
    EXPECT_EQ(w.Ticks(), (1u << kLineStudio13) | (1u << kLineDelphi7) | kExtras);

    // The directory page proposes a folder beside the first preselected IDE (Delphi 7).
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(DirectoryText()));
    EXPECT_TRUE(wd::ItemVisible(w.dlg, IDC_DIRECTORY));
    EXPECT_TRUE(wd::ItemVisible(w.dlg, IDC_BROWSE));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_LIST));
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), Parent(StandinRootDir(kDelphi7)) + L"\\Tessel");
    // A typed folder with a trailing separator survives Back and Next, stored without it.
    ASSERT_TRUE(wd::SetEditText(w.dlg, IDC_DIRECTORY, installDir + L"\\"));
    ASSERT_TRUE(w.Back());
    ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(DirectoryText()));
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), installDir);

    // Ready: Next reads "Start"; Back restores its caption.
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(ReadyText()));
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_NEXT), L"Start");
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_DIRECTORY));
    ASSERT_TRUE(w.Back());
    ASSERT_TRUE(w.OnPage(DirectoryText()));
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_NEXT), L"&Next >");
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(ReadyText()));

    // Start: the run ends on the finish page by itself, without any error box,
    // the row caption showing the runner's three captions on the way and the
    // bar ending full over one step per row.
    ASSERT_TRUE(w.Next());
    std::set<std::wstring> captions;
    ASSERT_TRUE(wd::WaitFor(
        [&] {
            captions.insert(wd::ItemText(w.dlg, IDC_ROWCAPTION));
            return wd::ItemText(w.dlg, IDCANCEL) == L"Finish";
        },
        300000));
    EXPECT_TRUE(wd::WaitMessageBox(w.program.pid, L"Error", 0).wnd == nullptr);
    captions.erase(L"Copying");  // the template's text, before the first row
    captions.erase(L"");         // the caption before the first captioned row
    // While compilers run, the status names their IDEs (for how long depends on the stand-ins' speed).
    for (auto it = captions.begin(); it != captions.end();)
        it = it->rfind(L"Building packages for ", 0) == 0 ? captions.erase(it) : std::next(it);
    EXPECT_EQ(captions, (std::set<std::wstring>{L"Compiling package", L"Creating directory", L"Copying file"}));
    HWND bar = GetDlgItem(w.dlg, IDC_PROGRESS);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), ScriptCount() - 1);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), ScriptCount() - 1);
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_PAGETEXT), FinishText());
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_NEXT));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_BACK));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_PROGRESS));
    EXPECT_FALSE(wd::ItemVisible(w.dlg, IDC_ROWCAPTION));

    // The six values of the product key.
    DWORD versions = 0, items = 0, customize = 0;
    std::wstring root, version, date;
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallVersions", versions));
    EXPECT_EQ(versions, (IdeTable[kDelphi7].InternalId | IdeTable[kStudio13].InternalId).Bits());
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallItems", items));
    EXPECT_EQ(items, 0x80000000u | 0x400u | 0x380u);
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, L"RootDir", root));
    EXPECT_EQ(root, installDir);
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, L"Version", version));
    EXPECT_EQ(version, L"4.09");
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallDate", date));
    EXPECT_FALSE(date.empty());
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"CustomizeItems", customize));
    EXPECT_EQ(customize, 5u);
    EXPECT_TRUE(PathExists(installDir + L"\\Source\\qvUtils.pas"));
    EXPECT_TRUE(PathExists(installDir + L"\\Delphi7\\qvl70.bpl"));
    ExpectStudio13With64BitIde(installDir);

    // "Finish" ends the wizard without a question.
    ASSERT_TRUE(wd::Press(w.dlg, IDCANCEL));
    ASSERT_TRUE(w.Finished());

    // The uninstall as Windows starts it leaves the machine as it was.
    ASSERT_TRUE(UninstallFromEntry());
    EXPECT_FALSE(PathExists(installDir + L"\\Source"));
    EXPECT_TRUE(PathExists(installDir + L"\\unqmv.exe"));
    // The running uninstaller cannot delete itself.
    MachineSnapshot after = SnapshotInstallPlaces(installDir);
    after.erase(L"file " + LowerWide(installDir) + L"\\unqmv.exe");
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, after))));
}

// Stored choices of an earlier install, then a machine without IDEs, then
// RAD Studio 12 alone: what the IDE and directory pages start from.
TEST(Wizard, PreselectionOfPreviousInstallNoIdeAndStudioOnly) {
    ClearMachine();
    ClearProductKey();
    ASSERT_TRUE(LayOutMachine({kDelphi7, kStudio12}));
    ASSERT_EQ(0u, WriteRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallVersions", 0x100));
    ASSERT_EQ(0u, WriteRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallItems", 0x480));
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, L"RootDir", L"D:\\Earlier\\Tessel"));
    {
        Wizard w;
        ASSERT_TRUE(w.Open());
        ASSERT_TRUE(w.Next());
        ASSERT_TRUE(w.OnPage(SelectDelphiText(true)));
        EXPECT_EQ(w.Ticks(), (1u << kLineDelphi7) | (1u << kLineHelp));
        EXPECT_EQ(w.Greyed(), kAllIdeLines & ~((1u << kLineStudio12) | (1u << kLineDelphi7)));
        ASSERT_TRUE(w.Next());
        ASSERT_TRUE(w.OnPage(DirectoryText()));
        EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), L"D:\\Earlier\\Tessel");
        // Cancel with Yes ends the wizard and stores nothing.
        ASSERT_TRUE(w.Cancel(IDYES));
        ASSERT_TRUE(w.Finished());
        std::wstring date;
        EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, L"InstallDate", date));
    }

    ClearMachine();
    ClearProductKey();
    {
        Wizard w;
        ASSERT_TRUE(w.Open());
        ASSERT_TRUE(w.Next());
        ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
        EXPECT_EQ(w.Greyed(), kAllIdeLines);
        EXPECT_EQ(w.Ticks(), kExtras);
        EXPECT_TRUE(w.NextEnabled(true));
        ASSERT_TRUE(w.Next());
        ASSERT_TRUE(w.OnPage(DirectoryText()));
        EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), JoinPath(ProgramFilesDir(), L"Tessel"));
        ASSERT_TRUE(w.Cancel(IDYES));
        ASSERT_TRUE(w.Finished());
    }

    ASSERT_TRUE(LayOutIde(kStudio12));
    {
        Wizard w;
        ASSERT_TRUE(w.Open());
        ASSERT_TRUE(w.Next());
        ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
        EXPECT_EQ(w.Ticks(), (1u << kLineStudio12) | kExtras);

        // The customise dialog (its button is hidden, the command still opens it): one
        // option, ticked from the default mask 5; the wizard is disabled while it is up.
        PostMessageW(w.dlg, WM_COMMAND, IDC_CUSTOMIZE, 0);
        HWND custom = wd::FindDialog(w.program.pid, L"Customize...", IDC_CUSTOMLIST);
        ASSERT_NE(custom, nullptr);
        HWND customList = GetDlgItem(custom, IDC_CUSTOMLIST);
        EXPECT_EQ(wd::ListCount(customList), 1);
        EXPECT_EQ(wd::ListData(customList, 0), 1);
        EXPECT_EQ(wd::ListSelection(customList), 0);
        EXPECT_TRUE(wd::WaitFor([&] { return !IsWindowEnabled(w.dlg); }));
        ASSERT_TRUE(wd::Press(custom, IDC_CUSTOMCANCEL));
        EXPECT_TRUE(wd::WaitFor([&] { return IsWindowEnabled(w.dlg) && !IsWindow(custom); }));

        ASSERT_TRUE(w.Next());
        ASSERT_TRUE(w.OnPage(DirectoryText()));
        const std::wstring proposal = Parent(StandinRootDir(kStudio12)) + L"\\Tessel";
        EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), proposal);

        // The folder browser opens under the Browse button with right edges aligned;
        // cancelled, it leaves the edit box as it was.
        ASSERT_TRUE(wd::Press(w.dlg, IDC_BROWSE));
        HWND browser = nullptr;
        ASSERT_TRUE(wd::WaitFor([&] {
            for (HWND top : wd::TopWindows(w.program.pid))
                if (top != w.dlg && wd::Text(top).empty() == false && GetDlgItem(top, IDCANCEL)) browser = top;
            return browser != nullptr;
        }));
        RECT button{}, placed{}, work{};
        GetWindowRect(GetDlgItem(w.dlg, IDC_BROWSE), &button);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_TRUE(wd::WaitFor([&] {
            GetWindowRect(browser, &placed);
            bool top = placed.top == button.bottom + 1 || placed.bottom == work.bottom;
            return placed.right == button.right && top;
        })) << placed.left
            << "," << placed.top << "," << placed.right << "," << placed.bottom;
        ASSERT_TRUE(wd::Press(browser, IDCANCEL));
        ASSERT_TRUE(wd::WaitFor([&] { return !IsWindow(browser); }));
        EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), proposal);
        // Escape (the close box alike) follows the Cancel rule.
        PostMessageW(w.dlg, WM_COMMAND, IDCANCEL, 0);
        wd::MessageBoxInfo box = wd::WaitMessageBox(w.program.pid, L"Install");
        ASSERT_NE(box.wnd, nullptr);
        ASSERT_TRUE(wd::Answer(box, IDYES));
        ASSERT_TRUE(w.Finished());
    }
}

// A compiler that fails shows the "Error" box for its row and the run goes on;
// Cancel during the run asks, No changes nothing, Yes lets the run finish,
// stores the settings and then closes the wizard.
TEST(Wizard, FailingRowAndCancelDuringTheRun) {
    ClearMachine();
    ClearProductKey();
    ASSERT_TRUE(LayOutMachine({kDelphi7, kStudio12}));
    ASSERT_TRUE(SetToolBehaviour(kDelphi7, ToolMode::Fail));
    // RAD Studio 12's compilers take their time, so the run is still going when Cancel is clicked.
    ASSERT_TRUE(SetToolBehaviour(kStudio12, ToolMode::Slow, 1500));
    Wizard w;
    ASSERT_TRUE(w.Open());
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
    for (int line : {kLineHelp, kLineDelphiDemos, kLineCppDemos}) ASSERT_TRUE(w.Tick(line));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(DirectoryText()));
    ASSERT_TRUE(wd::SetEditText(w.dlg, IDC_DIRECTORY, L"C:\\FailRun"));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(ReadyText()));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(ProgressText()));
    EXPECT_FALSE(wd::ItemEnabled(w.dlg, IDC_NEXT));
    EXPECT_FALSE(wd::ItemEnabled(w.dlg, IDC_BACK));
    EXPECT_TRUE(wd::ItemVisible(w.dlg, IDC_PROGRESS));

    // Answer every box as it comes; click Cancel while no box is up, until the
    // question has been answered No once and Yes once.
    std::vector<std::wstring> errors;
    int asked = 0;
    bool clickPending = false;
    ASSERT_TRUE(wd::WaitFor(
        [&] {
            bool boxUp = false;
            for (HWND top : wd::TopWindows(w.program.pid)) {
                std::wstring caption = wd::Text(top);
                if (caption != L"Error" && caption != L"Install") continue;
                boxUp = true;
                wd::MessageBoxInfo box = wd::WaitMessageBox(w.program.pid, caption, 2000);
                if (!box.wnd) continue;
                if (caption == L"Error") {
                    errors.push_back(box.text);
                    wd::Answer(box, IDOK);
                } else {
                    EXPECT_EQ(box.text, L"Are you sure you want to cancel the install?");
                    clickPending = false;
                    if (wd::Answer(box, asked == 0 ? IDNO : IDYES)) ++asked;
                }
            }
            if (!boxUp && !clickPending && asked < 2 && w.program.Running() &&
                wd::ItemText(w.dlg, IDC_PAGETEXT) == ProgressText()) {
                clickPending = wd::Click(GetDlgItem(w.dlg, IDCANCEL));
            }
            return !w.program.Running();
        },
        300000));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(w.program.WaitExit(0), 0u);

    // Delphi 7's failed build: each box names the row, its code, the row's first
    // word and the row's install-log line, in exactly the product's format; a
    // missing package adds the compiler's first error line, which install.log
    // holds under the row with the compiler's exit code.
    ASSERT_FALSE(errors.empty());
    std::string logBytes;
    ASSERT_EQ(0u, ReadFileBytes(L"C:\\FailRun\\install.log", logBytes, FILE_SHARE_READ | FILE_SHARE_WRITE));
    std::wstring log(reinterpret_cast<const wchar_t*>(logBytes.data()), logBytes.size() / sizeof(wchar_t));
    for (const std::wstring& text : errors) {
        std::string narrow(text.begin(), text.end());
        int row = -1;
        unsigned code = 0, word0 = 0;
        ASSERT_EQ(swscanf(text.c_str(), L"Error in ScriptItem=%d, ErrorCode=%xh ScriptItemId=%x", &row, &code, &word0),
                  3)
            << narrow;
        size_t nl = text.find(L"\r\n");
        ASSERT_NE(nl, std::wstring::npos) << narrow;
        std::wstring logLine = text.substr(nl + 2);
        const size_t reasonAt = logLine.find(L"\r\n");
        const std::wstring reason = reasonAt == std::wstring::npos ? L"" : logLine.substr(reasonAt + 2);
        logLine = logLine.substr(0, reasonAt);
        EXPECT_EQ(text, FormatRowError(row, static_cast<int>(code), word0, logLine) +
                            (reason.empty() ? L"" : L"\r\n" + reason))
            << narrow;
        if (logLine.rfind(L"Check file: ", 0) == 0) {
            EXPECT_EQ(reason, L"dcc32: Fatal: told to fail") << narrow;
            EXPECT_NE(log.find(logLine + L"\r\n    dcc32.exe exit code: 1\r\n    " + reason + L"\r\n"),
                      std::wstring::npos)
                << narrow;
        }
        ASSERT_TRUE(row >= 0 && row < ScriptCount()) << narrow;
        EXPECT_EQ(word0, ScriptRowAt(row).Word0) << narrow;
        EXPECT_NE(code, 0u);
        EXPECT_NE(logLine.find(L"...Fail"), std::wstring::npos) << narrow;
        EXPECT_NE(log.find(logLine + L"\r\n"), std::wstring::npos) << narrow;
    }
    // The run went to its end: the finish page stored its values before the wizard closed.
    DWORD versions = 0, items = 0;
    std::wstring root;
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallVersions", versions));
    EXPECT_EQ(versions, (IdeTable[kDelphi7].InternalId | IdeTable[kStudio12].InternalId).Bits());
    EXPECT_EQ(0u, ReadRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallItems", items));
    EXPECT_EQ(items, 0x40000400u);
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, L"RootDir", root));
    EXPECT_EQ(root, L"C:\\FailRun");
    EXPECT_TRUE(PathExists(L"C:\\FailRun\\RADStudio23\\Win64\\qvl290.bpl"));
}

// RAD Studio 12 is left open, and its edition cannot compile from the command
// line. Start asks to close it (Cancel changes nothing and stays on the ready
// page; Retry after it was closed installs); the run then says once that RAD
// Studio 12's packages are to be built in the IDE, with no "Error" box, and
// the finish page names it.
TEST(Wizard, RunningIdeAndAnEditionThatCannotCompile) {
    ClearMachine();
    ClearProductKey();
    ASSERT_TRUE(LayOutMachine({kDelphi7, kStudio12}));
    ASSERT_TRUE(SetToolOutput(kStudio12, L"This version of the product does not support command line compiling.", 1));
    const std::wstring dir = L"C:\\IdeRun";
    (void)DeleteDirectoryTree(dir, false);
    UniqueKernelHandle ide = StartStandinIde(StandinRootDir(kStudio12) + L"\\bin\\bds.exe");
    ASSERT_TRUE(ide.valid());
    Wizard w;
    ASSERT_TRUE(w.OpenToReadyPage(dir));
    const MachineSnapshot before = SnapshotInstallPlaces(dir);
    ASSERT_TRUE(w.Next());
    wd::MessageBoxInfo box = wd::WaitMessageBox(w.program.pid, L"IDE running");
    ASSERT_TRUE(box.wnd);
    EXPECT_NE(box.text.find(L"\r\nRAD Studio 12\r\n"), std::wstring::npos) << ToUtf8(box.text);
    EXPECT_EQ(box.text.find(L"Delphi 7"), std::wstring::npos) << ToUtf8(box.text);
    ASSERT_TRUE(wd::Answer(box, IDCANCEL));
    ASSERT_TRUE(w.OnPage(ReadyText()));
    EXPECT_TRUE(wd::WaitFor([&] { return wd::ItemText(w.dlg, IDC_NEXT) == L"Start"; }));
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, SnapshotInstallPlaces(dir))));

    ASSERT_TRUE(w.Next());
    box = wd::WaitMessageBox(w.program.pid, L"IDE running");
    ASSERT_TRUE(box.wnd);
    ASSERT_TRUE(EndStandinIde(ide));
    ASSERT_TRUE(wd::Answer(box, IDRETRY));

    std::vector<std::wstring> errors, messages;
    ASSERT_TRUE(wd::WaitFor(
        [&] {
            for (HWND top : wd::TopWindows(w.program.pid)) {
                const std::wstring caption = wd::Text(top);
                if (caption != L"Error" && caption != L"Install") continue;
                wd::MessageBoxInfo shown = wd::WaitMessageBox(w.program.pid, caption, 2000);
                if (!shown.wnd) continue;
                (caption == L"Error" ? errors : messages).push_back(shown.text);
                wd::Answer(shown, IDOK);
            }
            return wd::ItemText(w.dlg, IDCANCEL) == L"Finish";
        },
        300000));
    EXPECT_TRUE(errors.empty()) << ToUtf8(errors.empty() ? L"" : errors[0]);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind(L"This edition of RAD Studio 12 does not support command line compiling", 0), 0u);
    EXPECT_NE(messages[0].find(dir + L"\\RADStudio23"), std::wstring::npos) << ToUtf8(messages[0]);
    EXPECT_NE(wd::ItemText(w.dlg, IDC_PAGETEXT).find(L"The packages for RAD Studio 12 were not built"),
              std::wstring::npos);
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, std::wstring(IdeTable[kDelphi7].RegKey) + L"\\Known Packages",
                      dir + L"\\Delphi7\\dclqvl70.bpl"),
              L"Tessel library v4.09");
    ASSERT_TRUE(wd::Press(w.dlg, IDCANCEL));
    EXPECT_TRUE(w.Finished());
    SetToolBehaviour(kStudio12, ToolMode::Normal);
}

// An update whose folder cannot hold an install (here a relative one typed on
// the directory page) is refused before anything is touched: the previous
// installation stays exactly as it was, one "Error" box names the first row,
// and the finish page says that nothing was installed.
TEST(Wizard, RefusedUpdateKeepsThePreviousInstallation) {
    ASSERT_TRUE(FreshDelphi7Machine());
    const std::wstring previousDir = L"C:\\Tessel Previous";
    HeadlessOptions options;
    options.installDir = previousDir;
    options.ides = {kDelphi7};
    ASSERT_TRUE(RunHeadlessInstall(options).failures.empty());
    // What the previous run's finish page stored.
    ASSERT_EQ(
        0u, WriteRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallVersions", IdeTable[kDelphi7].InternalId.Bits()));
    ASSERT_EQ(0u,
              WriteRegInteger(HKEY_LOCAL_MACHINE, kProductKey, L"InstallItems", static_cast<DWORD>(ItemMaskForIdes({kDelphi7}) | 0x380)));
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, L"RootDir", previousDir));
    const MachineSnapshot before = SnapshotInstallPlaces(previousDir);
    ASSERT_TRUE(before.count(L"file " + LowerWide(previousDir) + L"\\delphi7\\qvl70.bpl"));

    Wizard w;
    ASSERT_TRUE(w.Open());
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(SelectDelphiText(true)));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(DirectoryText()));
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_DIRECTORY), previousDir);
    ASSERT_TRUE(wd::SetEditText(w.dlg, IDC_DIRECTORY, L"Tessel"));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(ReadyText()));
    ASSERT_TRUE(w.Next());

    wd::MessageBoxInfo box = wd::WaitMessageBox(w.program.pid, L"Error", 60000);
    ASSERT_TRUE(box.wnd);
    EXPECT_EQ(box.text.rfind(L"Error in ScriptItem=0, ErrorCode=a1h ScriptItemId=", 0), 0u)
        << std::string(box.text.begin(), box.text.end());
    EXPECT_NE(box.text.find(L"\r\nCreating directory: Tessel...Fail. "), std::wstring::npos);
    ASSERT_TRUE(wd::Answer(box, IDOK));

    ASSERT_TRUE(w.OnPage(RefusedFinishText(L"Tessel", ERROR_BAD_PATHNAME)));
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_PAGETEXT).find(L"finished installing"), std::wstring::npos);
    EXPECT_TRUE(wd::WaitMessageBox(w.program.pid, L"Error", 0).wnd == nullptr) << "one error only";
    ASSERT_TRUE(wd::Press(w.dlg, IDCANCEL));  // "Finish"
    EXPECT_TRUE(w.Finished());

    // Files, packages, path and help entries, the uninstall entry and the stored choices.
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, SnapshotInstallPlaces(previousDir))));
    // And it still uninstalls.
    EXPECT_TRUE(UninstallFromEntry());
    EXPECT_FALSE(PathExists(previousDir + L"\\Delphi7"));
}

// A copy-only install ("/C") on a machine with Delphi 7, as a new user tries
// it: no "Error" box for the packages it does not build, the choices stored,
// and after the uninstall from the uninstall entry the machine is as before.
TEST(Wizard, CopyOnlyInstallRunsCleanAndUninstallsWithoutTrace) {
    ASSERT_TRUE(FreshDelphi7Machine());
    const std::wstring installDir = L"C:\\Tessel Copy";
    const MachineSnapshot before = SnapshotInstallPlaces(installDir);

    Wizard w;
    ASSERT_TRUE(w.Open(L"/C"));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(SelectDelphiText(false)));
    EXPECT_EQ(w.Ticks(), (1u << kLineDelphi7) | kExtras);
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(DirectoryText()));
    ASSERT_TRUE(wd::SetEditText(w.dlg, IDC_DIRECTORY, installDir));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(w.OnPage(ReadyText()));
    ASSERT_TRUE(w.Next());
    ASSERT_TRUE(wd::WaitFor([&] { return wd::ItemText(w.dlg, IDCANCEL) == L"Finish"; }, 300000));
    EXPECT_TRUE(wd::WaitMessageBox(w.program.pid, L"Error", 0).wnd == nullptr);
    EXPECT_EQ(wd::ItemText(w.dlg, IDC_PAGETEXT), FinishText());
    EXPECT_TRUE(PathExists(installDir + L"\\Delphi7\\qvl70.dpk"));
    std::wstring root;
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, L"RootDir", root));
    EXPECT_EQ(root, installDir);
    ASSERT_TRUE(wd::Press(w.dlg, IDCANCEL));
    ASSERT_TRUE(w.Finished());

    ASSERT_TRUE(UninstallFromEntry());
    MachineSnapshot after = SnapshotInstallPlaces(installDir);
    after.erase(L"file " + LowerWide(installDir) + L"\\unqmv.exe");  // the running uninstaller
    after.erase(L"dir " + LowerWide(installDir));
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, after)));
}

// While Delphi 7's compilers take 10 s each, the wizard answers a probe's
// WM_NULL every 500 ms within a second (Windows greys a window that handled
// no message for 5 s), and its status line names the IDE being built.
TEST(Wizard, StaysResponsiveWhileACompilerWorks) {
    ASSERT_TRUE(FreshDelphi7Machine());
    ASSERT_TRUE(SetToolBehaviour(kDelphi7, ToolMode::Slow, 10000));
    Wizard w;
    ASSERT_TRUE(w.OpenToReadyPage(L"C:\\Responsive"));
    ASSERT_TRUE(w.Next());
    int probes = 0;
    bool namedTheIde = false;
    const DWORD start = GetTickCount();
    while (wd::ItemText(w.dlg, IDCANCEL) != L"Finish" && GetTickCount() - start < 120000) {
        DWORD_PTR answer = 0;
        EXPECT_NE(0, SendMessageTimeoutW(w.dlg, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer))
            << "no answer within 1 s, " << GetTickCount() - start << " ms into the run";
        ++probes;
        namedTheIde = namedTheIde || wd::ItemText(w.dlg, IDC_ROWCAPTION) == L"Building packages for Delphi 7";
        Sleep(500);
    }
    EXPECT_GE(probes, 30) << "the two compiles take 20 s";
    EXPECT_TRUE(namedTheIde);
    ASSERT_TRUE(wd::Press(w.dlg, IDCANCEL));
    ASSERT_TRUE(w.Finished());
    SetToolBehaviour(kDelphi7, ToolMode::Normal);
    EXPECT_TRUE(RemoveThroughEntryWithEngine());
}
