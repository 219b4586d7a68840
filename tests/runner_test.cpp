// The script runner: blocks and skip mode, copy-only mode, the install log,
// undo records and the removal of an earlier installation.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include <windows.h>

#include <functional>
#include <set>
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
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/UndoLog.h"
#include "script/runner/InstallContext.h"
#include "script/manifest/Manifest.h"
#include "script/runner/ScriptRunner.h"
#include "support/ScriptRows.h"
#include "support/ProductKeys.h"
#include "support/TestFiles.h"
#include "support/SetupRun.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::script;

namespace {

constexpr RowFlag U = RowFlag::Undo;

const ScriptRow kInfoRows[] = {
    Row(RowKind::Info | U, nullptr, 1), Row(RowKind::Info | U, nullptr, 2), Row(RowKind::Info | U, nullptr, 4),
    Row(RowKind::Info | U, nullptr, 5), Row(RowKind::Info | U, nullptr, 7), Row(RowKind::Info | U, nullptr, 6),
};

// The install the rows run for, reset by the fixture, and short names for the parts the tests set.
tessel::script::InstallContext install;
std::wstring& InstallDir = install.Plan.InstallDir;
// Where the last run's rows left the current IDE.
LocationContext lastLocation;
uint32_t& SelectedIdeMask = install.Plan.SelectedIdeMask.Value;
uint64_t& SelectedItemMask = install.Plan.SelectedItemMask.Value;
bool& CopyOnly = install.Plan.CopyOnly;

// Runs rows through the runner's own loop, as the progress page does; the
// results of all rows and, when asked for, the log text each row left.
// beforeRow, when given, sees the runner before each row.
std::vector<int> RunRows(const std::vector<ScriptRow>& rows, std::vector<std::wstring>* texts = nullptr,
                         const std::function<void(ScriptRunner&)>& beforeRow = nullptr) {
    std::vector<int> results;
    ScriptRunner script(install.Plan);
    script.UseRows(rows.data(), static_cast<int>(rows.size()));
    script.Start();
    RunRemainingRows(
        script,
        [&](ActionResult result) {
            results.push_back(result.Code());
            if (texts) texts->push_back(script.LogText());
        },
        [&] {
            if (beforeRow) beforeRow(script);
        });
    install.Outcome = script.Outcome();
    lastLocation = script.State().Location;
    return results;
}

std::vector<ScriptRow> WithInfo(std::vector<ScriptRow> rows) {
    rows.insert(rows.begin(), std::begin(kInfoRows), std::end(kInfoRows));
    return rows;
}

// The install log's lines; fails the test when it is not UTF-16LE text with CR LF line ends.
std::vector<std::wstring> LogLines(const std::wstring& dir) {
    const std::string bytes = FileBytes(JoinPath(dir, L"install.log"));
    std::vector<std::wstring> lines;
    EXPECT_EQ(0u, bytes.size() % 2);
    std::wstring text(bytes.size() / 2, L'\0');
    if (!bytes.empty()) memcpy(&text[0], bytes.data(), bytes.size() & ~size_t(1));
    EXPECT_TRUE(text.empty() || text[0] != 0xFEFF) << "no byte-order mark";
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find(L"\r\n", pos);
        EXPECT_NE(std::wstring::npos, end) << "every line ends in CR LF";
        if (end == std::wstring::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::vector<UndoRecord> UndoRecords(const std::wstring& dir) {
    const std::string bytes = FileBytes(JoinPath(dir, L"uninst.log"));
    std::vector<UndoRecord> records;
    EXPECT_EQ("UNQMV02", bytes.substr(0, 7));
    size_t pos = 7, next = 0;
    UndoRecord rec;
    while (ReadUndoRecordForward(bytes, pos, bytes.size(), rec, next)) {
        records.push_back(rec);
        pos = next;
    }
    EXPECT_EQ(bytes.size(), pos) << "records tile the file";
    return records;
}

class Runner : public testing::Test {
protected:
    void SetUp() override {
        (void)DeleteDirectoryTree(L"C:\\rt", false);
        (void)DeleteRegKey(HKEY_LOCAL_MACHINE, kUninstallEntryKey);
        install = {};
        InstallDir = L"C:\\rt\\inst";
    }
};

}  // namespace

TEST_F(Runner, BlocksSkipTheirRowsWithoutTrace) {
    SelectedItemMask = 0x1;
    const std::vector<ScriptRow> rows = {
        Row(RowKind::IfItem, nullptr, 0x2),  // not selected: skip to its end row
        Row(RowKind::CreateDir | U, L"Skipped", 0, 3),
        Row(RowKind::IfItem, nullptr, 0x4),  // nested, other code: passed over
        Row(RowKind::CreateDir, L"Skipped2", 0, 3),
        Row(RowKind::EndIfItem, nullptr, 0x4),  // not the pending end row
        Row(RowKind::CreateDir | U, L"Skipped3", 0, 3),
        Row(RowKind::EndIfItem, nullptr, 0x2),
        Row(RowKind::IfItem, nullptr, 0x1),  // selected
        Row(RowKind::CreateDir | U, L"Ran", 0, 3),
        Row(RowKind::EndIfItem, nullptr, 0x1),  // nothing pending: does nothing
        Row(RowKind::IfFileExists, L"Ran", 0x77, 3),
        Row(RowKind::IfFileExists, L"Missing", 0x78, 3),
        Row(RowKind::CreateDir | U, L"NotMade", 0, 3),
        Row(RowKind::EndIfFileExists, nullptr, 0x78),
        Row(RowKind::IfNotOption, nullptr, 4),  // CustomizeMask 5 shares bit 4
        Row(RowKind::CreateDir, L"NoOption", 0, 3),
        Row(RowKind::EndIfNotOption, nullptr, 4),
        Row(RowKind::IfOption, nullptr, 1),
        Row(RowKind::CreateDir, L"Option", 0, 3),
        Row(RowKind::EndIfOption, nullptr, 1),
        Row(RowKind::IfIde, nullptr, 0x100),  // no IDE selected
        Row(RowKind::CreateDir, L"Ide", 0, 3),
        Row(RowKind::EndIfIde, nullptr, 0x100),
        Row(RowKind::CreateDir, L"After", 0, 3),
    };
    const std::vector<int> results = RunRows(rows);
    EXPECT_EQ(std::vector<int>(rows.size(), 0), results);
    for (const wchar_t* made : {L"Ran", L"Option", L"After"})
        EXPECT_TRUE(DirectoryExists(JoinPath(InstallDir, made))) << made;
    for (const wchar_t* skipped : {L"Skipped", L"Skipped2", L"Skipped3", L"NotMade", L"NoOption", L"Ide"})
        EXPECT_FALSE(DirectoryExists(JoinPath(InstallDir, skipped))) << skipped;

    const std::vector<std::wstring> lines = LogLines(InstallDir);
    const std::vector<std::wstring> expected = {
        L"Start installation for Tessel library v4.09",
        L"RootPath: C:\\rt\\inst",
        L"Borland products: ",
        L"Creating directory: C:\\rt\\inst\\Ran...Success",
        L"Check file: C:\\rt\\inst\\Ran...Success",
        L"Check file: C:\\rt\\inst\\Missing...Fail",
        L"Creating directory: C:\\rt\\inst\\Option...Success",
        L"Creating directory: C:\\rt\\inst\\After...Success",
    };
    EXPECT_EQ(expected, lines);
    const std::vector<UndoRecord> records = UndoRecords(InstallDir);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(RowKind::CreateDir | U, records[0].Word0);
    EXPECT_EQ("Ran", records[0].Text);
    EXPECT_EQ(0u, records[0].Param) << "a folder made by the run";
}

// Copy-only mode: no IDE row and no copy of a package it did not build; the
// product key row still runs, so the stored choices are recorded for undo.
TEST_F(Runner, CopyOnlyPassesOverIdeRows) {
    CopyOnly = true;
    InstallDir = L"C:\\rt\\copy";
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, ProductRegKey);
    const CopyTarget toSystem = {L"qvl70.bpl", LocationCode::System};
    ScriptRow packageCopy = Row(RowKind::CopyOneFile, L"Delphi7\\qvl70.bpl", 0, 3);
    ScriptRow otherCopy = Row(RowKind::CopyOneFile, L"Source\\qvTessel.inc", 0, 3);
    packageCopy.Target = otherCopy.Target = &toSystem;
    const std::vector<ScriptRow> rows = {
        Row(RowKind::SetIde | U, L"Delphi7", 9),          // control row: runs
        Row(RowKind::CreateDir | U, L"Delphi7", 0, 3),    // file row: runs
        Row(RowKind::CheckFile, L"Delphi7", 0, 3),        // IDE row
        Row(RowKind::RegisterWinHelp | U, L"qvlib.hlp"),  // IDE row with a record: none written
        Row(RowKind::CompilePackage, L"qvl70.dpk", 0),    // would fail with -1 if it ran
        packageCopy,                                      // would fail: the package was not built
        Row(RowKind::RegisterPackage | U, L"Delphi7\\dclqvl70.bpl", 0, 3),
        Row(RowKind::CreateRegKey | U, L"Software\\Veltrane\\Other", 0x80000002u),
        Row(RowKind::CreateRegKey | U, ProductRegKey, 0x80000002u),
        otherCopy,  // a file row of its own: runs, and fails here
    };
    std::vector<int> expected(rows.size(), 0);
    expected.back() = ERROR_PATH_NOT_FOUND;
    EXPECT_EQ(expected, RunRows(rows));
    EXPECT_EQ(9, lastLocation.CurrentIde.Value);
    EXPECT_EQ(L"Delphi7", lastLocation.IdeFolder);
    const std::vector<std::wstring> lines = LogLines(InstallDir);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ(L"Creating directory: C:\\rt\\copy\\Delphi7...Success", lines[3]);
    EXPECT_EQ(0u, lines[4].rfind(L"Copying file: from C:\\rt\\copy\\Source\\qvTessel.inc to ", 0));
    const std::vector<UndoRecord> records = UndoRecords(InstallDir);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(RowKind::SetIde | U, records[0].Word0);
    EXPECT_EQ(9u, records[0].Param);
    EXPECT_EQ("Delphi7", records[0].Text);
    EXPECT_EQ(RowKind::CreateDir | U, records[1].Word0);
    EXPECT_EQ(RowKind::CreateRegKey | U, records[2].Word0);
    EXPECT_EQ(ToUtf8(ProductRegKey), records[2].Text);
    std::wstring value;
    EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey, L"qvlib.hlp", value));
    UniqueHKey key;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductRegKey, 0, KEY_READ, key.put()));
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Veltrane\\Other", 0, KEY_READ, key.put()));
}

TEST_F(Runner, HeaderNamesSelectedIdesAndInfoRecordsCarryProductFacts) {
    InstallDir = L"C:\\rt\\Bibliothèque Ünïcode";
    SelectedIdeMask = (IdeTable[9].InternalId | IdeTable[29].InternalId | IdeTable[8].InternalId).Bits();
    // Delphi 7 and C++Builder 6 in the mask and preselected, RAD Studio 12 in the
    // mask only, Delphi 3 preselected only.
    install.Plan.PreselectedIdeMask = IdeTable[9].InternalId | IdeTable[8].InternalId | IdeTable[1].InternalId;
    install.Outcome.RunRefusal = ERROR_BAD_PATHNAME;  // left over from an earlier refused run
    const std::vector<int> results = RunRows(WithInfo({}));
    EXPECT_EQ(std::vector<int>(6, 0), results);
    EXPECT_FALSE(install.Outcome.RunRefused());

    const std::vector<std::wstring> lines = LogLines(InstallDir);
    const std::vector<std::wstring> expected = {
        L"Start installation for Tessel library v4.09",
        L"RootPath: C:\\rt\\Bibliothèque Ünïcode",
        L"Borland products: CBuilder6,Delphi7",
    };
    EXPECT_EQ(expected, lines) << "information rows write no lines";

    const std::vector<UndoRecord> records = UndoRecords(InstallDir);
    ASSERT_EQ(6u, records.size());
    const char* texts[] = {"Tessel library", "4.09", nullptr, "Software\\Veltrane\\Tessel library", "qvlLib", ""};
    const uint32_t codes[] = {1, 2, 4, 5, 7, 6};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(RowKind::Info | U, records[i].Word0);
        EXPECT_EQ(codes[i], records[i].Param);
        EXPECT_EQ(0u, records[i].Location);
        if (texts[i]) {
            EXPECT_EQ(texts[i], records[i].Text);
        }
    }
    EXPECT_EQ(ToUtf8(InstallDir), records[2].Text);
    EXPECT_GT(records[2].Text.size(), InstallDir.size()) << "length in UTF-8 bytes";

    // The record's trailing length stands right behind the text.
    const std::string bytes = FileBytes(JoinPath(InstallDir, L"uninst.log"));
    size_t pos = 7;
    for (int i = 0; i < 2; ++i)
        pos += 16 + static_cast<uint8_t>(bytes[pos + 12]) + 256 * static_cast<uint8_t>(bytes[pos + 13]);
    const size_t n = static_cast<uint8_t>(bytes[pos + 12]) + 256 * static_cast<uint8_t>(bytes[pos + 13]);
    EXPECT_EQ(records[2].Text.size(), n);
    EXPECT_EQ(n + 16, static_cast<uint8_t>(bytes[pos + 14 + n]) + 256u * static_cast<uint8_t>(bytes[pos + 15 + n]));
}

TEST_F(Runner, FailedRowsAreStillRecordedAndLogsAreReplaced) {
    // The package registration's first write cannot happen without an IDE:
    // no line, but its record.
    const std::vector<ScriptRow> rows = WithInfo({
        Row(RowKind::RegisterPackage | U, L"Delphi7\\dclqvl70.bpl", 0, 3),
        Row(RowKind::CheckFile | U, L"Missing.bpl", 0, 3),
        Row(RowKind::CreateDir | U, L"Made", 0, 3),
    });
    std::vector<int> results = RunRows(rows);
    ASSERT_EQ(9u, results.size());
    EXPECT_EQ(-1, results[6]);
    EXPECT_EQ(1, results[7]);
    const std::vector<std::wstring> first = LogLines(InstallDir);
    ASSERT_EQ(5u, first.size());
    EXPECT_EQ(L"Check file: C:\\rt\\inst\\Missing.bpl...Fail", first[3]);
    const std::vector<UndoRecord> records = UndoRecords(InstallDir);
    ASSERT_EQ(9u, records.size());
    EXPECT_EQ(RowKind::RegisterPackage | U, records[6].Word0);
    EXPECT_EQ("Delphi7\\dclqvl70.bpl", records[6].Text);
    EXPECT_EQ(3u, records[6].Location);

    // A second run first takes back the first, whose log no uninstall entry
    // names, then replaces both logs: the same lines with the removal's, the
    // same records ("Made" was removed, so it is made anew).
    const std::string undo = FileBytes(JoinPath(InstallDir, L"uninst.log"));
    RunRows(rows);
    std::vector<std::wstring> expected = first;
    expected.insert(expected.begin() + 3, L"Removing previous installation: C:\\rt\\inst\\uninst.log...Success");
    EXPECT_EQ(expected, LogLines(InstallDir));
    EXPECT_EQ(undo, FileBytes(JoinPath(InstallDir, L"uninst.log")));
    EXPECT_EQ(0u, UndoRecords(InstallDir)[8].Param);
}

// A run stopped before it registered the uninstall entry left its undo log
// in the folder: the next run into that folder takes it back before it
// writes its own, also when its own choices differ and when the entry names
// another installation.
TEST_F(Runner, UndoLogNoEntryNamesIsTakenBackBeforeItIsReplaced) {
    RunRows(WithInfo({Row(RowKind::CreateDir | U, L"Stopped", 0, 3)}));
    ASSERT_TRUE(DirectoryExists(L"C:\\rt\\inst\\Stopped"));
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString",
                                 L"x.exe C:\\rt\\missing\\uninst.log"));
    RunRows(WithInfo({Row(RowKind::CreateDir | U, L"Other", 0, 3)}));
    EXPECT_FALSE(DirectoryExists(L"C:\\rt\\inst\\Stopped"));
    EXPECT_TRUE(DirectoryExists(L"C:\\rt\\inst\\Other"));
    EXPECT_FALSE(install.Outcome.PreviousRemovalFailed) << "an entry naming a log that is gone has nothing left to remove";
}

TEST(PreviousInstallation, WhichLogsGoFirstAndTheirLines) {
    const std::wstring here = L"C:\\Lib\\uninst.log";
    const struct {
        std::wstring entryLog;
        bool folderHoldsLog;
        std::vector<std::wstring> logs;
    } cases[] = {
        {L"", false, {}},
        {L"", true, {here}},
        {here, true, {here}},
        {L"c:\\LIB\\Uninst.log", true, {L"c:\\LIB\\Uninst.log"}},
        {L"C:\\Old\\uninst.log", false, {L"C:\\Old\\uninst.log"}},
        {L"C:\\Old\\uninst.log", true, {here, L"C:\\Old\\uninst.log"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.logs, PreviousUndoLogs(L"C:\\Lib", c.entryLog, c.folderHoldsLog)) << ToUtf8(c.entryLog);

    const std::wstring head = L"Removing previous installation: " + here;
    const WalkResult complete{WalkEnd::Complete, 0}, damaged{WalkEnd::Damaged, 0},
        failed{WalkEnd::StepFailed, ERROR_ACCESS_DENIED};
    WalkResult torn = complete;
    torn.TornTail = true;
    const struct {
        UndoLogLoad load;
        WalkResult walk;
        std::wstring line;
    } lines[] = {
        {UndoLogLoad::Loaded, complete, head + L"...Success"},
        {UndoLogLoad::Loaded, torn, head + L"...Success. Its last record was incomplete; nothing of it was made."},
        {UndoLogLoad::Loaded, damaged,
         head + L"...Fail. A damaged record stopped the removal; what it records before stays."},
        {UndoLogLoad::Loaded, failed, head + L"...Fail. A step failed: " + SystemErrorText(ERROR_ACCESS_DENIED)},
        {UndoLogLoad::CannotOpen, complete, head + L"...Fail. The undo log cannot be opened."},
        {UndoLogLoad::NotUndoLog, complete, head + L"...Fail. The file is no undo log."},
        {UndoLogLoad::Empty, complete, head + L"...Fail. The file is no undo log."},
    };
    for (const auto& l : lines) EXPECT_EQ(l.line, RemovalLogLine(here, l.load, l.walk));
}

TEST_F(Runner, EarlierInstallationIsRemovedThroughTheUninstallEntry) {
    // A first installation in C:\rt\old that registers its uninstall entry.
    InstallDir = L"C:\\rt\\old";
    const std::vector<ScriptRow> rows = WithInfo({
        Row(RowKind::CreateDir | U, L"", 0, 3),
        Row(RowKind::CreateDir | U, L"Sub", 0, 3),
        Row(RowKind::RegisterUninstall | U, L"unqmv.exe", 0, 3),
    });
    RunRows(rows);
    ASSERT_TRUE(DirectoryExists(L"C:\\rt\\old\\Sub"));
    std::wstring command;
    ASSERT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command));
    EXPECT_EQ(L"C:\\rt\\old\\unqmv.exe C:\\rt\\old\\uninst.log", command);

    // Without a blank or quotes the entry names no log: nothing is removed.
    ASSERT_EQ(0u,
              WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", L"C:\\rt\\old\\uninst.log"));
    InstallDir = L"C:\\rt\\new";
    RunRows(WithInfo({}));
    EXPECT_TRUE(DirectoryExists(L"C:\\rt\\old\\Sub"));
    EXPECT_EQ(L"C:\\rt\\new", InstallDir);

    // A damaged old log: its removal fails with a line of its own, and the
    // new install goes on. The log the run before left in the folder goes first.
    std::string bad = EncodeUndoRecord(RowKind::CreateDir | U, 0, 3, "x");
    bad[bad.size() - 2] = 3;  // a trailing length that disagrees
    ASSERT_TRUE(WriteBytes(L"C:\\rt\\damaged.log", "UNQMV02" + EncodeUndoRecord(RowKind::Info | U, 6, 0, "") + bad));
    ASSERT_EQ(0u,
              WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", L"x.exe C:\\rt\\damaged.log"));
    RunRows(WithInfo({}));
    std::vector<std::wstring> lines = LogLines(L"C:\\rt\\new");
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ(L"Removing previous installation: C:\\rt\\new\\uninst.log...Success", lines[3]);
    EXPECT_EQ(L"Removing previous installation: C:\\rt\\damaged.log...Fail. A damaged record stopped the "
              L"removal; what it records before stays.",
              lines[4]);
    EXPECT_TRUE(install.Outcome.PreviousRemovalFailed);
    EXPECT_TRUE(DirectoryExists(L"C:\\rt\\old\\Sub"));

    // With the real command line the next run removes the first installation,
    // and keeps its own install folder.
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command));
    InstallDir = L"C:\\rt\\new";
    RunRows(WithInfo({Row(RowKind::CreateDir | U, L"", 0, 3)}));
    EXPECT_FALSE(DirectoryExists(L"C:\\rt\\old"));
    EXPECT_FALSE(install.Outcome.PreviousRemovalFailed);
    EXPECT_EQ(L"C:\\rt\\new", InstallDir);
    lines = LogLines(L"C:\\rt\\new");
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(L"Removing previous installation: C:\\rt\\old\\uninst.log...Success", lines[4]);
    std::wstring value;
    EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"DisplayName", value))
        << "the old entry went with the old installation";
}

TEST_F(Runner, PreexistingFoldersKeepTheUsersFilesAfterUninstall) {
    UniqueModule payload(LoadLibraryExW(TESSEL_BUILD_DIR L"/setup/setup.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(payload.valid());
    PayloadModule = payload.get();
    InstallDir = L"C:\\rt\\user";
    ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\rt\\user\\Source"));
    ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\rt\\user\\Demos\\Mine"));
    ASSERT_TRUE(WriteBytes(L"C:\\rt\\user\\notes.txt", "mine"));
    ASSERT_TRUE(WriteBytes(L"C:\\rt\\user\\Source\\own.pas", "mine"));
    static const CopyTarget copyTarget{L"Source\\copy.inc", LocationCode::Install};
    ScriptRow copyRow = Row(RowKind::CopyOneFile, L"Source\\qvTessel.inc", 0, 3);
    copyRow.Target = &copyTarget;
    const std::vector<ScriptRow> rows = WithInfo({
        Row(RowKind::CreateDir | U, L"", 0, 3),
        Row(RowKind::CreateDir | U, L"Source", 0, 3),
        Row(RowKind::ExtractFile, L"Source\\qvTessel.inc", 1, 3),
        copyRow,
        Row(RowKind::ExtractFile, L"Readme.txt", 30, 3),
        Row(RowKind::CreateDir | U, L"Help", 0, 3),
        Row(RowKind::ExtractFile, L"Help\\qvlib.hlp", 60, 3),
        Row(RowKind::CreateDir | U, L"Demos", 0, 3),
        Row(RowKind::CreateDir, L"Demos\\Mine", 0, 3),  // not recorded by the script, existed
        Row(RowKind::CreateDir, L"Demos\\New", 0, 3),   // not recorded by the script, made now
        Row(RowKind::ExtractFile, L"Demos\\New\\Readme.txt", 30, 3),
    });
    const std::vector<int> results = RunRows(rows);
    EXPECT_EQ(std::vector<int>(rows.size(), 0), results);

    const std::vector<UndoRecord> records = UndoRecords(InstallDir);
    std::vector<std::pair<uint32_t, std::string>> changes;
    for (size_t i = 6; i < records.size(); ++i)
        changes.push_back({records[i].Word0 | records[i].Param << 20, records[i].Text});
    const uint32_t dirExisted = (RowKind::CreateDir | U) | 1u << 20;
    const uint32_t dirMade = RowKind::CreateDir | U;
    const uint32_t file = RowKind::ExtractFile | U;
    const std::vector<std::pair<uint32_t, std::string>> expected = {
        {dirExisted, ""},
        {file, "install.log"},
        {file, "uninst.log"},
        {dirExisted, "Source"},
        {file | 1u << 20, "Source\\qvTessel.inc"},
        {file, "Source\\copy.inc"},
        {file | 30u << 20, "Readme.txt"},
        {dirMade, "Help"},
        {dirExisted, "Demos"},
        {dirExisted, "Demos\\Mine"},
        {dirMade, "Demos\\New"},
    };
    EXPECT_EQ(expected, changes);

    // The uninstall engine takes back what the run made and leaves the user's files.
    {
        UninstallEngine engine;
        ASSERT_EQ(UndoLogLoad::Loaded, engine.Load(L"C:\\rt\\user\\uninst.log"));
        engine.Undo();
    }
    EXPECT_EQ("mine", FileBytes(L"C:\\rt\\user\\notes.txt"));
    EXPECT_EQ("mine", FileBytes(L"C:\\rt\\user\\Source\\own.pas"));
    for (const wchar_t* gone : {L"C:\\rt\\user\\install.log", L"C:\\rt\\user\\uninst.log", L"C:\\rt\\user\\Readme.txt",
                                L"C:\\rt\\user\\Source\\qvTessel.inc", L"C:\\rt\\user\\Source\\copy.inc",
                                L"C:\\rt\\user\\Help", L"C:\\rt\\user\\Demos"})
        EXPECT_FALSE(PathExists(gone)) << gone;
    PayloadModule = nullptr;
}

TEST_F(Runner, UnwritableInstallLogDoesNotStopTheRun) {
    // A folder where the install log should go: nothing is logged, the undo log is written.
    ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\rt\\inst\\install.log"));
    const std::vector<ScriptRow> rows = WithInfo({Row(RowKind::CreateDir | U, L"Made", 0, 3)});
    EXPECT_EQ(std::vector<int>(7, 0), RunRows(rows));
    EXPECT_TRUE(DirectoryExists(L"C:\\rt\\inst\\Made"));
    EXPECT_EQ(7u, UndoRecords(InstallDir).size());
}

// A run whose changes could not be taken back is refused before it touches
// anything, the previous installation included: no row acts, and the first
// row reports why.
TEST_F(Runner, RunWithoutAnUndoLogIsRefusedAndChangesNothing) {
    const std::vector<ScriptRow> rows = WithInfo({
        Row(RowKind::CreateDir | U, L"", 0, 3),
        Row(RowKind::CreateDir | U, L"Made", 0, 3),
        Row(RowKind::RegisterUninstall | U, L"unqmv.exe", 0, 3),
    });
    InstallDir = L"C:\\rt\\old";
    RunRows(rows);
    const std::string oldLog = FileBytes(L"C:\\rt\\old\\uninst.log");
    std::wstring oldCommand;
    ASSERT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", oldCommand));
    const std::wstring cwd = L"C:\\rt\\cwd";
    ASSERT_EQ(0u, CreateDirectoryPath(cwd));
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(cwd.c_str()));
    // What a refused run gives: one failure on row 0 that names the folder,
    // every other row passed over, nothing made anywhere.
    const auto refused = [&](bool badPath) {
        std::vector<std::wstring> texts;
        std::vector<int> results = RunRows(rows, &texts);
        ASSERT_EQ(rows.size(), results.size());
        const int code = results[0];
        if (badPath) {
            EXPECT_EQ(static_cast<int>(ERROR_BAD_PATHNAME), code);
        } else {
            EXPECT_NE(0, code);
            EXPECT_NE(static_cast<int>(ERROR_BAD_PATHNAME), code);
        }
        EXPECT_FALSE(SystemErrorText(code).empty());
        EXPECT_TRUE(install.Outcome.RunRefused());
        EXPECT_EQ(L"Creating directory: " + InstallDir + L"...Fail. " + SystemErrorText(code), texts[0]);
        results[0] = 0;
        EXPECT_EQ(std::vector<int>(rows.size(), 0), results);
        EXPECT_EQ(std::vector<std::wstring>(rows.size() - 1),
                  std::vector<std::wstring>(texts.begin() + 1, texts.end()));
        std::wstring value;
        EXPECT_EQ(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", value));
        EXPECT_EQ(oldCommand, value);
        EXPECT_TRUE(DirectoryExists(L"C:\\rt\\old\\Made")) << "the previous installation stays";
        EXPECT_EQ(oldLog, FileBytes(L"C:\\rt\\old\\uninst.log"));
        std::set<std::wstring> files, folders;
        ListTree(cwd, files, folders);
        EXPECT_TRUE(files.empty() && folders.empty()) << "nothing lands in the current folder";
    };

    for (const wchar_t* dir : {L"", L"inst", L"rt\\inst", L"\\rt\\inst", L"C:rt\\inst", L"\\\\\\x"}) {
        InstallDir = dir;
        refused(true);
        EXPECT_FALSE(PathExists(L"C:\\rt\\inst")) << dir;
    }

    // A server path is a full path: it is tried, and here refused only because
    // the server is not there.
    InstallDir = L"\\\\tessel-no-such-host\\share\\Tessel";
    refused(false);

    // A file of the user's in the folder's place.
    InstallDir = L"C:\\rt\\inst";
    ASSERT_TRUE(WriteBytes(InstallDir, "mine"));
    refused(false);
    EXPECT_EQ("mine", FileBytes(InstallDir));
    ASSERT_TRUE(DeleteFileW(InstallDir.c_str()));

    // A folder where the undo log should go: not even the install log is written.
    ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\rt\\inst\\uninst.log"));
    refused(false);
    EXPECT_FALSE(PathExists(L"C:\\rt\\inst\\install.log"));
    EXPECT_FALSE(PathExists(L"C:\\rt\\inst\\Made"));

    SetCurrentDirectoryW(saved);
}

// An undo record that cannot be written (its handle made unwritable, as a full
// or vanished volume leaves it) fails its row, and no later row runs: a record
// written before the change keeps the change from happening at all; the records
// of files a copy wrote, known only after it, still stop the run there.
TEST_F(Runner, UnrecordableChangeFailsItsRowAndStopsTheRun) {
    ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\rt\\inst\\Pre"));
    ASSERT_EQ(0u, CreateDirectoryPath(L"C:\\rt\\inst\\Src"));
    ASSERT_TRUE(WriteBytes(L"C:\\rt\\inst\\Src\\a.hpp", "a"));
    ASSERT_TRUE(WriteBytes(L"C:\\rt\\readonly.bin", ""));
    const struct {
        const char* what;
        ScriptRow failing;
        const wchar_t* madeAnyway;  // what the failing row changed before its record failed
    } cases[] = {
        {"record before the change", Row(RowKind::CreateDir | U, L"Made", 0, 3), nullptr},
        {"record after the copy", Row(RowKind::CopyFiles, L"Src\\*.hpp", 0, 3, nullptr, L"Pre\\*.hpp", 3),
         L"C:\\rt\\inst\\Pre\\a.hpp"},
    };
    for (const auto& c : cases) {
        DeleteFileW(L"C:\\rt\\inst\\Pre\\a.hpp");
        DeleteFileW(L"C:\\rt\\inst\\uninst.log");  // each case a first install, not one taking back the last
        const std::vector<ScriptRow> rows = WithInfo({
            Row(RowKind::CreateDir | U, L"Pre", 0, 3),
            c.failing,
            Row(RowKind::RegisterUninstall | U, L"unqmv.exe", 0, 3),
            Row(RowKind::CreateDir, L"After", 0, 3),
        });
        const size_t failing = 7;
        std::vector<std::wstring> texts;
        std::vector<int> results = RunRows(rows, &texts, [&](ScriptRunner& script) {
            if (static_cast<size_t>(script.Current()) == failing)
                script.UseUndoLog(UniqueFile(CreateFileW(L"C:\\rt\\readonly.bin", GENERIC_READ, FILE_SHARE_READ,
                                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
        });
        ASSERT_EQ(rows.size(), results.size()) << c.what;
        const int code = results[failing];
        EXPECT_NE(0, code) << c.what;
        EXPECT_TRUE(install.Outcome.RunStopped()) << c.what;
        const std::wstring line = L"Writing undo log: C:\\rt\\inst\\uninst.log...Fail. " + SystemErrorText(code);
        const std::wstring& text = texts[failing];
        EXPECT_EQ(line, text.substr(text.size() < line.size() ? 0 : text.size() - line.size())) << c.what;
        results[failing] = 0;
        EXPECT_EQ(std::vector<int>(rows.size(), 0), results) << c.what;
        for (size_t i = failing + 1; i < rows.size(); ++i) EXPECT_TRUE(texts[i].empty()) << c.what << i;
        // Nothing after the failing row happened; the install log ends with the reason.
        EXPECT_FALSE(DirectoryExists(L"C:\\rt\\inst\\Made")) << c.what;
        EXPECT_FALSE(DirectoryExists(L"C:\\rt\\inst\\After")) << c.what;
        std::wstring command;
        EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntryKey, L"UninstallString", command)) << c.what;
        const std::vector<std::wstring> lines = LogLines(InstallDir);
        ASSERT_FALSE(lines.empty()) << c.what;
        EXPECT_EQ(line, lines.back()) << c.what;
        if (c.madeAnyway) {
            EXPECT_TRUE(PathExists(c.madeAnyway)) << c.what;
        }
        // The records of the rows before it are on disk, and they are all there is.
        EXPECT_EQ(failing, UndoRecords(InstallDir).size()) << c.what;
    }
}

// The script's lanes cover every row once, in order; each offered IDE's block
// is one, and only the blocks that change files outside their own folder (the
// C++ headers their compilers leave in "Source") share folders. The
// rows outside the blocks before the first and after the last run alone.
TEST(RunLanes, OneLanePerIdeBlockAndWhichMayBeginTogether) {
    const std::vector<LaneSpan> lanes =
        SplitIntoLanes([](int i) -> const ScriptRow& { return ScriptRowAt(i); }, ScriptCount());
    ASSERT_GE(lanes.size(), 3u);
    EXPECT_EQ(lanes.front().First, 0);
    EXPECT_EQ(lanes.back().End, ScriptCount());
    std::set<std::wstring> blocks, sharing;
    for (size_t i = 0; i < lanes.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(lanes[i].First, lanes[i - 1].End);
        }
        EXPECT_EQ(lanes[i].Barrier, i == 0 || i + 1 == lanes.size()) << i;
        if (lanes[i].IdeRow < 0) continue;
        const std::wstring folder = Str(ScriptRowAt(lanes[i].IdeRow).Text);
        blocks.insert(folder);
        if (lanes[i].SharesFolders) sharing.insert(folder);
        EXPECT_EQ(ScriptRowAt(lanes[i].End - 1).Kind(), RowKind::EndIfItem) << ToUtf8(folder);
    }
    size_t offered = 0;
    for (int i = 1; i <= IdeCount; ++i) offered += IdeTable[i].Folder ? 1 : 0;
    EXPECT_EQ(blocks.size(), offered);
    EXPECT_EQ(sharing, (std::set<std::wstring>{L"BDS2006", L"BDS2007", L"BDS2009", L"BDS2010", L"RADStudio8"}));

    struct Row {
        bool barrier, shares;
        BusyLanes busy;
        int jobs;
        bool begins;
    };
    const Row rows[] = {
        {true, false, {0, 0, false}, 4, true},   // a barrier only when nothing runs
        {true, false, {1, 0, false}, 4, false},
        {false, false, {1, 0, true}, 4, false},  // nothing beside a barrier
        {false, false, {1, 0, false}, 1, false}, // one job: one lane at a time
        {false, false, {3, 1, false}, 4, true},
        {false, false, {4, 0, false}, 4, false},
        {false, true, {2, 1, false}, 4, false},  // one lane sharing folders at a time
        {false, true, {2, 0, false}, 4, true},
    };
    for (const Row& row : rows) {
        LaneSpan lane;
        lane.Barrier = row.barrier;
        lane.SharesFolders = row.shares;
        EXPECT_EQ(LaneMayBegin(lane, row.busy, row.jobs), row.begins)
            << row.barrier << row.shares << " busy " << row.busy.Count << " jobs " << row.jobs;
    }
}
