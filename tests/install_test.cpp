// Complete installs on stand-in machines, and the uninstall that takes them back.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "changes/UninstallEngine.h"
#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoLog.h"
#include "changes/ActionLogic.h"
#include "script/manifest/Manifest.h"
#include "standin/Machine.h"
#include "support/HeadlessInstall.h"
#include "support/MachineSnapshot.h"
#include "support/ProductKeys.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "support/WindowDriver.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::script;

namespace {

const std::wstring kInstall = L"C:\\Tessel";

MachineSnapshot TakeSnapshot() { return SnapshotInstallPlaces(kInstall); }

// An install into kInstall for the IDEs ides.
HeadlessOptions InstallFor(const std::vector<int>& ides) {
    HeadlessOptions options;
    options.installDir = kInstall;
    options.ides = ides;
    return options;
}

std::vector<std::wstring> InstallLogLines() {
    const std::wstring text = InstallLogText(kInstall);
    std::vector<std::wstring> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(L"\r\n", pos);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

size_t CountLines(const std::vector<std::wstring>& lines, const std::wstring& prefix, const std::wstring& suffix) {
    size_t n = 0;
    for (const std::wstring& l : lines)
        if (l.compare(0, prefix.size(), prefix) == 0 && EndsWith(l, suffix)) ++n;
    return n;
}

class Install : public testing::Test {
protected:
    void SetUp() override { ResetInstallPlaces(kInstall); }
    void TearDown() override { SetCurrentDirectoryW(L"C:\\"); }
};

}  // namespace

TEST_F(Install, FourIdesInstallCompletelyAndUninstallWithoutTrace) {
    const std::vector<int> ides = {9, 21, 29, 8};  // Delphi 7, XE7, RAD Studio 12, C++Builder 6
    ASSERT_TRUE(LayOutMachine(ides));
    // A file of the user's in the Windows folder and path entries of the user's stay untouched.
    const MachineSnapshot before = TakeSnapshot();
    for (int i : ides) ClearToolCalls(i);

    HeadlessOptions options = InstallFor(ides);
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(ScriptCount(), run.rows);
    for (const HeadlessRowResult& f : run.failures)
        ADD_FAILURE() << "row " << f.index << " code " << f.code << " " << ToUtf8(f.logText);

    // Every package built by the IDE's own tools: run-time and design-time, and 64-bit for the newer two.
    EXPECT_EQ(2u, ReadToolCalls(9).size());
    EXPECT_EQ(2u, ReadToolCalls(8).size());
    EXPECT_EQ(3u, ReadToolCalls(21).size());
    EXPECT_EQ(3u, ReadToolCalls(29).size());
    for (const ToolCall& call : ReadToolCalls(8)) EXPECT_NE(std::wstring::npos, call.commandLine.find(L"/f"));

    const std::vector<std::wstring> lines = InstallLogLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(L"Start installation for Tessel library v4.09", lines[0]);
    EXPECT_EQ(L"RootPath: C:\\Tessel", lines[1]);
    EXPECT_EQ(L"Borland products: CBuilder6,Delphi7,RADStudio15,RADStudio23", lines[2]);
    EXPECT_EQ(0u, CountLines(lines, L"", L"...Fail"));
    EXPECT_EQ(10u, CountLines(lines, L"Compiling package: ", L"...Success"));
    EXPECT_EQ(11u, CountLines(lines, L"Check file: ", L"...Success")) << "ten packages and RAD Studio 12's dcc64";
    EXPECT_EQ(4u, CountLines(lines, L"Registering package: ", L"...Success"));
    EXPECT_EQ(4u, CountLines(lines, L"Modifying file: ", L"...Success"));
    EXPECT_EQ(2u, CountLines(lines, L"Merging files: ", L"...Success"));
    EXPECT_EQ(1u, CountLines(lines, L"Registering Uninstall: unqmv.exe", L"...Success"));
    std::string ohi;
    ASSERT_EQ(0u, ReadFileBytes(StandinRootDir(9) + L"\\Help\\d7.ohi", ohi));
    EXPECT_NE(std::string::npos, ohi.find("\r\n:Index Tessel library components=qvlib.hlp\r\n"));

    // Registry effects.
    std::wstring value;
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, std::wstring(IdeTable[9].RegKey) + L"\\Known Packages",
                                L"C:\\Tessel\\Delphi7\\dclqvl70.bpl", value));
    EXPECT_EQ(L"Tessel library v4.09", value);
    ASSERT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, std::wstring(IdeTable[29].RegKey) + L"\\Library\\Win64",
                                L"Search Path", value));
    EXPECT_TRUE(EndsWith(value, L";C:\\Tessel\\RADStudio23\\Win64")) << ToUtf8(value);
    ASSERT_EQ(0u,
              ReadRegString(HKEY_CURRENT_USER, std::wstring(IdeTable[8].RegKey) + L"\\Library", L"Search Path", value));
    EXPECT_NE(std::wstring::npos, value.find(L"C:\\Tessel\\Source"));
    ASSERT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", value));
    EXPECT_EQ(L"C:\\Tessel\\unqmv.exe C:\\Tessel\\uninst.log", value);
    EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey, L"qvlib.hlp", value));
    UniqueHKey product;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductRegKey, 0, KEY_READ, product.put()));
    product.reset();
    ASSERT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, std::wstring(IdeTable[21].RegKey) + L"\\C++\\Paths\\Win32",
                                L"LibraryPath", value));
    EXPECT_TRUE(EndsWith(value, L";C:\\Tessel\\RADStudio15\\Win32")) << ToUtf8(value);
    EXPECT_TRUE(PathExists(ResolvePath({}, LocationCode::System, L"qvl70.bpl")));

    // The undo log: product facts first, two IDE selections per block, the product key last.
    std::string undo;
    ASSERT_EQ(0u, ReadFileBytes(kInstall + L"\\uninst.log", undo));
    std::vector<UndoRecord> records;
    UndoRecord rec;
    for (size_t pos = 7, next = 0; ReadUndoRecordForward(undo, pos, undo.size(), rec, next); pos = next)
        records.push_back(rec);
    ASSERT_GT(records.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(RowKind::Info, records[i].Kind());
    EXPECT_EQ(InfoParam(InfoCode::Direction), records[5].Param);
    EXPECT_EQ(RowKind::CreateRegKey, records.back().Kind());
    EXPECT_EQ(8, std::count_if(records.begin(), records.end(),
                               [](const UndoRecord& r) { return r.Kind() == RowKind::SetIde; }));
    EXPECT_TRUE(PathExists(StandinCommonDir(29) + L"\\Bpl\\qvl290.bpl"));
    EXPECT_TRUE(PathExists(StandinCommonDir(29) + L"\\Bpl\\Win64\\qvl290.bpl"));

    EXPECT_TRUE(RemoveThroughEntryWithEngine());
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, TakeSnapshot()))));
}

// A user's entry that merely begins with the library's folder does not keep the
// folder off the search path, and the uninstall takes the library's entry only.
TEST_F(Install, ALongerUserEntryDoesNotKeepTheLibraryOffTheSearchPath) {
    ASSERT_TRUE(LayOutMachine({29}));
    const std::wstring key = std::wstring(IdeTable[29].RegKey) + L"\\Library\\Win32";
    const std::wstring folder = kInstall + L"\\RADStudio23\\Win32";
    std::wstring value;
    ASSERT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, L"Search Path", value));
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, key, L"Search Path", folder + L"Old;" + value));
    const MachineSnapshot before = TakeSnapshot();

    const HeadlessRun run = RunHeadlessInstall(InstallFor({29}));
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.failures.empty());
    ASSERT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, L"Search Path", value));
    const std::wstring entries = L";" + value + L";";
    EXPECT_NE(std::wstring::npos, entries.find(L";" + folder + L";")) << ToUtf8(value);
    EXPECT_NE(std::wstring::npos, entries.find(L";" + folder + L"Old;")) << ToUtf8(value);

    EXPECT_TRUE(RemoveThroughEntryWithEngine());
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, TakeSnapshot()))));
}

TEST_F(Install, CopyOnlyCompilesAndRegistersNothing) {
    const std::vector<int> ides = {9, 29};
    ASSERT_TRUE(LayOutMachine(ides));
    const MachineSnapshot before = TakeSnapshot();
    for (int i : ides) ClearToolCalls(i);
    HeadlessOptions options = InstallFor(ides);
    options.copyOnly = true;
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(ScriptCount(), run.rows);
    // File rows still run; the copies of the packages that were not built do not.
    EXPECT_TRUE(run.failures.empty()) << ToUtf8(run.failures.empty() ? L"" : run.failures[0].logText);
    EXPECT_TRUE(ReadToolCalls(9).empty());
    EXPECT_TRUE(ReadToolCalls(29).empty());
    EXPECT_TRUE(DirectoryExists(kInstall + L"\\RADStudio23\\Win64"));
    EXPECT_TRUE(PathExists(kInstall + L"\\Delphi7\\qvl70.dpk"));
    const std::vector<std::wstring> lines = InstallLogLines();
    EXPECT_EQ(0u, CountLines(lines, L"Compiling", L""));
    EXPECT_EQ(0u, CountLines(lines, L"Registering package", L""));
    EXPECT_EQ(0u, CountLines(lines, L"Registering windows help", L""));
    EXPECT_EQ(1u, CountLines(lines, L"Registering Uninstall", L"...Success"));

    // The IDEs' settings are as they were.
    const MachineSnapshot installed = TakeSnapshot();
    for (const SnapshotChange& c : SnapshotChanges(before, installed))
        EXPECT_EQ(std::wstring::npos, c.entry.find(L" HKCU\\")) << ToUtf8(c.entry);

    EXPECT_TRUE(RemoveThroughEntryWithEngine());
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, TakeSnapshot())));
}

TEST_F(Install, SecondInstallRemovesTheFirstAndEndsInTheSameState) {
    const std::vector<int> ides = {9, 29};
    ASSERT_TRUE(LayOutMachine(ides));
    HeadlessOptions options = InstallFor(ides);
    ASSERT_TRUE(RunHeadlessInstall(options).failures.empty());
    const MachineSnapshot once = TakeSnapshot();
    // A file that only the first installation's folder holds goes with it.
    ASSERT_EQ(0u, CreateDirectoryPath(kInstall + L"\\Old"));
    const HeadlessRun second = RunHeadlessInstall(options);
    EXPECT_TRUE(second.failures.empty());
    EXPECT_FALSE(DirectoryExists(kInstall + L"\\Old"));
    // The same machine; only the install log tells of the removal.
    std::vector<SnapshotChange> changes = SnapshotChanges(once, TakeSnapshot());
    changes.erase(
        std::remove_if(changes.begin(), changes.end(),
                       [](const SnapshotChange& c) { return c.entry.find(L"\\install.log") != std::wstring::npos; }),
        changes.end());
    EXPECT_TRUE(NoChanges(changes));
    // Not appended: one header.
    const std::vector<std::wstring> lines = InstallLogLines();
    EXPECT_EQ(1u, CountLines(lines, L"Start installation for ", L""));
    EXPECT_EQ(1u, CountLines(lines, L"Removing previous installation: ", L"...Success"));
}

TEST_F(Install, NoIdeStillWritesTheCommonParts) {
    const MachineSnapshot before = TakeSnapshot();
    HeadlessOptions options = InstallFor({});
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.failures.empty());
    EXPECT_EQ(L"Borland products: ", InstallLogLines().at(2));
    for (const wchar_t* file : {L"\\Source\\qvTessel.inc", L"\\Readme.txt", L"\\unqmv.exe", L"\\Help\\qvlib.hlp",
                                L"\\Demos\\Delphi", L"\\Demos\\CBuilder", L"\\Source\\qvAboutBox.res"})
        EXPECT_TRUE(PathExists(kInstall + file)) << ToUtf8(file);
    EXPECT_FALSE(PathExists(kInstall + L"\\Source\\qvVarUtils.pas")) << "only for Delphi 6 and later";
    UniqueHKey product;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductRegKey, 0, KEY_READ, product.put()));
    product.reset();
    EXPECT_TRUE(RemoveThroughEntryWithEngine());
    EXPECT_TRUE(NoChanges(SnapshotChanges(before, TakeSnapshot())));
}

TEST_F(Install, FailingCompilerAndMissing64BitCompilerAreReported) {
    MachineOptions no64;
    no64.WithDcc64 = false;
    ASSERT_TRUE(LayOutIde(29, no64));
    ASSERT_TRUE(LayOutIde(28));
    ASSERT_TRUE(SetToolBehaviour(28, ToolMode::Fail));
    HeadlessOptions options = InstallFor({28, 29});
    options.extraItems = 0;
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    // RAD Studio 12 without dcc64: the 64-bit rows are passed over, nothing fails.
    const std::vector<std::wstring> lines = InstallLogLines();
    EXPECT_EQ(1u, CountLines(lines, L"Check file: " + StandinRootDir(29) + L"\\bin\\dcc64.exe", L"...Fail"));
    EXPECT_TRUE(PathExists(kInstall + L"\\RADStudio23\\Win32\\qvl290.bpl"));
    EXPECT_FALSE(PathExists(kInstall + L"\\RADStudio23\\Win64\\qvl290.bpl"));
    // RAD Studio 11's failing compiler: its check rows fail with 1, its copies with a system code.
    size_t checks = 0;
    ASSERT_FALSE(run.failures.empty());
    for (const HeadlessRowResult& f : run.failures) {
        const RowKind kind = static_cast<RowKind>(f.word0 & 0xFFFF);
        EXPECT_TRUE(kind == RowKind::CheckFile || kind == RowKind::CopyOneFile)
            << "row " << f.index << " " << ToUtf8(f.logText);
        EXPECT_NE(std::wstring::npos, f.logText.find(L"RADStudio22")) << ToUtf8(f.logText);
        if (kind == RowKind::CheckFile) {
            ++checks;
            EXPECT_EQ(1, f.code);
            EXPECT_TRUE(EndsWith(f.logText, L"...Fail"));
        }
    }
    EXPECT_EQ(3u, checks);
}

// RAD Studio 12 and 13 beside Delphi 7, with and without their 64-bit IDE: only
// with it is the design package also built for Win64 and listed for that IDE,
// and the uninstall takes that back as well.
TEST_F(Install, The64BitIdeGetsItsOwnDesignPackage) {
    const struct {
        int ide;
        bool ide64;
        const wchar_t* folder;
        const wchar_t* suffix;
    } cases[] = {
        {30, true, L"RADStudio37", L"370"},
        {29, true, L"RADStudio23", L"290"},
        {29, false, L"RADStudio23", L"290"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << ToUtf8(c.folder) << (c.ide64 ? " with" : " without") << " the 64-bit IDE");
        ResetInstallPlaces(kInstall);
        MachineOptions options;
        options.With64BitIde = c.ide64;
        ASSERT_TRUE(LayOutIde(9) && LayOutIde(c.ide, options));
        const MachineSnapshot before = TakeSnapshot();
        ClearToolCalls(c.ide);
        const HeadlessRun run = RunHeadlessInstall(InstallFor({9, c.ide}));
        ASSERT_TRUE(run.started);
        for (const HeadlessRowResult& f : run.failures)
            ADD_FAILURE() << "row " << f.index << " code " << f.code << " " << ToUtf8(f.logText);

        const std::wstring design = std::wstring(L"dclqvl") + c.suffix;
        const std::wstring win32 = kInstall + L"\\" + c.folder + L"\\Win32\\" + design + L".bpl";
        const std::wstring win64 = kInstall + L"\\" + c.folder + L"\\Win64\\" + design + L".bpl";
        const std::wstring key = IdeTable[c.ide].RegKey;
        const std::vector<std::wstring> lines = InstallLogLines();
        EXPECT_EQ(c.ide64 ? 4u : 3u, ReadToolCalls(c.ide).size());
        EXPECT_EQ(c.ide64 ? 2u : 1u, CountLines(lines, L"Compiling package: " + design + L".dpk", L"...Success"));
        EXPECT_EQ(2u, CountLines(lines, std::wstring(L"Compiling package: qvl") + c.suffix + L".dpk", L"...Success"));
        EXPECT_EQ(c.ide64 ? 1u : 0u, CountLines(lines, L"Registering package: " + win64, L"...Success"));
        std::wstring value;
        EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key + KnownPackagesKey, win32, value));
        EXPECT_NE(0u, ReadRegString(HKEY_CURRENT_USER, key + KnownPackagesKey, win64, value));
        EXPECT_EQ(c.ide64, ReadRegString(HKEY_CURRENT_USER, key + KnownPackagesX64Key, win64, value) == 0);
        if (c.ide64) {
            EXPECT_EQ(L"Tessel library v4.09", value);
        }
        EXPECT_EQ(c.ide64, PathExists(win64));
        ASSERT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key + L"\\Library\\Win64", L"Search Path", value));
        EXPECT_TRUE(EndsWith(value, L";" + kInstall + L"\\" + c.folder + L"\\Win64")) << ToUtf8(value);
        for (const wchar_t* bpl : {L"\\Bpl\\qvl", L"\\Bpl\\Win64\\qvl"})
            EXPECT_TRUE(PathExists(StandinCommonDir(c.ide) + bpl + c.suffix + L".bpl")) << ToUtf8(bpl);

        EXPECT_TRUE(RemoveThroughEntryWithEngine());
        EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, TakeSnapshot()))));
        ClearMachine();
    }
}

TEST_F(Install, EveryOfferedIdeWithEveryItem) {
    std::vector<int> ides;
    for (int i = 1; i <= IdeCount; ++i)
        if (i != 4) ides.push_back(i);  // C++Builder 3 is not offered
    // RAD Studio 12 and 13 with their 64-bit IDE.
    MachineOptions with64BitIde;
    with64BitIde.With64BitIde = true;
    ASSERT_TRUE(LayOutMachine(ides, with64BitIde));
    const MachineSnapshot before = TakeSnapshot();
    HeadlessOptions options = InstallFor(ides);
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    for (const HeadlessRowResult& f : run.failures)
        ADD_FAILURE() << "row " << f.index << " code " << f.code << " " << ToUtf8(f.logText);
    const std::vector<std::wstring> lines = InstallLogLines();
    EXPECT_EQ(0u, CountLines(lines, L"", L"...Fail"));
    EXPECT_EQ(1u, CountLines(lines, L"Register help: C:\\Tessel\\help\\help_reg.bat", L"...Success"));
    // 30 IDEs, two packages each, a 64-bit run-time one for XE2 and later, and
    // a 64-bit design-time one for the three 64-bit IDEs.
    EXPECT_EQ(60u + 16u + 3u, CountLines(lines, L"Compiling package: ", L"...Success"));
    EXPECT_EQ(30u + 3u, CountLines(lines, L"Registering package: ", L"...Success"));
    std::wstring value;
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, std::wstring(IdeTable[14].RegKey) + L"\\Globals",
                                L"ForceEnvOptionsUpdate", value));
    EXPECT_EQ(L"1", value);
    EXPECT_TRUE(PathExists(kInstall + L"\\BDS2006\\*.hpp")) << "C++ headers moved beside the package";
    EXPECT_FALSE(PathExists(kInstall + L"\\Source\\*.hpp"));

    EXPECT_TRUE(RemoveThroughEntryWithEngine());
    // The help folder that the uninstall's help batch ran in goes too, although
    // Wine keeps it busy for a moment after the batch has ended.
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, TakeSnapshot()))));
}

TEST_F(Install, TheUninstallerProgramTakesBackDelphi7AndRadStudio12) {
    const std::vector<int> ides = {9, 29};
    ASSERT_TRUE(LayOutMachine(ides));
    const MachineSnapshot before = TakeSnapshot();
    HeadlessOptions options = InstallFor(ides);
    const HeadlessRun run = RunHeadlessInstall(options);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.failures.empty());

    std::wstring command;
    ASSERT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command));
    wd::Program program;
    ASSERT_TRUE(wd::Start(program, kInstall + L"\\unqmv.exe", UndoLogPathFromUninstallString(command), L"C:\\"));
    HWND dlg = wd::FindDialog(program.pid, L"Uninstall for Tessel library v4.09", 1000);
    ASSERT_NE(nullptr, dlg);
    EXPECT_TRUE(wd::Press(dlg, 1000));
    EXPECT_EQ(0u, program.WaitExit(60000));
    program.Kill();

    MachineSnapshot after = TakeSnapshot();
    // The running uninstaller cannot delete itself.
    after.erase(L"file c:\\tessel\\unqmv.exe");
    EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, after))));
    (void)DeleteDirectoryTree(kInstall, false);
}

TEST_F(Install, AHangingCompilerDelaysTheRunByTheTimeLimitOnly) {
    ASSERT_TRUE(LayOutIde(29));
    ASSERT_TRUE(SetToolBehaviour(29, ToolMode::Hang, 0, L"dcc64"));
    HeadlessOptions options = InstallFor({29});
    options.extraItems = 0;
    options.compileTimeoutMs = 3000;  // the 45 s of a real run, shortened
    const auto start = std::chrono::steady_clock::now();
    const HeadlessRun run = RunHeadlessInstall(options);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    // The hanging 64-bit compile is left behind at the time limit; the run goes on.
    EXPECT_GE(seconds, 2);
    EXPECT_LT(seconds, 60);
    EXPECT_EQ(ScriptCount(), run.rows);
    ASSERT_EQ(2u, run.failures.size());
    EXPECT_EQ(FirstWord(RowKind::CheckFile), run.failures[0].word0 & 0xFFFF);
    EXPECT_EQ(L"Check file: C:\\Tessel\\RADStudio23\\Win64\\qvl290.bpl...Fail", run.failures[0].logText);
    EXPECT_EQ(FirstWord(RowKind::CopyOneFile), run.failures[1].word0 & 0xFFFF);
    const std::vector<std::wstring> lines = InstallLogLines();
    EXPECT_EQ(3u, CountLines(lines, L"Compiling package: ", L"...Success"));
    UniqueHKey product;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductRegKey, 0, KEY_READ, product.put()))
        << "the last row ran";

    // End the compiler that this run left running.
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (snapshot && Process32FirstW(snapshot.get(), &entry)) {
        do {
            if (_wcsicmp(entry.szExeFile, L"dcc64.exe") != 0) continue;
            UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
            if (process) {
                TerminateProcess(process.get(), 1);
                WaitForSingleObject(process.get(), 5000);
            }
        } while (Process32NextW(snapshot.get(), &entry));
    }
    SetToolBehaviour(29, ToolMode::Normal);
}

namespace {

// The undo log's records by the IDE block they stand in, read forwards as the
// writer lays them out: an IDE record opens its IDE's block or closes the open
// one; records outside any block are group 0. The IDE records are left out.
std::map<uint32_t, std::vector<std::string>> RecordsPerIde(const std::string& undo, size_t& ideRecords) {
    std::map<uint32_t, std::vector<std::string>> groups;
    uint32_t open = 0;
    ideRecords = 0;
    UndoRecord rec;
    for (size_t pos = 7, next = 0; ReadUndoRecordForward(undo, pos, undo.size(), rec, next); pos = next) {
        if (rec.Kind() == RowKind::SetIde) {
            ++ideRecords;
            open = open == rec.Param ? 0 : rec.Param;
            continue;
        }
        groups[open].push_back(std::to_string(rec.Word0) + " " + std::to_string(rec.Param) + " " +
                               std::to_string(rec.Location) + " " + rec.Text);
    }
    return groups;
}

// install.log's lines without the IDE prefix of interleaved blocks, sorted.
std::vector<std::wstring> SortedLinesWithoutPrefix() {
    std::vector<std::wstring> lines = InstallLogLines();
    for (std::wstring& line : lines)
        if (!line.empty() && line[0] == L'[' && line.find(L"] ") != std::wstring::npos) line.erase(0, line.find(L"] ") + 2);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

// Six IDEs (two of them moving headers through the shared "Source", one after
// the demos) with 1 to 6 compilers at once: every run installs the same rows,
// writes each IDE's records in the serial run's order inside its own blocks,
// and its uninstall leaves the machine as it was.
TEST_F(Install, ConcurrentBuildsRecordLikeTheSerialRunAndUninstallExactly) {
    const std::vector<int> ides = {9, 11, 12, 21, 29, 8};
    std::map<uint32_t, std::vector<std::string>> serialGroups;
    std::vector<std::wstring> serialLines;
    size_t serialIdeRecords = 0;
    for (int jobs = 1; jobs <= 6; ++jobs) {
        SCOPED_TRACE("jobs " + std::to_string(jobs));
        ResetInstallPlaces(kInstall);
        ASSERT_TRUE(LayOutMachine(ides));
        const MachineSnapshot before = TakeSnapshot();
        HeadlessOptions options = InstallFor(ides);
        options.compileJobs = jobs;
        const HeadlessRun run = RunHeadlessInstall(options);
        ASSERT_TRUE(run.started);
        EXPECT_EQ(ScriptCount(), run.rows);
        for (const HeadlessRowResult& f : run.failures)
            ADD_FAILURE() << "row " << f.index << " code " << f.code << " " << ToUtf8(f.logText);

        std::string undo;
        ASSERT_EQ(0u, ReadFileBytes(kInstall + L"\\uninst.log", undo));
        size_t ideRecords = 0;
        const auto groups = RecordsPerIde(undo, ideRecords);
        const std::vector<std::wstring> lines = SortedLinesWithoutPrefix();
        if (jobs == 1) {
            serialGroups = groups;
            serialLines = lines;
            serialIdeRecords = ideRecords;
        } else {
            EXPECT_EQ(groups, serialGroups);
            EXPECT_EQ(lines, serialLines);
            EXPECT_GT(ideRecords, serialIdeRecords) << "the blocks' records interleave";
        }
        EXPECT_TRUE(RemoveThroughEntryWithEngine());
        EXPECT_TRUE(NoChanges(WithoutInstallLeftovers(SnapshotChanges(before, TakeSnapshot()))));
    }
}
