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
    EXPECT_EQ(r.Files, 386u);
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
