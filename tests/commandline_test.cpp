// The setup's switches: the pure parser, and the real program started with
// real command lines (what it does is visible from outside: an extraction,
// the description box, or the wizard).
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <set>
#include <string>
#include <vector>
#include "common/CommandLineWords.h"
#include "common/PathText.h"
#include "common/TextConversion.h"
// The parser is part of setup.exe, which is no library: compile it in here.
#include "setup/CommandLine.h"
#include "setup/DeploymentSwitches.h"
#include "setup/WizardLogic.h"
#include "common/TextConversion.h"
#include "common/IdeRegistry.h"
#include "common/IdeShortNames.h"
#include "common/IdeTable.h"
#include "support/SetupRun.h"
#include "support/WindowDriver.h"

using namespace tessel::common;
using namespace tessel::setup;

namespace {

std::string Flags(const std::vector<std::wstring>& args) {
    ModeFlags f = ParseSwitches(args);
    std::string s;
    if (f.CopyOnly) s += 'C';
    if (f.EnableControls) s += 'E';
    if (f.ShowDescription) s += 'H';
    if (f.ExtractMode) s += 'X';
    return s.empty() ? "-" : s;
}

enum RunOutcome { Extracted, NothingWritten, DescriptionBox, Failed };

struct CommandLineRun {
    RunOutcome Outcome = Failed;
    size_t Files = 0;
    std::wstring BoxText;
};

// Starts setup.exe in a fresh folder and waits until it has either ended or
// opened a window; a wizard or a description box is then closed again.
CommandLineRun RunSetup(const std::wstring& tag, const std::wstring& args) {
    CommandLineRun run;
    const std::wstring dir = FreshFolder(L"cmdline-" + tag);
    wd::Program setup;
    if (!wd::Start(setup, SetupExePath(), args, dir)) return run;
    bool settled = wd::WaitFor([&] { return !setup.Running() || !wd::TopWindows(setup.pid, false).empty(); }, 60000);
    if (!settled) {
        setup.Kill();
        return run;
    }
    if (setup.Running()) {
        wd::MessageBoxInfo box = wd::WaitMessageBox(setup.pid, DescriptionCaption, 3000);
        if (box.wnd) {
            run.BoxText = box.text;
            PostMessageW(box.wnd, WM_COMMAND, IDOK, 0);
            // OK ends the program, with exit code 0.
            if (setup.WaitExit(20000) != 0) return run;
        } else {
            setup.Kill();  // the wizard: it only had to show that nothing was extracted
        }
    } else if (setup.WaitExit(0) != 0) {
        return run;
    }
    std::set<std::wstring> files, folders;
    ListTree(dir, files, folders);
    run.Files = files.size();
    if (!run.BoxText.empty())
        run.Outcome = files.empty() && folders.empty() ? DescriptionBox : Failed;
    else if (files.count(L"Source\\qvUtils.pas") && files.count(L"RADStudio23\\dcc64.cfg"))
        run.Outcome = Extracted;
    else if (files.empty() && folders.empty())
        run.Outcome = NothingWritten;
    return run;
}

}  // namespace

TEST(ParseSwitches, LastSwitchDecidesAndNonSwitchesAreIgnored) {
    EXPECT_EQ(Flags({}), "-");
    // Switch characters and letter case.
    EXPECT_EQ(Flags({L"/c"}), "C");
    EXPECT_EQ(Flags({L"-C"}), "C");
    EXPECT_EQ(Flags({L"\\C"}), "C");
    EXPECT_EQ(Flags({L"/x"}), "X");
    EXPECT_EQ(Flags({L"-e"}), "E");
    EXPECT_EQ(Flags({L"/?"}), "H");
    EXPECT_EQ(Flags({L"/h"}), "H");
    // Every switch sets all four flags: the last one wins, an unknown letter clears.
    EXPECT_EQ(Flags({L"/C", L"/X"}), "X");
    EXPECT_EQ(Flags({L"/X", L"/C"}), "C");
    EXPECT_EQ(Flags({L"/X", L"/Q"}), "-");
    EXPECT_EQ(Flags({L"/X", L"//"}), "-");
    EXPECT_EQ(Flags({L"/?", L"/X"}), "X");
    EXPECT_EQ(Flags({L"/X", L"/h"}), "H");
    // Only letters a to z are upper-cased; anything else is an unknown switch.
    EXPECT_EQ(Flags({L"/X", L"/\u00E7"}), "-");
    EXPECT_EQ(Flags({L"/X", L"/\u00C7"}), "-");
    // Arguments that are no switches change nothing.
    EXPECT_EQ(Flags({L"/X", L"file.txt"}), "X");
    EXPECT_EQ(Flags({L"/X", L"ab"}), "X");
    EXPECT_EQ(Flags({L"/X", L"/"}), "X");
    EXPECT_EQ(Flags({L"/X", L""}), "X");
    EXPECT_EQ(Flags({L"/XC"}), "-");
    EXPECT_EQ(Flags({L"X"}), "-");
    EXPECT_EQ(Flags({L"/C", L"/cx", L"-copy", L"/?/", L"+X"}), "C");
}

// The deployment switches: what each command line chooses on a machine with
// Delphi 7, RAD Studio 12 and 13 (profile "CI" only for RAD Studio 13), and that
// the mode switches pass over them (no folder, no mode).
TEST(ParseSwitches, DeploymentSwitchesChooseIdesItemsProfileAndLog) {
    InstalledIdes ides{};
    for (int i : {9, 29, 30}) ides[i].Exists = true;
    const auto hasProfileKey = [](IdeIndex index) { return index == IdeIndex(30); };
    struct Row {
        std::vector<std::wstring> args;
        const char* want;  // ides, items, unknown, missing, errors, profile, log, list
    };
    const Row rows[] = {
        {{L"/S"}, "ides=- items=- unknown= missing= errors= profile= log= list=0"},
        {{L"/S", L"/IDE=rs13", L"/ITEMS="}, "ides=20000000/20000000 items=0 unknown= missing= errors= profile= log= list=0"},
        {{L"/ide=RS12, d7", L"-Items=help;cbuilder-demos"},
         "ides=10000100/10000100 items=280 unknown= missing= errors= profile= log= list=0"},
        {{L"/IDE=rs13", L"/IDE=d7"}, "ides=100/100 items=- unknown= missing= errors= profile= log= list=0"},
        {{L"/IDE=xe7,bds38,rs14", L"/ITEMS=demos"},
         "ides=0/0 items=0 unknown=rs14,demos, missing=xe7,bds38, errors= profile= log= list=0"},
        {{L"/IDE=rs12,rs13", L"/PROFILE=CI"},
         "ides=20000000/20000000 items=- unknown= missing=rs12, errors= profile=CI log= list=0"},
        {{L"/PROFILE=..\\BDS"}, "ides=- items=- unknown= missing= errors=Invalid profile name: ..\\BDS, profile= log= list=0"},
        {{L"/LOG=C:\\logs\\a b.log", L"\\LIST"},
         "ides=- items=- unknown= missing= errors= profile= log=C:\\logs\\a b.log list=1"},
        {{L"/LOG="}, "ides=- items=- unknown= missing= errors=No log file after /LOG=, profile= log= list=0"},
        {{L"/IDE", L"/LISTS", L"/IDEA=x"}, "ides=- items=- unknown= missing= errors= profile= log= list=0"},
    };
    for (const Row& row : rows) {
        std::string text;
        for (const std::wstring& a : row.args) text += ToUtf8(a) + " ";
        const DeploymentSwitches d = ParseDeploymentSwitches(row.args);
        const ChosenNames chosen = ResolveChosenNames(d, ides, hasProfileKey);
        char ideText[40] = "-", itemText[16] = "-";
        const LineMask lines = ApplyChosenLines(LineMask(0x40000000u), chosen, d.HasIdes, d.HasItems);
        // IDE lines: the chosen IDEs' bits / the ticked lines of IDE items as IDE bits.
        IdeMask lineIdes;
        ItemMask lineItems;
        SelectionMasks(lines, lineIdes, lineItems);
        if (d.HasIdes) snprintf(ideText, sizeof ideText, "%x/%x", chosen.Ides.Bits(), lineIdes.Bits());
        if (d.HasItems) snprintf(itemText, sizeof itemText, "%llx", static_cast<unsigned long long>(chosen.Items.Bits()));
        auto list = [](const std::vector<std::wstring>& names) {
            std::string out;
            for (const std::wstring& n : names) out += ToUtf8(n) + ",";
            return out;
        };
        const std::string got = std::string("ides=") + ideText + " items=" + itemText + " unknown=" +
                                list(chosen.Unknown) + " missing=" + list(chosen.Missing) + " errors=" +
                                list(d.Errors) + " profile=" + ToUtf8(d.Profile) + " log=" + ToUtf8(d.LogPath) +
                                " list=" + (d.List ? "1" : "0");
        EXPECT_EQ(got, row.want) << text;
        const ModeFlags flags = ParseSwitches(row.args);
        EXPECT_TRUE(flags.Folder.empty()) << text;
    }
    // The names: every offered IDE has one, found again by it; the newer IDE's form gives its number.
    for (IdeIndex index(1); index.IsValid(); ++index.Value) {
        EXPECT_EQ(IdeShortName(index) != nullptr, IsOffered(IdeOf(index)) && !IsNewerIdeSlot(index)) << index.Value;
        if (IdeShortName(index)) {
            EXPECT_EQ(IdeOfShortName(IdeShortName(index)), index) << index.Value;
        }
    }
    for (const auto& c : std::vector<std::pair<const wchar_t*, int>>{
             {L"bds38", 38}, {L"BDS120", 120}, {L"bds37", 0}, {L"bds038", 0}, {L"bds1000", 0}, {L"bds3x", 0}})
        EXPECT_EQ(NewerIdeNumberOfName(c.first), c.second) << ToUtf8(c.first);
    // A profile's key stands beside the IDE's own; hostile names never reach the registry.
    EXPECT_EQ(UserKeyOf(IdeTable[30].RegKey, L"CI"), L"Software\\Embarcadero\\CI\\37.0");
    EXPECT_EQ(UserKeyOf(IdeKeyOf(IdeIndex(NewerIdeSlot), 38), L"CI"), L"Software\\Embarcadero\\CI\\38.0");
    EXPECT_EQ(UserKeyOf(IdeTable[9].RegKey, L""), IdeTable[9].RegKey);
    for (const wchar_t* bad : {L"", L"a\\b", L"..", L"a..b", L".x", L"x.", L"a b", L"a/b", L"\u00e9"})
        EXPECT_FALSE(IsValidProfileName(bad)) << ToUtf8(bad);
    EXPECT_FALSE(IsValidProfileName(std::wstring(MaxProfileName + 1, L'a')));
    EXPECT_TRUE(IsValidProfileName(std::wstring(MaxProfileName, L'a')));
}

// /J=<n> takes the last valid n, never changes the mode nor names the folder.
TEST(ParseSwitches, CompileJobsStandApartFromTheModes) {
    struct Row {
        std::vector<std::wstring> args;
        int jobs;
    };
    const Row rows[] = {
        {{}, 0},
        {{L"/J=4"}, 4},
        {{L"-j=1"}, 1},
        {{L"/J=2", L"/J=64"}, 64},
        {{L"/J=3", L"/J=65"}, 3},  // beyond the limit: the earlier one stays
        {{L"/J=0"}, 0},
        {{L"/J="}, 0},
        {{L"/J=-2"}, 0},
        {{L"/J=2x"}, 0},
        {{L"/J=00004"}, 0},  // more digits than any valid n has
        {{L"/J"}, 0},
    };
    for (const Row& row : rows) {
        std::string text;
        for (const std::wstring& a : row.args) text += ToUtf8(a) + " ";
        EXPECT_EQ(ParseCompileJobs(row.args), row.jobs) << text;
    }
    const ModeFlags flags = ParseSwitches({L"/S", L"/J=4", L"C:\\Lib", L"/J=2"});
    EXPECT_TRUE(flags.Unattended);
    EXPECT_EQ(flags.Folder, L"C:\\Lib");
    EXPECT_EQ(Flags({L"/X", L"/J=4"}), "X");
}

// The programs split their command line themselves (no shell32 at start-up):
// every line must give the words the system's own splitter gives.
TEST(SplitCommandLine, GivesTheWordsCommandLineToArgvWGives) {
    const wchar_t* const lines[] = {
        L"setup.exe",
        L"setup.exe /X",
        L"  setup.exe\t /S   C:\\Tessel  ",
        L"\"C:\\Program Files\\setup.exe\" /S \"C:\\My Folder\\\"",
        L"\"C:\\a b\\unqmv.exe\"\"x\" \"C:\\a b\\uninst.log\" /S",
        L"\"unclosed name /S",
        L"p a\\\\\"b c\" d",                     // 2n backslashes before a quote
        L"p a\\\\\\\"b c",                       // 2n+1 backslashes: a literal quote
        L"p a\\b\\\\c \\\\",                     // backslashes not before a quote stay
        L"p \"\" \"\"\"\" \"\"\"\"\"\" x\"\"y",  // runs of quotes
        L"p \"a\"\"b c\" \"d\"\"\"e f\"",
        L"p \"tab\tin\" a\tb",
        L"p \"/D=C:\\x y\\\\\"",
    };
    for (const wchar_t* line : lines) {
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(line, &count);
        ASSERT_NE(argv, nullptr);
        const std::vector<std::wstring> expected(argv, argv + count);
        LocalFree(argv);
        EXPECT_EQ(SplitCommandLine(line), expected) << ::testing::PrintToString(std::wstring(line));
    }
}

TEST(ParseSwitches, DescriptionTextIsTheProductsOwn) {
    EXPECT_EQ(std::wstring(DescriptionText),
              L"Veltrane setup parameters description:\r\n"
              L"  /C - Copy files only. No package,help registration;\r\n"
              L"  /E - Enable controls even if previous version installed;\r\n"
              L"  /X - Extract files to the current directory. No dialog. No package,help registration;\r\n"
              L"  /? - Parameters description.");
}

TEST(CommandLine, RealProgramChoosesItsModeFromTheLastSwitch) {
    CommandLineRun r = RunSetup(L"c-x", L"/C /X");
    EXPECT_EQ(r.Outcome, Extracted);
    EXPECT_EQ(r.Files, 394u);
    EXPECT_EQ(RunSetup(L"quoted", L"\"/X\"").Outcome, Extracted);
    EXPECT_EQ(RunSetup(L"file", L"/X readme.txt").Outcome, Extracted);
    EXPECT_EQ(RunSetup(L"dash", L"-x").Outcome, Extracted);
    EXPECT_EQ(RunSetup(L"help-x", L"/? /X").Outcome, Extracted);

    // The wizard runs instead: nothing is written.
    EXPECT_EQ(RunSetup(L"x-c", L"/X /C").Outcome, NothingWritten);
    EXPECT_EQ(RunSetup(L"x-q", L"/X /Q").Outcome, NothingWritten);
    EXPECT_EQ(RunSetup(L"xc", L"/XC").Outcome, NothingWritten);
}

TEST(CommandLine, DescriptionBoxListsTheSwitches) {
    CommandLineRun r = RunSetup(L"help", L"/?");
    EXPECT_EQ(r.Outcome, DescriptionBox);
    EXPECT_EQ(r.BoxText, DescriptionText);
    r = RunSetup(L"x-h", L"/X /h");
    EXPECT_EQ(r.Outcome, DescriptionBox);
    EXPECT_EQ(r.BoxText, DescriptionText);
}
