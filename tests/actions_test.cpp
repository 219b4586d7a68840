// The install actions against Wine's file system and registry, and the pure
// rules they are built on.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/pathlists/PathListChanges.h"
#include "changes/packages/PackageChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "changes/pathlists/PathList.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Payload.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "changes/ActionLogic.h"
#include "changes/packages/CompilerOutput.h"
#include "script/runner/InstallContext.h"
#include "script/manifest/Manifest.h"
#include "changes/Changes.h"
#include "changes/Changes.h"
#include "standin/Machine.h"
#include "support/ScriptRows.h"
#include "support/TestFiles.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::packages;
using namespace tessel::changes::pathlists;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::changes::packages;
using namespace tessel::changes::pathlists;
using namespace tessel::script;

namespace {

const std::wstring kRoot = L"C:\\acttest";

// The context after one row, ready for the next.
void Fresh(ChangeContext& ctx) {
    ctx.LogText.clear();
    ctx.LogDetail.clear();
    ctx.FailureReason.clear();
    ctx.Written.clear();
}

class Actions : public testing::Test {
protected:
    static void SetUpTestSuite() {
        payload_.reset(LoadLibraryExW(TESSEL_BUILD_DIR L"/setup/setup.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
        PayloadModule = payload_.get();
    }
    void SetUp() override {
        ASSERT_TRUE(payload_.valid());
        (void)DeleteDirectoryTree(kRoot, false);
        ASSERT_EQ(0u, CreateDirectoryPath(kRoot));
        InstallDir = kRoot + L"\\inst";
    }
    // A change context of this test's install.
    ChangeContext Ctx() { return ChangeContext(plan_, run_); }
    // The install the changes work on, and short names for the parts the tests set.
    InstallPlan plan_;
    RunState run_;
    std::wstring& InstallDir = run_.Location.InstallDir;
    int& CurrentIde = run_.Location.CurrentIde.Value;
    // Makes the IDE of index the current one, with its key, as selecting it does.
    void UseIde(int index) {
        CurrentIde = index;
        run_.Location.IdeKey = IdeKeyOf(IdeIndex(index), 0);
    }
    std::wstring& IdeFolder = run_.Location.IdeFolder;
    std::wstring& HelpDir = run_.HelpDir;
    static UniqueModule payload_;
};
UniqueModule Actions::payload_;

}  // namespace

TEST(ActionLogic, PathListsAndUninstallCommandLines) {
    EXPECT_EQ(L"C:\\L", AppendPathListEntry(L"", L"C:\\L"));
    EXPECT_EQ(L"a;C:\\L", AppendPathListEntry(L"a;", L"C:\\L"));
    EXPECT_EQ(L"a;C:\\L", AppendPathListEntry(L"a", L"C:\\L"));

    EXPECT_EQ(L"C:\\Lib\\unqmv.exe C:\\Lib\\uninst.log", BuildUninstallString(L"C:\\Lib"));
    EXPECT_EQ(L"\"C:\\My Lib\\unqmv.exe\" \"C:\\My Lib\\uninst.log\"", BuildUninstallString(L"C:\\My Lib\\"));
    EXPECT_EQ(L"C:\\Lib\\uninst.log", UndoLogPathFromUninstallString(BuildUninstallString(L"C:\\Lib")));
    EXPECT_EQ(L"C:\\My Lib\\uninst.log", UndoLogPathFromUninstallString(BuildUninstallString(L"C:\\My Lib")));
    // No blank and no quotes: there is no last argument, so nothing is removed.
    EXPECT_EQ(L"", UndoLogPathFromUninstallString(L"C:\\Lib\\uninst.log"));
    EXPECT_EQ(L"", UndoLogPathFromUninstallString(L""));
    EXPECT_EQ(L"", UndoLogPathFromUninstallString(L"x.exe \"\""));
    // Whole at every length an install folder can have, with and without quotes.
    for (const std::wstring& dir : {L"C:\\" + std::wstring(245, L'a'), L"C:\\" + std::wstring(240, L'a') + L" b"})
        EXPECT_EQ(JoinPath(dir, L"uninst.log"), UndoLogPathFromUninstallString(BuildUninstallString(dir)));
}

TEST(CompilerOutput, LinesErrorsRefusalAndReport) {
    EXPECT_EQ(OutputLines("a\r\n\r\nb\nc\rd"), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    // The first line that reports an error, as dcc, bcc and make write them; words inside others do not count.
    const struct {
        std::vector<std::wstring> lines;
        int first;
    } errors[] = {
        {{L"Embarcadero Delphi", L"qvStorage.pas(12) Error: E2003 Undeclared identifier: 'Foo'"}, 1},
        {{L"dcc32: Fatal: told to fail"}, 0},
        {{L"Error E2209 qv.cpp 3: Unable to open include file"}, 0},
        {{L"[dcc32 Error] qv.pas(1): E1026"}, 0},
        {{L"ErrorsFound.pas compiled", L"NoError: none", L"Fatally"}, -1},
        {{}, -1},
    };
    for (const auto& e : errors)
        EXPECT_EQ(e.first, FirstErrorLine(e.lines)) << (e.lines.empty() ? "" : ToUtf8(e.lines[0]));
    EXPECT_TRUE(RefusesCommandLineCompiling({L"Embarcadero Delphi for Win32 compiler", NoCommandLineCompiling}));
    EXPECT_FALSE(RefusesCommandLineCompiling({L"This version of the product"}));

    // The report: the exit code, then at most 30 lines, the first error line among them.
    CompileReport report;
    report.Tool = L"dcc32.exe";
    report.Finished = true;
    report.ExitCode = 1;
    for (int i = 0; i < 50; ++i) report.Lines.push_back(L"line " + std::to_wstring(i));
    std::vector<std::wstring> lines = ReportLines(report, 45000);
    ASSERT_EQ(31u, lines.size());
    EXPECT_EQ(L"dcc32.exe exit code: 1", lines[0]);
    EXPECT_EQ(L"line 0", lines[1]);
    EXPECT_EQ(L"", FirstErrorText(report));
    report.Lines[40] = L"qv.pas(9) Error: E2029";
    lines = ReportLines(report, 45000);
    ASSERT_EQ(31u, lines.size());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"qv.pas(9) Error: E2029"), lines.end());
    EXPECT_EQ(L"qv.pas(9) Error: E2029", FirstErrorText(report));
    report.Finished = false;
    EXPECT_EQ(L"dcc32.exe was still running after 45 s", ReportLines(report, 45000)[0]);
}

// A compile hands the compiler its output file and nothing else the setup
// holds as inheritable, and nobody can open that file for writing meanwhile.
TEST(CompilerOutput, TheCompilerGetsItsOutputAloneAndNobodyElseWritesIt) {
    const std::wstring dir = L"C:\\probe";
    (void)CreateDirectoryPath(dir);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile held(CreateFileW((dir + L"\\held-by-setup.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(held);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t value[32];
    swprintf(value, 32, L"%lx", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(held.get())));
    ASSERT_TRUE(SetEnvironmentVariableW(L"TESSEL_PROBE_HANDLE", value));
    CompileReport report;
    EXPECT_EQ(RunCompilerCaptured(L"\"" + std::wstring(self) + L"\" --probe-handles", dir, dir, 60000, report), 0u);
    SetEnvironmentVariableW(L"TESSEL_PROBE_HANDLE", nullptr);
    ASSERT_TRUE(report.Finished);
    EXPECT_EQ(report.ExitCode, 4u) << "bit 0: a handle leaked, bit 1: the output was writable by others";
    ASSERT_FALSE(report.Lines.empty());
    EXPECT_EQ(report.Lines.back(), L"probe");
}

TEST(ActionLogic, TextPatchingVersionsAndCommandLines) {
    EXPECT_EQ("\r\n:Link x\r\n", AppendedLineBytes("abc", "\r\n:Link x"));
    EXPECT_EQ(":Link x\r\n", AppendedLineBytes("abc\r\n", "\r\n:Link x"));
    EXPECT_EQ("\r\n:Link x\r\n", AppendedLineBytes("\n", "\r\n:Link x"));
    EXPECT_EQ("y\r\n", AppendedLineBytes("abc\r\n", "y"));

    std::string out;
    EXPECT_TRUE(ReplaceFirstBytes("One TWO two", "one two two", "two", "2", out));
    EXPECT_EQ("One 2 two", out);
    EXPECT_TRUE(ReplaceFirstBytes("abcdef", "abcdef", "def", "", out));
    EXPECT_EQ("abc", out);
    EXPECT_FALSE(ReplaceFirstBytes("abc", "abc", "x", "y", out));
    EXPECT_FALSE(ReplaceFirstBytes("abc", "abc", "", "y", out));

    EXPECT_TRUE(IsVersionNewer(0x40009, 1, 0x40009, 0));
    EXPECT_TRUE(IsVersionNewer(0x40009, 0, 0x40008, 0xFFFFFFFF));
    EXPECT_FALSE(IsVersionNewer(0x40009, 0, 0x40009, 0));
    EXPECT_FALSE(IsVersionNewer(0x40008, 0xFFFFFFFF, 0x40009, 0));
    EXPECT_TRUE(IsVersionNewer(0x80000000u, 0, 0x7FFFFFFF, 0));  // unsigned comparison

    EXPECT_EQ(L"\"C:\\Program Files (x86)\\D\\bin\\make.exe\" /fqvl60.mak",
              CompileCommandLine(L"C:\\Program Files (x86)\\D\\bin\\make.exe", true, L"qvl60.mak"));
    EXPECT_EQ(L"C:\\D7\\bin\\dcc32.exe qvl70.dpk", CompileCommandLine(L"C:\\D7\\bin\\dcc32.exe", false, L"qvl70.dpk"));

    EXPECT_EQ(0, LowestIdeOf(IdeMask(0)).Value);
    EXPECT_EQ(1, LowestIdeOf(IdeMask(1)).Value);
    EXPECT_EQ(9, LowestIdeOf(IdeMask(0x100 | 0x4000)).Value);
    EXPECT_EQ(32, LowestIdeOf(IdeMask(0x80000000u)).Value);
    // The numberings do not pass for one another.
    static_assert(!std::is_convertible_v<IdeMask, IdeIndex> && !std::is_convertible_v<IdeMask, ItemMask> &&
                  !std::is_convertible_v<LineMask, ItemMask> && !std::is_convertible_v<int, IdeIndex> &&
                  !std::is_convertible_v<IdeIndex, int>);

    std::wstring key, name;
    ASSERT_TRUE(SplitRegValuePath(L"K\\Library\\Win32\\Search Path", key, name));
    EXPECT_EQ(L"K\\Library\\Win32", key);
    EXPECT_EQ(L"Search Path", name);
    EXPECT_FALSE(SplitRegValuePath(L"NoSeparator", key, name));

    EXPECT_TRUE(PathIsInside(L"c:\\a", L"c:\\a\\b.txt"));
    EXPECT_TRUE(PathIsInside(L"c:\\a\\", L"c:\\a\\b\\c.txt"));
    EXPECT_FALSE(PathIsInside(L"c:\\a", L"c:\\ab\\c.txt"));
    EXPECT_FALSE(PathIsInside(L"c:\\a", L"c:\\a"));
    EXPECT_EQ(L"C:\\a", FolderOfPath(L"C:\\a\\b.bpl"));
    EXPECT_EQ(L"b.bpl", FolderOfPath(L"b.bpl"));
}

TEST_F(Actions, FoldersAreCreatedClearedAndChecked) {
    ChangeContext ctx = Ctx();
    ScriptRow make = Row(RowKind::CreateDir | RowFlag::Undo, L"A\\B\\C", 0, 3);
    EXPECT_EQ(0, ApplyChange(make, ctx).Code());
    EXPECT_EQ(L"Creating directory: " + InstallDir + L"\\A\\B\\C...Success", ctx.LogText);
    EXPECT_TRUE(DirectoryExists(InstallDir + L"\\A\\B\\C"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(make, ctx).Code()) << "an existing folder is no failure";

    // The install folder itself: empty text at location 3.
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::CreateDir, L"", 0, 3), ctx).Code());
    EXPECT_EQ(L"Creating directory: " + InstallDir + L"...Success", ctx.LogText);

    // A file standing where a folder should be.
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\file", "x"));
    Fresh(ctx);
    const int code = ApplyChange(Row(RowKind::CreateDir, L"file\\sub", 0, 3), ctx).Code();
    EXPECT_NE(0, code);
    EXPECT_EQ(0u, ctx.LogText.find(L"Creating directory: " + InstallDir + L"\\file\\sub...Fail. ")) << ctx.LogText;
    EXPECT_GT(ctx.LogText.size(), (L"Creating directory: " + InstallDir + L"\\file\\sub...Fail. ").size());

    // A folder link on the way (made by someone who could write there): the
    // row fails rather than make its folder where the link leads.
    const std::wstring elsewhere = kRoot + L"\\elsewhere";
    (void)CreateDirectoryPath(elsewhere);
    if (MakeHostFolderLink(InstallDir + L"\\J", elsewhere)) {
        Fresh(ctx);
        EXPECT_EQ(static_cast<int>(LinkInPathError), ApplyChange(Row(RowKind::CreateDir, L"J\\Sub", 0, 3), ctx).Code());
        EXPECT_FALSE(DirectoryExists(elsewhere + L"\\Sub"));
    }

    // Clearing keeps the folder; a missing folder has nothing to delete.
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\A\\B\\C\\x.txt", "x"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::ClearDir, L"A", 0, 3), ctx).Code());
    EXPECT_EQ(L"Clearing directory: " + InstallDir + L"\\A...Success", ctx.LogText);
    EXPECT_TRUE(DirectoryExists(InstallDir + L"\\A"));
    EXPECT_FALSE(DirectoryExists(InstallDir + L"\\A\\B"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::ClearDir, L"Missing", 0, 3), ctx).Code());
    EXPECT_EQ(L"Clearing directory: " + InstallDir + L"\\Missing...Success", ctx.LogText);

    // Check: a mask matches when any file matches.
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\A\\u.hpp", "x"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::CheckFile, L"A\\*.hpp", 0, 3), ctx).Code());
    EXPECT_EQ(L"Check file: " + InstallDir + L"\\A\\*.hpp...Success", ctx.LogText);
    Fresh(ctx);
    EXPECT_EQ(1, ApplyChange(Row(RowKind::CheckFile, L"A\\*.bpl", 0, 3), ctx).Code());
    EXPECT_EQ(L"Check file: " + InstallDir + L"\\A\\*.bpl...Fail", ctx.LogText);

    // The working folder is the install's, never the process's; a missing folder
    // or a file fails the row and keeps the folder before it.
    wchar_t before[MAX_PATH] = {}, after[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::SetCurrentDir, L"A", 0, 3), ctx).Code());
    EXPECT_EQ(InstallDir + L"\\A", run_.WorkingDir);
    EXPECT_EQ(static_cast<int32_t>(ERROR_FILE_NOT_FOUND),
              ApplyChange(Row(RowKind::SetCurrentDir, L"Missing", 0, 3), ctx).Code());
    EXPECT_EQ(static_cast<int32_t>(ERROR_DIRECTORY),
              ApplyChange(Row(RowKind::SetCurrentDir, L"A\\u.hpp", 0, 3), ctx).Code());
    EXPECT_EQ(InstallDir + L"\\A", run_.WorkingDir);
    GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_EQ(std::wstring(before), std::wstring(after));
}

TEST_F(Actions, PayloadFilesAreWrittenOnceOrWhenNewer) {
    ASSERT_EQ(0u, CreateDirectoryPath(InstallDir));
    const void* data = nullptr;
    DWORD size = 0;
    ASSERT_EQ(0u, LoadPayload(30, data, size));
    ChangeContext ctx = Ctx();
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\Readme.txt", std::string(100000, 'z')));
    EXPECT_EQ(0, ApplyChange(Row(RowKind::ExtractFile, L"Readme.txt", 30, 3), ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\Readme.txt...Success", ctx.LogText);
    EXPECT_EQ(std::string(static_cast<const char*>(data), size), FileBytes(InstallDir + L"\\Readme.txt"))
        << "replaced and truncated to the payload";
    ASSERT_EQ(1u, ctx.Written.size());
    EXPECT_EQ(30u, ctx.Written[0].ResId);

    // An id without a payload.
    Fresh(ctx);
    EXPECT_NE(0, ApplyChange(Row(RowKind::ExtractFile, L"none.txt", 25, 3), ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\none.txt...Fail", ctx.LogText);
    EXPECT_TRUE(ctx.Written.empty());

    // Once: an existing file stays, even an older one.
    Fresh(ctx);
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\qvTessel.ini", "mine"));
    EXPECT_EQ(0, ApplyChange(Row(RowKind::ExtractFileOnce, L"qvTessel.ini", 29, 3), ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\qvTessel.ini...Already", ctx.LogText);
    EXPECT_EQ("mine", FileBytes(InstallDir + L"\\qvTessel.ini"));
    DeleteFileW((InstallDir + L"\\qvTessel.ini").c_str());
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::ExtractFileOnce, L"qvTessel.ini", 29, 3), ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\qvTessel.ini...Success", ctx.LogText);

    // If newer: the uninstaller's product version decides. The carried copy's version
    // is read in memory: a file of that name in the temporary folder (where anyone
    // could have put it, or a link) is neither written, read nor deleted.
    const ScriptRow uninstaller = Row(RowKind::ExtractFileIfNewer, L"unqmv.exe", 28, 3);
    const std::wstring tempCopy = JoinPath(GetLocationPath(run_.Location, LocationCode::Temp), L"unqmv.exe");
    ASSERT_TRUE(WriteBytes(tempCopy, "planted"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(uninstaller, ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\unqmv.exe...Success", ctx.LogText);
    const std::string shipped = FileBytes(InstallDir + L"\\unqmv.exe");
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(uninstaller, ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\unqmv.exe...Already", ctx.LogText) << "same version";
    EXPECT_EQ("planted", FileBytes(tempCopy));
    DeleteFileW(tempCopy.c_str());

    // Lower the installed copy's least significant product version part: replaced.
    std::string older = shipped;
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const size_t fixed = older.rfind(signature);  // the resource, not a constant in the code
    ASSERT_NE(std::string::npos, fixed);
    // VS_FIXEDFILEINFO: signature, struc version, file MS, file LS, product MS, product LS.
    uint32_t productLs = 0;
    std::memcpy(&productLs, &older[fixed + 20], 4);
    // The least significant part when it can go lower, else the most significant one.
    const size_t lowered = productLs > 0 ? fixed + 20 : fixed + 16;
    uint32_t part = 0;
    std::memcpy(&part, &older[lowered], 4);
    ASSERT_GT(part, 0u);
    --part;
    std::memcpy(&older[lowered], &part, 4);
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\unqmv.exe", older));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(uninstaller, ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\unqmv.exe...Success", ctx.LogText);
    EXPECT_EQ(shipped, FileBytes(InstallDir + L"\\unqmv.exe"));

    // A higher installed version is kept.
    std::string newer = shipped;
    std::memcpy(&productLs, &newer[fixed + 20], 4);
    ++productLs;
    std::memcpy(&newer[fixed + 20], &productLs, 4);
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\unqmv.exe", newer));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(uninstaller, ctx).Code());
    EXPECT_EQ(L"Copying file: " + InstallDir + L"\\unqmv.exe...Already", ctx.LogText);
    EXPECT_EQ(newer, FileBytes(InstallDir + L"\\unqmv.exe"));
}

TEST_F(Actions, CopiesAndDeletesByNameAndMask) {
    ASSERT_EQ(0u, CreateDirectoryPath(InstallDir + L"\\Source"));
    ASSERT_EQ(0u, CreateDirectoryPath(InstallDir + L"\\BDS2006"));
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\Source\\a.hpp", "a"));
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\Source\\b.hpp", "b"));
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\Source\\c.pas", "c"));

    static const CopyTarget target{L"BDS2006\\c.pas", LocationCode::Install};
    ChangeContext ctx = Ctx();
    EXPECT_EQ(
        0, ApplyChange(Row(RowKind::CopyOneFile, L"Source\\c.pas", 0, 3, nullptr, nullptr, 0, 0, &target), ctx).Code());
    EXPECT_EQ(
        L"Copying file: from " + InstallDir + L"\\Source\\c.pas to " + InstallDir + L"\\BDS2006\\c.pas ...Success",
        ctx.LogText);
    EXPECT_EQ("c", FileBytes(InstallDir + L"\\BDS2006\\c.pas"));
    Fresh(ctx);
    EXPECT_NE(
        0,
        ApplyChange(Row(RowKind::CopyOneFile, L"Source\\none.pas", 0, 3, nullptr, nullptr, 0, 0, &target), ctx).Code());
    EXPECT_EQ(
        L"Copying file: from " + InstallDir + L"\\Source\\none.pas to " + InstallDir + L"\\BDS2006\\c.pas ...Fail",
        ctx.LogText);

    Fresh(ctx);
    const ScriptRow copyAll = Row(RowKind::CopyFiles, L"Source\\*.hpp", 0, 3, nullptr, L"BDS2006\\*.hpp", 3);
    EXPECT_EQ(0, ApplyChange(copyAll, ctx).Code());
    EXPECT_EQ(
        L"Copying file: from " + InstallDir + L"\\Source\\*.hpp to " + InstallDir + L"\\BDS2006\\*.hpp ...Success",
        ctx.LogText);
    EXPECT_EQ("a", FileBytes(InstallDir + L"\\BDS2006\\a.hpp"));
    EXPECT_EQ("b", FileBytes(InstallDir + L"\\BDS2006\\b.hpp"));
    ASSERT_EQ(2u, ctx.Written.size());
    EXPECT_EQ(L"BDS2006\\", ctx.Written[0].Text.substr(0, 8));

    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::DeleteFiles, L"Source\\*.hpp", 0, 3), ctx).Code());
    EXPECT_EQ(L"Deleting files: " + InstallDir + L"\\Source\\*.hpp...Success", ctx.LogText);
    EXPECT_FALSE(PathExists(InstallDir + L"\\Source\\*.hpp"));
    EXPECT_TRUE(PathExists(InstallDir + L"\\Source\\c.pas"));

    // Nothing left to copy is no failure.
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(copyAll, ctx).Code());
    EXPECT_EQ(L"...Success", ctx.LogText.substr(ctx.LogText.size() - 10));

    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::DeleteOneFile, L"Source\\c.pas", 0, 3), ctx).Code());
    EXPECT_EQ(L"Deleting file: " + InstallDir + L"\\Source\\c.pas...Success", ctx.LogText);
    EXPECT_FALSE(PathExists(InstallDir + L"\\Source\\c.pas"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::DeleteOneFile, L"Source\\c.pas", 0, 3), ctx).Code())
        << "a missing file is no failure";
}

TEST_F(Actions, HelpConfigurationFilesAreAppendedMergedAndPatched) {
    // Delphi 7's help files: 1 d7.ohi, 2 d7.ohl, 3 d7.als.
    run_.Location.IdeRoot = kRoot + L"\\D7";
    UseIde(9);
    const std::wstring help = kRoot + L"\\D7\\Help\\";
    ASSERT_EQ(0u, CreateDirectoryPath(help));
    ASSERT_TRUE(WriteBytes(help + L"d7.ohi", ":Index Other=other.hlp\r\n"));
    ASSERT_TRUE(WriteBytes(help + L"d7.ohl", ":Link other.hlp"));

    const ScriptRow index =
        Row(RowKind::AppendText | RowFlag::Undo, L"\r\n:Index Tessel library components=qvlib.hlp", 1, 4);
    ChangeContext ctx = Ctx();
    EXPECT_EQ(0, ApplyChange(index, ctx).Code());
    EXPECT_EQ(L"Modifying file: " + help + L"d7.ohi...Success", ctx.LogText);
    EXPECT_EQ(":Index Other=other.hlp\r\n:Index Tessel library components=qvlib.hlp\r\n", FileBytes(help + L"d7.ohi"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(index, ctx).Code());
    EXPECT_EQ(L"Modifying file: " + help + L"d7.ohi...Already", ctx.LogText);
    const ScriptRow upper = Row(RowKind::AppendText, L"\r\n:INDEX TESSEL LIBRARY COMPONENTS=QVLIB.HLP", 1, 4);
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(upper, ctx).Code());
    EXPECT_EQ(L"Modifying file: " + help + L"d7.ohi...Already", ctx.LogText) << "letter case is ignored";

    // A file without a final line break gets one before the new line.
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::AppendText, L"\r\n:Link qvlib.hlp", 2, 4), ctx).Code());
    EXPECT_EQ(":Link other.hlp\r\n:Link qvlib.hlp\r\n", FileBytes(help + L"d7.ohl"));

    // A missing file: -1 and no line; a selector without a file: the same.
    Fresh(ctx);
    EXPECT_EQ(-1, ApplyChange(Row(RowKind::AppendText, L"\r\nx", 3, 4), ctx).Code());
    EXPECT_TRUE(ctx.LogText.empty());
    UseIde(10);  // Delphi 2005 has no help-configuration files
    EXPECT_EQ(-1, ApplyChange(Row(RowKind::AppendText, L"\r\nx", 1, 4), ctx).Code());
    UseIde(9);

    // Merge: the source's lines missing from the destination are added, ANSI, CR LF.
    ASSERT_EQ(0u, CreateDirectoryPath(InstallDir + L"\\Help"));
    ASSERT_TRUE(WriteBytes(InstallDir + L"\\Help\\qvlib.als", "b=2\r\nd=4\r\n"));
    ASSERT_TRUE(WriteBytes(help + L"d7.als", "a=1\r\nb=2\r\nc=3"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::MergeFiles, L"Help\\qvlib.als", 0, 3, nullptr, L"d7.als", 4), ctx).Code());
    EXPECT_EQ(L"Merging files: " + InstallDir + L"\\Help\\qvlib.als, " + help + L"d7.als...Success", ctx.LogText);
    EXPECT_EQ("a=1\r\nb=2\r\nc=3\r\nd=4\r\n", FileBytes(help + L"d7.als"));

    // Replace: the first occurrence, found without regard to case; no stale bytes stay.
    ASSERT_TRUE(WriteBytes(kRoot + L"\\r.txt", "Path=C:\\OLD\\Longer\\Place;x;C:\\old\\longer\\place"));
    const ScriptRow replace = Row(RowKind::ReplaceText, L"r.txt", 0, 0, L"c:\\old\\longer\\place", L"D:\\new");
    // Location 0 uses the text unchanged, so give the full path.
    const std::wstring full = kRoot + L"\\r.txt";
    ScriptRow replaceFull = replace;
    replaceFull.Text = full.c_str();
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(replaceFull, ctx).Code());
    EXPECT_EQ(L"Replace text: File=" + full + L", FindText=c:\\old\\longer\\place, ReplaceTo=D:\\new...Success",
              ctx.LogText);
    EXPECT_EQ("Path=D:\\new;x;C:\\old\\longer\\place", FileBytes(full));
    ScriptRow absent = replaceFull;
    absent.Text2 = L"nothing";
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(absent, ctx).Code());
    EXPECT_EQ(L"...Already", ctx.LogText.substr(ctx.LogText.size() - 10));
    ScriptRow missing = replaceFull;
    missing.Text = L"C:\\acttest\\none.txt";
    Fresh(ctx);
    EXPECT_EQ(-1, ApplyChange(missing, ctx).Code());
    EXPECT_TRUE(ctx.LogText.empty());
}

TEST_F(Actions, WindowsRegistrationsAndPrograms) {
    // The uninstall entry, without and with blanks in the install folder.
    const std::wstring key = std::wstring(tessel::changes::uninstall_entry::UninstallRootKey) + L"qvlLib";
    ChangeContext ctx = Ctx();
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RegisterUninstall | RowFlag::Undo, L"unqmv.exe", 0, 3), ctx).Code());
    EXPECT_EQ(L"Registering Uninstall: unqmv.exe...Success", ctx.LogText);
    EXPECT_EQ(L"Veltrane Tessel library v4.09", RegText(HKEY_LOCAL_MACHINE, key, L"DisplayName"));
    EXPECT_EQ(L"Veltrane", RegText(HKEY_LOCAL_MACHINE, key, L"Publisher"));
    EXPECT_EQ(L"4.09", RegText(HKEY_LOCAL_MACHINE, key, L"DisplayVersion"));
    EXPECT_EQ(InstallDir + L"\\unqmv.exe " + InstallDir + L"\\uninst.log",
              RegText(HKEY_LOCAL_MACHINE, key, L"UninstallString"));
    InstallDir = L"C:\\Program Files\\Tessel";
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RegisterUninstall, L"unqmv.exe", 0, 3), ctx).Code());
    EXPECT_EQ(L"\"C:\\Program Files\\Tessel\\unqmv.exe\" \"C:\\Program Files\\Tessel\\uninst.log\"",
              RegText(HKEY_LOCAL_MACHINE, key, L"UninstallString"));
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, key);

    // WinHelp: the folder set by the help-folder row.
    InstallDir = kRoot + L"\\inst";
    EXPECT_EQ(0, ApplyChange(Row(RowKind::SetHelpDir, L"Help", 0, 3), ctx).Code());
    EXPECT_EQ(InstallDir + L"\\Help", HelpDir);
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RegisterWinHelp | RowFlag::Undo, L"qvlib.hlp"), ctx).Code());
    EXPECT_EQ(L"Registering windows help: qvlib.hlp...Success", ctx.LogText);
    EXPECT_EQ(InstallDir + L"\\Help", RegText(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey, L"qvlib.hlp"));

    // Registry keys: created below a predefined root (failures: below).
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::CreateRegKey, L"Software\\TesselTest\\Key", 0x80000001), ctx).Code());
    UniqueHKey opened;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TesselTest\\Key", 0, KEY_READ, opened.put()));
    EXPECT_TRUE(ctx.LogText.empty());

    // Programs: a batch file in a folder with a blank, started and waited for.
    const std::wstring dir = kRoot + L"\\with blank";
    ASSERT_EQ(0u, CreateDirectoryPath(dir + L"\\help"));
    ASSERT_TRUE(WriteBytes(dir + L"\\run.bat", "@echo ran> ran.txt\r\n"));
    run_.WorkingDir = dir;  // what the folder row sets: the program is found and run there
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RunFile, L"run.bat"), ctx).Code());
    EXPECT_EQ(L"Run file: " + dir + L"\\run.bat...Success", ctx.LogText);
    EXPECT_TRUE(PathExists(dir + L"\\ran.txt"));
    Fresh(ctx);
    EXPECT_NE(0, ApplyChange(Row(RowKind::RunFile, L"none.exe"), ctx).Code());
    EXPECT_TRUE(ctx.LogText.empty());

    // Before any folder row the install folder stands in, never the setup's own
    // current folder: whoever started the setup chose that one.
    InstallDir = dir;
    run_.WorkingDir.clear();
    ASSERT_TRUE(WriteBytes(kRoot + L"\\planted.bat", "@echo planted> planted.txt\r\n"));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(kRoot.c_str()));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RunFile, L"run.bat"), ctx).Code());
    EXPECT_NE(0, ApplyChange(Row(RowKind::RunFile, L"planted.bat"), ctx).Code());
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(PathExists(kRoot + L"\\planted.txt"));

    InstallDir = dir;
    ASSERT_TRUE(WriteBytes(dir + L"\\help\\help_reg.bat", "@echo reg> reg.txt\r\n"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RunInstallFile | RowFlag::Undo, L"help\\help_reg.bat"), ctx).Code());
    EXPECT_EQ(L"Register help: " + dir + L"\\help\\help_reg.bat...Success", ctx.LogText);
    EXPECT_TRUE(PathExists(dir + L"\\help\\reg.txt")) << "runs in the help folder";
    EXPECT_EQ(dir + L"\\help", run_.WorkingDir) << "the rows after it work there too";
}

TEST_F(Actions, PackagesAreRegisteredAndPathListsExtended) {
    // Delphi 7 (index 9): one "\Library" key with "Search Path".
    const std::wstring d7 = IdeTable[9].RegKey;
    (void)DeleteRegKey(HKEY_CURRENT_USER, d7);
    UseIde(9);
    IdeFolder = L"Delphi7";
    const ScriptRow reg = Row(RowKind::RegisterPackage | RowFlag::Undo, L"Delphi7\\dclqvl70.bpl", 0, 3);
    ChangeContext ctx = Ctx();
    EXPECT_EQ(-2, ApplyChange(reg, ctx).Code()) << "no library path list yet";
    EXPECT_EQ(L"Registering package: " + InstallDir + L"\\Delphi7\\dclqvl70.bpl...Success", ctx.LogText);
    EXPECT_EQ(L"Tessel library v4.09",
              RegText(HKEY_CURRENT_USER, d7 + L"\\Known Packages", InstallDir + L"\\Delphi7\\dclqvl70.bpl"));

    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path", L""));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(reg, ctx).Code());
    EXPECT_EQ(L"Registering package: " + InstallDir + L"\\Delphi7\\dclqvl70.bpl...Success\r\nAdding search path: " +
                  InstallDir + L"\\Delphi7...Success",
              ctx.LogText);
    EXPECT_EQ(InstallDir + L"\\Delphi7", RegText(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(reg, ctx).Code());
    EXPECT_EQ(L"...Already", ctx.LogText.substr(ctx.LogText.size() - 10));

    // The folder as a whole entry in another case: already there, unchanged.
    const std::wstring other = L"$(DELPHI)\\Lib;" + LowerWide(InstallDir) + L"\\delphi7";
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path", other));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(reg, ctx).Code());
    EXPECT_EQ(L"...Already", ctx.LogText.substr(ctx.LogText.size() - 10));
    EXPECT_EQ(other, RegText(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path"));
    // Only the start of a longer entry: not there, the folder is added as its own entry.
    const std::wstring longer = L"$(DELPHI)\\Lib;" + LowerWide(InstallDir) + L"\\delphi7\\extra";
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path", longer));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(reg, ctx).Code());
    EXPECT_EQ(L"...Success", ctx.LogText.substr(ctx.LogText.size() - 10));
    EXPECT_EQ(longer + L";" + InstallDir + L"\\Delphi7", RegText(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path"));
    // A list ending in ";" gets no second ";".
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path", L"$(DELPHI)\\Lib;"));
    EXPECT_EQ(0, ApplyChange(reg, ctx).Code());
    EXPECT_EQ(L"$(DELPHI)\\Lib;" + InstallDir + L"\\Delphi7",
              RegText(HKEY_CURRENT_USER, d7 + L"\\Library", L"Search Path"));

    // Delphi 3 uses "SearchPath".
    const std::wstring d3 = IdeTable[1].RegKey;
    UseIde(1);
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, d3 + L"\\Library", L"SearchPath", L"C:\\D3\\Lib"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RegisterPackage, L"Delphi3\\dclqvl30.dpl", 0, 3), ctx).Code());
    EXPECT_EQ(L"C:\\D3\\Lib;" + InstallDir + L"\\Delphi3",
              RegText(HKEY_CURRENT_USER, d3 + L"\\Library", L"SearchPath"));

    // RAD Studio 2009 (13): "ForceEnvOptionsUpdate"; XE7 (22): the Win32 library key.
    const std::wstring r2009 = IdeTable[13].RegKey;
    UseIde(13);
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, r2009 + L"\\Library", L"Search Path", L"x"));
    EXPECT_EQ(0, ApplyChange(Row(RowKind::RegisterPackage, L"BDS2009\\dclqvl2009.bpl", 0, 3), ctx).Code());
    EXPECT_EQ(L"1", RegText(HKEY_CURRENT_USER, r2009 + L"\\Globals", L"ForceEnvOptionsUpdate"));
    const std::wstring xe7 = IdeTable[22].RegKey;
    UseIde(22);
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, xe7 + L"\\Library\\Win32", L"Search Path", L"y"));
    EXPECT_EQ(0,
              ApplyChange(Row(RowKind::RegisterPackage, L"RADStudio16\\Win32\\dclqvl210.bpl", 0, 3), ctx).Code());
    EXPECT_EQ(L"y;" + InstallDir + L"\\RADStudio16\\Win32",
              RegText(HKEY_CURRENT_USER, xe7 + L"\\Library\\Win32", L"Search Path"));
    EXPECT_EQ(L"<missing>", RegText(HKEY_CURRENT_USER, xe7 + L"\\Globals", L"ForceEnvOptionsUpdate"));

    // Search path rows of the C++Builder blocks (C++Builder 6, index 8).
    const std::wstring b6 = IdeTable[8].RegKey;
    UseIde(8);
    (void)DeleteRegKey(HKEY_CURRENT_USER, b6);
    const ScriptRow add = Row(RowKind::AddSearchPath | RowFlag::Undo, L"Source", 0, 3);
    Fresh(ctx);
    EXPECT_EQ(-2, ApplyChange(add, ctx).Code());
    EXPECT_TRUE(ctx.LogText.empty());
    ScriptRow tolerant = add;
    tolerant.Options = 1;
    EXPECT_EQ(0, ApplyChange(tolerant, ctx).Code());
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, b6 + L"\\Library", L"Search Path", L"$(BCB)\\Lib"));
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(add, ctx).Code());
    EXPECT_EQ(L"Adding search path: " + InstallDir + L"\\Source...Success", ctx.LogText);
    EXPECT_EQ(L"$(BCB)\\Lib;" + InstallDir + L"\\Source",
              RegText(HKEY_CURRENT_USER, b6 + L"\\Library", L"Search Path"));
    ScriptRow named = add;
    named.Text2 = L"Other";
    named.Text3 = L"Paths";
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, b6 + L"\\Other", L"Paths", L""));
    EXPECT_EQ(0, ApplyChange(named, ctx).Code());
    EXPECT_EQ(InstallDir + L"\\Source", RegText(HKEY_CURRENT_USER, b6 + L"\\Other", L"Paths"));

    // IDE path rows: the folder by base code; a list that does not exist is left alone.
    UseIde(22);
    IdeFolder = L"RADStudio16";
    const ScriptRow win64 = Row(RowKind::AddIdePath | RowFlag::Undo, L"\\C++\\Paths\\Win64\\LibraryPath", 4, 3);
    (void)DeleteRegValue(HKEY_CURRENT_USER, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath");
    Fresh(ctx);
    EXPECT_EQ(0, ApplyChange(win64, ctx).Code());
    EXPECT_TRUE(ctx.LogText.empty());
    EXPECT_EQ(L"<missing>", RegText(HKEY_CURRENT_USER, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath"));
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath", L"$(BDS)\\lib;"));
    EXPECT_EQ(0, ApplyChange(win64, ctx).Code());
    EXPECT_EQ(L"Adding search path: " + InstallDir + L"\\RADStudio16\\Win64...Success", ctx.LogText);
    EXPECT_EQ(L"$(BDS)\\lib;" + InstallDir + L"\\RADStudio16\\Win64",
              RegText(HKEY_CURRENT_USER, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath"));
}

TEST_F(Actions, CompileRowsRunTheIdeToolsHiddenAndBounded) {
    EXPECT_EQ(45000u, plan_.CompileTimeoutMs) << "the compiler gets 45 seconds";
    ChangeContext ctx = Ctx();
    EXPECT_EQ(-1, ApplyChange(Row(RowKind::CompilePackage, L"x.dpk", 0), ctx).Code());
    EXPECT_EQ(-2, ApplyChange(Row(RowKind::CompilePackage, L"x.dpk", 0x80000000), ctx).Code());
    EXPECT_TRUE(ctx.LogText.empty());

    // No tools: the "cannot find" lines.
    plan_.Ides[9].RootDir = kRoot + L"\\NoTools";
    EXPECT_EQ(-3, ApplyChange(Row(RowKind::CompilePackage, L"qvl70.dpk", 0x100), ctx).Code());
    EXPECT_EQ(L"Compiling package, cannot find dcc32.exe: qvl70.dpk...Fail", ctx.LogText);
    plan_.Ides[22].RootDir = kRoot + L"\\NoTools";
    EXPECT_EQ(
        -3,
        ApplyChange(Row(RowKind::CompilePackage, L"qvl210.dpk", 0x200000, 0, nullptr, nullptr, 0, 1), ctx).Code());
    EXPECT_EQ(L"Compiling package, cannot find dcc64.exe: qvl210.dpk...Fail", ctx.LogText);
    plan_.Ides[8].RootDir = kRoot + L"\\NoTools";
    EXPECT_EQ(-4, ApplyChange(Row(RowKind::CompilePackage, L"qvl60.mak", 0x80), ctx).Code());
    EXPECT_EQ(L"Compiling package, cannot find make.exe: qvl60.mak...Fail", ctx.LogText);

    // Stand-in IDEs below "C:\Program Files (x86)": Delphi 7 and C++Builder 6.
    ASSERT_TRUE(LayOutMachine({9, 8}));
    plan_.Ides[9].RootDir = StandinRootDir(9);
    plan_.Ides[8].RootDir = StandinRootDir(8);
    ASSERT_NE(std::wstring::npos, plan_.Ides[9].RootDir.find(L' ')) << "the stand-in root has a blank";
    ASSERT_EQ(0u, CreateDirectoryPath(InstallDir));  // the compiler's output goes there
    const std::wstring pkg = kRoot + L"\\pkg";
    ASSERT_EQ(0u, CreateDirectoryPath(pkg));
    ASSERT_TRUE(WriteBytes(pkg + L"\\qvl70.dpk", "package qvl70;\r\nrequires rtl;\r\nend.\r\n"));
    run_.WorkingDir = pkg;  // the project is found there
    ClearToolCalls(9);
    Fresh(ctx);
    // Several bits: the lowest one (Delphi 7) is used.
    EXPECT_EQ(0, ApplyChange(Row(RowKind::CompilePackage, L"qvl70.dpk", 0x100 | 0x200000), ctx).Code());
    EXPECT_EQ(L"Compiling package: qvl70.dpk...Success", ctx.LogText);
    const auto calls = ReadToolCalls(9);
    ASSERT_EQ(1u, calls.size());
    EXPECT_NE(std::wstring::npos, calls[0].commandLine.find(L"qvl70.dpk"));
    EXPECT_EQ(LowerWide(pkg), LowerWide(calls[0].currentDir));
    EXPECT_TRUE(PathExists(pkg + L"\\qvl70.bpl"));

    ASSERT_TRUE(WriteBytes(pkg + L"\\qvl60.mak", "PROJECT = qvl60.bpl\r\n"));
    ClearToolCalls(8);
    EXPECT_EQ(0, ApplyChange(Row(RowKind::CompilePackage, L"qvl60.mak", 0x80), ctx).Code());
    const auto makeCalls = ReadToolCalls(8);
    ASSERT_EQ(1u, makeCalls.size());
    EXPECT_NE(std::wstring::npos, makeCalls[0].commandLine.find(L"/fqvl60.mak")) << "\"/f\" stays glued to the name";
    EXPECT_TRUE(PathExists(pkg + L"\\qvl60.bpl"));

    // A failing compiler: the row succeeds, the check of the package does not.
    // What the compiler said is kept for that check, caught in a file of the
    // setup's own in the install folder that is gone afterwards.
    DeleteFileW((pkg + L"\\qvl70.bpl").c_str());
    const std::wstring e2003 = L"qvStorage.pas(12) Error: E2003 Undeclared identifier: 'Foo'";
    struct Case {
        const char* what;
        bool refuse;  // the edition's refusal instead of a build error
        DWORD exitCode;
        std::wstring output;
    } cases[] = {
        {"told to fail", false, 1, L"dcc32: Fatal: told to fail"},
        {"build error", false, 2, e2003},
        {"edition refuses", true, 1, NoCommandLineCompiling},
    };
    for (const Case& c : cases) {
        if (c.output == L"dcc32: Fatal: told to fail")
            ASSERT_TRUE(SetToolBehaviour(9, ToolMode::Fail));
        else
            ASSERT_TRUE(SetToolOutput(9, c.output, c.exitCode));
        run_.ManualBuildIdeMask = IdeMask();
        EXPECT_EQ(0, ApplyChange(Row(RowKind::CompilePackage, L"qvl70.dpk", 0x100), ctx).Code()) << c.what;
        EXPECT_FALSE(PathExists(pkg + L"\\qvl70.bpl")) << c.what;
        const CompileReport& report = run_.LastCompile;
        EXPECT_TRUE(report.Ran && report.Finished) << c.what;
        EXPECT_EQ(c.exitCode, report.ExitCode) << c.what;
        EXPECT_EQ(std::vector<std::wstring>{c.output}, report.Lines) << c.what;
        EXPECT_EQ(c.refuse ? 0x100u : 0u, run_.ManualBuildIdeMask.Bits()) << c.what;
        EXPECT_EQ(c.refuse ? L"Compiling package: qvl70.dpk...Skipped. This edition of Delphi 7 does not support "
                             L"command line compiling"
                           : L"Compiling package: qvl70.dpk...Success",
                  ctx.LogText)
            << c.what;
        EXPECT_FALSE(PathExists(InstallDir + L"\\*.tmp")) << c.what;
    }

    // A hanging compiler: the row returns after the time limit and leaves it running.
    ASSERT_TRUE(SetToolBehaviour(9, ToolMode::Hang));
    plan_.CompileTimeoutMs = 1500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, ApplyChange(Row(RowKind::CompilePackage, L"qvl70.dpk", 0x100), ctx).Code());
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 1400);
    EXPECT_LT(ms, 15000);
    EXPECT_EQ(L"Compiling package: qvl70.dpk...Success", ctx.LogText);
    EXPECT_FALSE(run_.LastCompile.Finished);
    SetToolBehaviour(9, ToolMode::Normal);
    SetCurrentDirectoryW(L"C:\\");
}

// Actions whose work did not happen say so: "...Fail" where they log, a
// non-zero result, and nothing of the user's lost on the way.
TEST_F(Actions, FailuresAreReportedAsFailures) {
    const std::wstring dir = InstallDir + L"\\F";
    const std::wstring locked = dir + L"\\ro.txt";  // read-only: cannot be deleted
    const std::wstring dest = dir + L"\\d.als";
    const auto fresh = [&] {
        SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
        (void)DeleteDirectoryTree(dir, false);
        ASSERT_EQ(0u, CreateDirectoryPath(dir));
        ASSERT_TRUE(WriteBytes(locked, "mine"));
        ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(WriteBytes(dir + L"\\s.als", "b=2\r\n"));
        ASSERT_TRUE(WriteBytes(dest, "a=1\r\n"));
    };
    // A destination held open without sharing cannot be read.
    UniqueFile held;
    const auto hold = [&] {
        held.reset(CreateFileW(dest.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.valid());
    };
    // A key name of more than 255 characters.
    const std::wstring longKey = L"Software\\TesselTest\\" + std::wstring(300, L'k');
    const struct Case {
        const char* what;
        std::function<void()> prepare;
        ScriptRow row;
        ActionResult (*action)(const ScriptRow&, ChangeContext&);
        std::wstring log;        // empty: no line
        std::wstring unchanged;  // a file that keeps "a=1\r\n"
    } cases[] = {
        {"clear with a file that stays", nullptr, Row(RowKind::ClearDir, L"F", 0, 3), ApplyChange,
         L"Clearing directory: " + dir + L"...Fail", L""},
        {"delete a read-only file", nullptr, Row(RowKind::DeleteOneFile, L"F\\ro.txt", 0, 3), ApplyChange,
         L"Deleting file: " + locked + L"...Fail", L""},
        {"delete by mask", nullptr, Row(RowKind::DeleteFiles, L"F\\*.txt", 0, 3), ApplyChange,
         L"Deleting files: " + dir + L"\\*.txt...Fail", L""},
        {"merge a missing source", nullptr, Row(RowKind::MergeFiles, L"F\\none.als", 0, 3, nullptr, L"F\\d.als", 3),
         ApplyChange, L"Merging files: " + dir + L"\\none.als, " + dest + L"...Fail", dest},
        {"merge into an unreadable file", hold, Row(RowKind::MergeFiles, L"F\\s.als", 0, 3, nullptr, L"F\\d.als", 3),
         ApplyChange, L"Merging files: " + dir + L"\\s.als, " + dest + L"...Fail", dest},
        {"merge into a folder that is not there", nullptr,
         Row(RowKind::MergeFiles, L"F\\s.als", 0, 3, nullptr, L"F\\none\\d.als", 3), ApplyChange,
         L"Merging files: " + dir + L"\\s.als, " + dir + L"\\none\\d.als...Fail", L""},
        {"key below no predefined root", nullptr, Row(RowKind::CreateRegKey, L"Software\\TesselTest\\Key", 0x12345678),
         ApplyChange, L"", L""},
        {"key that cannot be created", nullptr, Row(RowKind::CreateRegKey, longKey.c_str(), 0x80000001), ApplyChange,
         L"", L""},
    };
    for (const Case& c : cases) {
        fresh();
        if (c.prepare) c.prepare();
        ChangeContext ctx = Ctx();
        EXPECT_NE(0, c.action(c.row, ctx).Code()) << c.what;
        EXPECT_EQ(c.log, ctx.LogText) << c.what;
        held.reset();
        EXPECT_EQ("mine", FileBytes(locked)) << c.what;
        if (!c.unchanged.empty()) {
            EXPECT_EQ("a=1\r\n", FileBytes(c.unchanged)) << c.what;
        }
    }
    // A merge into a file that is not there yet creates it.
    fresh();
    ASSERT_TRUE(DeleteFileW(dest.c_str()));
    ChangeContext ctx = Ctx();
    EXPECT_EQ(0, ApplyChange(Row(RowKind::MergeFiles, L"F\\s.als", 0, 3, nullptr, L"F\\d.als", 3), ctx).Code());
    EXPECT_EQ("b=2\r\n", FileBytes(dest));
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The automatic suffix comes from the one package of that shape the compiler wrote.
TEST(AutoSuffix, LearntFromTheOnePackageOfItsShape) {
    const struct {
        std::vector<std::wstring> names;
        const wchar_t* suffix;  // nullptr: none learnt
    } cases[] = {
        {{L"qvl380.bpl", L"qvl.dcp"}, L"380"},
        {{L"QVL380.BPL"}, L"380"},
        {{L"qvl.bpl"}, nullptr},                     // no number
        {{L"qvl380.bpl", L"qvl390.bpl"}, nullptr},   // two candidates
        {{L"qvl38x.bpl", L"qvlx380.bpl"}, nullptr},  // not digits alone
        {{L"qvl12345.bpl"}, nullptr},
        {{L"dclqvl380.bpl"}, nullptr},
    };
    for (const auto& c : cases) {
        std::wstring suffix = L"stale";
        EXPECT_EQ(FindAutoSuffix(c.names, L"qvl", L".bpl", suffix), c.suffix != nullptr) << ToUtf8(c.names[0]);
        EXPECT_EQ(suffix, c.suffix ? c.suffix : L"") << ToUtf8(c.names[0]);
    }
    EXPECT_EQ(WithAutoSuffix(L"X\\dclqvl$(Auto).bpl;qvl$(Auto)", L"380"), L"X\\dclqvl380.bpl;qvl380");
}
