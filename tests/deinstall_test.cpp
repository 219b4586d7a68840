// The uninstall engine against the Wine prefix's own registry and file system.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/pathlists/PathListChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "changes/files/FileChanges.h"
#include <cstdio>
#include <windows.h>
#include "changes/UninstallEngine.h"
#include "common/ProcessGlobals.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "changes/pathlists/PathList.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/UndoRules.h"
#include "changes/Changes.h"
#include "support/TestFiles.h"
#include "support/ProductKeys.h"
#include "support/UndoLogWriter.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::files;
using namespace tessel::changes::pathlists;
using namespace tessel::changes::uninstall_entry;

namespace {

const HKEY HKCU = HKEY_CURRENT_USER;
const HKEY HKLM = HKEY_LOCAL_MACHINE;
const wchar_t* const ProductKey = L"Software\\Veltrane\\Tessel library";

bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ToWide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// An IDE that discovery finds: a root folder with the compiler, named in HKLM.
std::wstring InstallFakeIde(int index, const std::wstring& root) {
    MakeFile(root + (IdeTable[index].IsDelphi ? L"\\bin\\dcc32.exe" : L"\\bin\\make.exe"));
    (void)WriteRegString(HKLM, IdeTable[index].RegKey, L"RootDir", root);
    return root;
}

// Loads, prepares and walks a log without dialog.
// Where the last RunEngine's walk ended: its install folder and the IDE it selected last.
tessel::common::LocationContext lastWalk;

WalkResult RunEngine(const std::wstring& logFile, bool partial = false) {
    UninstallEngine engine;
    engine.PartialUninstall = partial;
    lastWalk = {};
    if (engine.Load(logFile) != UndoLogLoad::Loaded) {
        ADD_FAILURE() << "the engine does not load " << ToUtf8(logFile);
        return WalkResult{WalkEnd::Damaged, 0};
    }
    const WalkResult result = engine.Undo();
    lastWalk = engine.Location();
    return result;
}

}  // namespace

TEST(PathListRemoval, TakesOutWholeEntriesOnly) {
    auto remove = [](std::wstring value, const std::wstring& folder) {
        std::wstring lower = value, f = folder;
        for (auto& c : lower) c = static_cast<wchar_t>(towlower(c));
        for (auto& c : f) c = static_cast<wchar_t>(towlower(c));
        // Adding asks by the same rule: the entry counts as there exactly when removal finds it.
        const bool there = HasPathListEntry(lower, f);
        const bool removed = RemovePathListEntry(value, lower, f);
        EXPECT_EQ(there, removed) << ToUtf8(value) << " " << ToUtf8(folder);
        return removed ? value : std::wstring(L"<unchanged>");
    };
    EXPECT_EQ(remove(L"C:\\A;C:\\Lib;C:\\B", L"C:\\Lib"), L"C:\\A;C:\\B");
    EXPECT_EQ(remove(L"C:\\A;C:\\Lib", L"C:\\Lib"), L"C:\\A");
    EXPECT_EQ(remove(L"C:\\Lib", L"C:\\Lib"), L"");
    EXPECT_EQ(remove(L"C:\\Lib;C:\\B", L"C:\\Lib"), L"C:\\B");
    // Only the first occurrence goes; the rest keeps its case and order.
    EXPECT_EQ(remove(L"$(BDS)\\Lib;c:\\LIB;X;C:\\Lib", L"C:\\Lib"), L"$(BDS)\\Lib;X;C:\\Lib");
    // A longer entry that merely begins (or ends) with the folder's text is the user's.
    EXPECT_EQ(remove(L"C:\\Library;C:\\A", L"C:\\Lib"), L"<unchanged>");
    EXPECT_EQ(remove(L"C:\\Library;C:\\Lib", L"C:\\Lib"), L"C:\\Library");
    EXPECT_EQ(remove(L"D:\\C:\\Lib", L"C:\\Lib"), L"<unchanged>");
    EXPECT_EQ(remove(L"C:\\Tessel\\Win32Old", L"C:\\Tessel\\Win32"), L"<unchanged>");
    // A trailing backslash makes another entry: the user's "C:\Lib\" is neither
    // taken for the install's folder nor removed with it.
    EXPECT_EQ(remove(L"C:\\Lib\\;C:\\Lib", L"C:\\Lib"), L"C:\\Lib\\");
    // Trailing separator and empty entries.
    EXPECT_EQ(remove(L"C:\\Lib;", L"C:\\Lib"), L"");
    EXPECT_EQ(remove(L"C:\\A;;C:\\Lib", L"C:\\Lib"), L"C:\\A;");
    EXPECT_EQ(remove(L"C:\\A;;C:\\B", L""), L"<unchanged>");
    EXPECT_EQ(remove(L"", L"C:\\Lib"), L"<unchanged>");
}

TEST(TreeRemovalGuard, RefusesRootsRelativeAndSystemFolders) {
    const std::wstring win = L"c:\\windows", sys = L"c:\\windows\\system32";
    EXPECT_TRUE(IsRemovableTreePath(L"c:\\work", win, sys));
    EXPECT_TRUE(IsRemovableTreePath(L"c:\\program files\\tessel\\", win, sys));
    EXPECT_TRUE(IsRemovableTreePath(L"c:\\windows\\temp\\x", win, sys));
    EXPECT_TRUE(IsRemovableTreePath(L"\\\\server\\share\\lib", win, sys));
    for (const wchar_t* bad : {L"", L"work", L"\\work", L"c:", L"c:\\", L"c:\\\\", L"c:work", L"c:\\windows",
                               L"c:\\windows\\", L"c:\\windows\\system32", L"c:\\a\\..\\..", L"c:\\a\\.",
                               L"\\\\server\\share", L"\\\\server", L"\\\\?\\c:\\a", L"1:\\a"}) {
        EXPECT_FALSE(IsRemovableTreePath(bad, win, sys)) << bad;
    }
    // The system also takes "/" as a separator and drops trailing dots and blanks
    // from names, so these name a drive root, the Windows folder or its parent.
    for (const wchar_t* bad : {L"c:\\a/..", L"c:/a\\..", L"c:\\windows/", L"c:\\windows/system32", L"c:\\windows.",
                               L"c:\\windows ", L"c:\\a\\.. ", L"c:\\a\\...", L"\\\\server/share"}) {
        EXPECT_FALSE(IsRemovableTreePath(bad, win, sys)) << bad;
    }
    EXPECT_TRUE(IsRemovableTreePath(L"c:/work/lib", win, sys));
    // A folder that holds the Windows folder goes with it: never removed.
    EXPECT_FALSE(IsRemovableTreePath(L"d:\\os", L"d:\\os\\windows", L"d:\\os\\windows\\system32"));
    EXPECT_FALSE(IsRemovableTreePath(L"d:\\os\\", L"d:\\os\\windows", L"d:\\os\\windows\\system32"));
    EXPECT_TRUE(IsRemovableTreePath(L"d:\\os\\win", L"d:\\os\\windows", L"d:\\os\\windows\\system32"));
    EXPECT_TRUE(IsFullPath(L"C:\\Help\\x.ohi"));
    EXPECT_TRUE(IsFullPath(L"\\\\server\\share\\x"));
    for (const wchar_t* part : {L"", L"Help\\x", L"\\Help\\x", L"C:x", L"C:", L"\\\\\\x"})
        EXPECT_FALSE(IsFullPath(part)) << part;
}

TEST(Deinstall, LeavesFilesAloneWhenTheIdeIsGone) {
    // Delphi 5 was removed before the library: its folders no longer resolve,
    // and nothing relative to the current folder or drive is touched instead.
    const std::wstring dir = L"C:\\NoIde";
    const std::string line = "\r\n:Index Tessel library components=qvlib.hlp";
    MakeFile(L"C:\\cwd\\Help\\delphi5.gid");
    MakeFile(L"C:\\Help\\delphi5.ohi", "keep" + line);
    SetCurrentDirectoryW(L"C:\\cwd");
    ASSERT_TRUE(WriteUndoLogFile(
        dir, With(ProductInfoRows(dir), {
                                            {RowKind::SetIde | RowFlag::Undo, 3, 0, L"Delphi5"},
                                            {RowKind::AppendText | RowFlag::Undo, 1, 4, ToWide(line)},
                                            {RowKind::DeleteOneFile | RowFlag::Undo, 0, 2, L"Help\\delphi5.gid"},
                                            {RowKind::SetIde | RowFlag::Undo, 3, 0, L"Delphi5"},
                                        })));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_TRUE(FileExists(L"C:\\cwd\\Help\\delphi5.gid"));
    EXPECT_EQ(FileBytes(L"C:\\Help\\delphi5.ohi"), "keep" + line);
}

TEST(DeinstallFile, ReportsMissingEmptyShortAndForeignFiles) {
    const std::wstring dir = L"C:\\logs";
    (void)CreateDirectoryPath(dir);
    UninstallEngine engine;
    EXPECT_EQ(engine.Load(dir + L"\\none.log"), UndoLogLoad::CannotOpen);
    EXPECT_EQ(engine.Load(L""), UndoLogLoad::CannotOpen);
    MakeFile(dir + L"\\empty.log", "");
    EXPECT_EQ(engine.Load(dir + L"\\empty.log"), UndoLogLoad::Empty);
    MakeFile(dir + L"\\short.log", "UNQMV0");
    EXPECT_EQ(engine.Load(dir + L"\\short.log"), UndoLogLoad::NotUndoLog);
    MakeFile(dir + L"\\letter.log", "UNQMV0x");
    EXPECT_EQ(engine.Load(dir + L"\\letter.log"), UndoLogLoad::NotUndoLog);
    MakeFile(dir + L"\\ten.log", "UNQMV10");
    EXPECT_EQ(engine.Load(dir + L"\\ten.log"), UndoLogLoad::Loaded);
    EXPECT_EQ(engine.FileVersion(), "10");
    // A log that holds only the signature: nothing to prepare or undo.
    EXPECT_FALSE(engine.ReadsBackward());
    EXPECT_EQ(engine.Undo().End, WalkEnd::Complete);
    // A log held open without sharing cannot be opened.
    UniqueFile held(CreateFileW((dir + L"\\ten.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(engine.Load(dir + L"\\ten.log"), UndoLogLoad::CannotOpen);
    // Without a successful Load (none yet, or the last one failed) nothing is walked.
    EXPECT_EQ(engine.Undo().End, WalkEnd::Damaged);
    EXPECT_EQ(UninstallEngine().Undo().End, WalkEnd::Damaged);
}

TEST(DeinstallFile, ReadsProductInformationAndDirection) {
    const std::wstring dir = L"C:\\Programme\\Bibliothek f\u00FCr \u00C4rzte";
    ASSERT_TRUE(
        WriteUndoLogFile(dir, With(ProductInfoRows(dir), {{RowKind::SetIde | RowFlag::Undo, 9, 0, L"Delphi7"}})));
    UninstallEngine engine;
    ASSERT_EQ(engine.Load(dir + L"\\uninst.log"), UndoLogLoad::Loaded);
    EXPECT_EQ(engine.FileVersion(), "02");
    EXPECT_EQ(engine.ProductName, L"Tessel library");
    EXPECT_EQ(engine.ProductVersion, L"4.09");
    EXPECT_EQ(engine.ProductRegKey, ProductKey);
    EXPECT_EQ(engine.ProductIntName, L"qvlLib");
    EXPECT_EQ(engine.Location().InstallDir, dir);
    EXPECT_TRUE(engine.ReadsBackward());
}

TEST(Deinstall, WalksBackwardAfterMarkerAndForwardWithoutIt) {
    const std::wstring dir = L"C:\\order";
    const std::vector<LogRow> block = {
        {RowKind::SetIde | RowFlag::Undo, 2, 0, L"first"},
        {0x7777 | RowFlag::Undo, 0, 0, L"unknown kinds are passed over"},
        {RowKind::SetIde | RowFlag::Undo, 3, 0, L"last"},
    };
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir, true), block)));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    // Backward: the last record is undone first, so the first one is current at the end.
    EXPECT_EQ(lastWalk.CurrentIde.Value, 2);
    EXPECT_EQ(lastWalk.IdeFolder, L"first");

    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir, false), block)));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_EQ(lastWalk.CurrentIde.Value, 3);
    EXPECT_EQ(lastWalk.IdeFolder, L"last");
}

TEST(Deinstall, UndoesAnIdeBlockAndTheCommonChanges) {
    const std::wstring dir = L"C:\\Tessel";
    const std::wstring root = InstallFakeIde(9, L"C:\\IDEs\\Delphi7");
    const std::wstring regKey = IdeTable[9].RegKey;
    const std::wstring windows = ResolvePath({}, LocationCode::Windows, L"");

    // The machine as the install left it.
    MakeFile(dir + L"\\Source\\qvUtils.pas");
    MakeFile(dir + L"\\Delphi7\\dclqvl70.bpl");
    MakeFile(dir + L"\\Readme.txt");
    MakeFile(windows + L"\\qvTessel.ini");
    MakeFile(root + L"\\Help\\d7.gid");
    MakeFile(root + L"\\Help\\d7.ohi",
             "User line\r\n:Index Other=other.hlp\r\n:INDEX Tessel library components=qvlib.hlp\r\nTail");
    (void)WriteRegString(HKCU, regKey + L"\\Known Packages", dir + L"\\Delphi7\\dclqvl70.bpl", L"Tessel library v4.09");
    (void)WriteRegString(HKCU, regKey + L"\\Known Packages", L"C:\\Other\\keep.bpl", L"Other");
    (void)WriteRegString(HKCU, regKey + L"\\Library", L"Search Path",
                         L"$(DELPHI)\\Lib;C:\\Tessel\\Delphi7;C:\\Tessel\\Delphi7Extra");
    (void)WriteRegString(HKLM, tessel::changes::help::WinHelpKey, L"qvlib.hlp", dir + L"\\Help");
    (void)WriteRegString(HKLM, tessel::changes::help::WinHelpKey, L"other.hlp", L"C:\\Other");
    (void)WriteRegString(HKLM, kUninstallEntryKey, L"DisplayName", L"Veltrane Tessel library v4.09");
    (void)WriteRegString(HKLM, kUninstallEntryKey + std::wstring(L"\\Details"), L"x", L"y");
    (void)WriteRegString(HKLM, ProductKey, L"InstallDir", dir);
    (void)WriteRegString(HKLM, L"Software\\Veltrane\\Other product", L"x", L"y");

    const std::vector<LogRow> changes = {
        {RowKind::CreateDir | RowFlag::Undo, 0, 3, L""},
        {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Source"},
        {RowKind::RegisterWinHelp | RowFlag::Undo, 0, 0, L"qvlib.hlp"},
        {RowKind::ExtractFileOnce | RowFlag::Undo | RowFlag::KeepOnPartial, 29, 1, L"qvTessel.ini"},
        {RowKind::RegisterUninstall | RowFlag::Undo, 0, 3, L"something else.exe"},
        {RowKind::SetIde | RowFlag::Undo, 9, 0, L"Delphi7"},
        {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Delphi7"},
        {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"Delphi7\\dclqvl70.bpl"},
        {RowKind::AppendText | RowFlag::Undo, 1, 4, L"\r\n:Index Tessel library components=qvlib.hlp"},
        {RowKind::DeleteOneFile | RowFlag::Undo, 0, 2, L"Help\\d7.gid"},
        {RowKind::SetIde | RowFlag::Undo, 9, 0, L"Delphi7"},
        {RowKind::CreateRegKey | RowFlag::Undo | RowFlag::KeepOnPartial, 0x80000002u, 0, ProductKey},
    };
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));

    // A partial uninstall first keeps the two marked changes only.
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log", true).End, WalkEnd::Complete);
    EXPECT_TRUE(KeyExists(HKLM, ProductKey));
    EXPECT_TRUE(FileExists(windows + L"\\qvTessel.ini"));
    EXPECT_FALSE(KeyExists(HKLM, kUninstallEntryKey));
    // The system's key above the entry stays, even emptied.
    EXPECT_TRUE(KeyExists(HKLM, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    EXPECT_FALSE(DirectoryExists(dir));

    // The complete walk (from the log written anew, the first went with its folder).
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_EQ(lastWalk.CurrentIde.Value, 9);
    EXPECT_FALSE(KeyExists(HKLM, ProductKey));
    EXPECT_TRUE(KeyExists(HKLM, L"Software\\Veltrane\\Other product"));
    EXPECT_FALSE(FileExists(windows + L"\\qvTessel.ini"));
    EXPECT_EQ(RegText(HKLM, tessel::changes::help::WinHelpKey, L"qvlib.hlp"), L"<missing>");
    EXPECT_EQ(RegText(HKLM, tessel::changes::help::WinHelpKey, L"other.hlp"), L"C:\\Other");
    EXPECT_EQ(RegText(HKCU, regKey + L"\\Known Packages", dir + L"\\Delphi7\\dclqvl70.bpl"), L"<missing>");
    EXPECT_EQ(RegText(HKCU, regKey + L"\\Known Packages", L"C:\\Other\\keep.bpl"), L"Other");
    EXPECT_EQ(RegText(HKCU, regKey + L"\\Library", L"Search Path"), L"$(DELPHI)\\Lib;C:\\Tessel\\Delphi7Extra");
    EXPECT_FALSE(FileExists(root + L"\\Help\\d7.gid"));
    EXPECT_EQ(FileBytes(root + L"\\Help\\d7.ohi"), "User line\r\n:Index Other=other.hlp\r\nTail");
    EXPECT_TRUE(FileExists(root + L"\\bin\\dcc32.exe"));

    // A setup stopped inside the block wrote no closing IDE record: the
    // block's records are still undone with its IDE.
    (void)WriteRegString(HKCU, regKey + L"\\Known Packages", dir + L"\\Delphi7\\dclqvl70.bpl", L"Tessel library v4.09");
    ASSERT_TRUE(
        WriteUndoLogFile(dir, With(ProductInfoRows(dir), std::vector<LogRow>(changes.begin(), changes.begin() + 8))));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_EQ(RegText(HKCU, regKey + L"\\Known Packages", dir + L"\\Delphi7\\dclqvl70.bpl"), L"<missing>");
}

TEST(Deinstall, Delphi3UsesSearchPathAndPlatformIdesTheirPlatformKeys) {
    const std::wstring dir = L"C:\\Lib";
    InstallFakeIde(1, L"C:\\IDEs\\Delphi3");
    InstallFakeIde(22, L"C:\\IDEs\\XE7");
    const std::wstring d3 = IdeTable[1].RegKey, xe7 = IdeTable[22].RegKey;
    (void)WriteRegString(HKCU, d3 + L"\\Library", L"SearchPath", L"C:\\A;c:\\lib\\Delphi3;C:\\B");
    (void)WriteRegString(HKCU, d3 + L"\\Library", L"Search Path", L"C:\\Lib\\Delphi3");
    (void)WriteRegString(HKCU, xe7 + L"\\Library\\Win32", L"Search Path", L"$(BDS)\\lib;C:\\Lib\\RADStudio16\\Win32");
    (void)WriteRegString(HKCU, xe7 + L"\\Library\\Win64", L"Search Path", L"C:\\Lib\\RADStudio16\\Win64;$(BDS)\\lib64");
    (void)WriteRegString(HKCU, xe7 + L"\\C++\\Paths\\Win32", L"LibraryPath", L"C:\\Lib\\RADStudio16\\Win32");
    (void)WriteRegString(HKCU, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath", L"C:\\Lib\\RADStudio16\\Win64X");
    const std::vector<LogRow> changes = {
        {RowKind::SetIde | RowFlag::Undo, 1, 0, L"Delphi3"},
        {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"Delphi3\\dclqvl30.dpl"},
        {RowKind::SetIde | RowFlag::Undo, 1, 0, L"Delphi3"},
        {RowKind::SetIde | RowFlag::Undo, 22, 0, L"RADStudio16"},
        {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"RADStudio16\\Win32\\dclqvl220.bpl"},
        {RowKind::AddIdePath | RowFlag::Undo, 3, 3, L"\\C++\\Paths\\Win32\\LibraryPath"},
        {RowKind::AddIdePath | RowFlag::Undo, 4, 3, L"\\Library\\Win64\\Search Path"},
        {RowKind::AddIdePath | RowFlag::Undo, 4, 3, L"\\C++\\Paths\\Win64\\LibraryPath"},
        {RowKind::SetIde | RowFlag::Undo, 22, 0, L"RADStudio16"},
    };
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_EQ(RegText(HKCU, d3 + L"\\Library", L"SearchPath"), L"C:\\A;C:\\B");
    EXPECT_EQ(RegText(HKCU, d3 + L"\\Library", L"Search Path"), L"C:\\Lib\\Delphi3");
    EXPECT_EQ(RegText(HKCU, xe7 + L"\\Library\\Win32", L"Search Path"), L"$(BDS)\\lib");
    EXPECT_EQ(RegText(HKCU, xe7 + L"\\Library\\Win64", L"Search Path"), L"$(BDS)\\lib64");
    EXPECT_EQ(RegText(HKCU, xe7 + L"\\C++\\Paths\\Win32", L"LibraryPath"), L"");
    EXPECT_EQ(RegText(HKCU, xe7 + L"\\C++\\Paths\\Win64", L"LibraryPath"), L"C:\\Lib\\RADStudio16\\Win64X");
    // A list the IDE never created is not created by the uninstall either.
    EXPECT_FALSE(KeyExists(HKCU, xe7 + L"\\Library\\Search Path"));
    EXPECT_EQ(RegText(HKCU, xe7 + L"\\Library", L"Search Path"), L"<missing>");
}

// A registration record names its list in Param: 0 (every older log) the
// classic one, 1 the 64-bit IDE's. Each takes its value from its own list only.
TEST(Deinstall, PackageRecordsOfThe64BitIdeLeaveTheClassicList) {
    const std::wstring dir = L"C:\\Lib";
    InstallFakeIde(30, L"C:\\IDEs\\Studio13");
    const std::wstring key = IdeTable[30].RegKey;
    const std::wstring win32 = dir + L"\\RADStudio37\\Win32\\dclqvl370.bpl";
    const std::wstring win64 = dir + L"\\RADStudio37\\Win64\\dclqvl370.bpl";
    for (const std::wstring& list : {key + KnownPackagesKey, key + KnownPackagesX64Key}) {
        (void)WriteRegString(HKCU, list, win32, L"Tessel library v4.09");
        (void)WriteRegString(HKCU, list, win64, L"Tessel library v4.09");
        (void)WriteRegString(HKCU, list, L"C:\\Other\\keep.bpl", L"Other");
    }
    const std::vector<LogRow> changes = {
        {RowKind::SetIde | RowFlag::Undo, 30, 0, L"RADStudio37"},
        {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"RADStudio37\\Win32\\dclqvl370.bpl"},
        {RowKind::RegisterPackage | RowFlag::Undo, 1, 3, L"RADStudio37\\Win64\\dclqvl370.bpl"},
        {RowKind::SetIde | RowFlag::Undo, 30, 0, L"RADStudio37"},
    };
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_EQ(RegText(HKCU, key + KnownPackagesKey, win32), L"<missing>");
    EXPECT_EQ(RegText(HKCU, key + KnownPackagesKey, win64), L"Tessel library v4.09");
    EXPECT_EQ(RegText(HKCU, key + KnownPackagesX64Key, win32), L"Tessel library v4.09");
    EXPECT_EQ(RegText(HKCU, key + KnownPackagesX64Key, win64), L"<missing>");
    for (const std::wstring& list : {key + KnownPackagesKey, key + KnownPackagesX64Key})
        EXPECT_EQ(RegText(HKCU, list, L"C:\\Other\\keep.bpl"), L"Other");
    (void)DeleteRegKey(HKCU, key);
}

TEST(Deinstall, KeepsTheUsersFilesInAFolderThatExistedBefore) {
    // The user typed a folder that already held their work.
    const std::wstring dir = L"C:\\Work";
    MakeFile(dir + L"\\mine.txt", "my own file");
    MakeFile(dir + L"\\Projects\\app.dpr", "program app;");
    // What the install wrote: its own folders and files, logs included.
    MakeFile(dir + L"\\Source\\qvUtils.pas");
    MakeFile(dir + L"\\Readme.txt");
    MakeFile(dir + L"\\install.log");
    const std::vector<LogRow> changes = {
        {RowKind::CreateDir | RowFlag::Undo, DirExistedBefore, 3, L""},
        {RowKind::ExtractFile | RowFlag::Undo, 0, 3, L"install.log"},
        {RowKind::ExtractFile | RowFlag::Undo, 0, 3, L"uninst.log"},
        {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Source"},
        {RowKind::CreateDir | RowFlag::Undo, DirExistedBefore, 3, L"Projects"},
        {RowKind::ExtractFile | RowFlag::Undo, 30, 3, L"Readme.txt"},
    };
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_EQ(FileBytes(dir + L"\\mine.txt"), "my own file");
    EXPECT_EQ(FileBytes(dir + L"\\Projects\\app.dpr"), "program app;");
    EXPECT_FALSE(FileExists(dir + L"\\Readme.txt"));
    EXPECT_FALSE(FileExists(dir + L"\\install.log"));
    EXPECT_FALSE(FileExists(dir + L"\\uninst.log"));
    EXPECT_FALSE(DirectoryExists(dir + L"\\Source"));

    // Once everything the install wrote is gone, an emptied pre-existing folder goes too.
    const std::wstring empty = L"C:\\WasEmpty";
    MakeFile(empty + L"\\Readme.txt");
    ASSERT_TRUE(WriteUndoLogFile(
        empty, With(ProductInfoRows(empty), {
                                                {RowKind::CreateDir | RowFlag::Undo, DirExistedBefore, 3, L""},
                                                {RowKind::ExtractFile | RowFlag::Undo, 0, 3, L"uninst.log"},
                                                {RowKind::ExtractFile | RowFlag::Undo, 30, 3, L"Readme.txt"},
                                            })));
    EXPECT_EQ(RunEngine(empty + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_FALSE(DirectoryExists(empty));
}

TEST(Deinstall, NeverRemovesDriveRootsOrTheWindowsFolder) {
    const std::wstring windows = ResolvePath({}, LocationCode::Windows, L"");
    MakeFile(L"C:\\rootmarker.txt");
    MakeFile(windows + L"\\winmarker.txt");
    for (const std::wstring& dir :
         {std::wstring(L"C:\\"), std::wstring(L"C:"), windows, std::wstring(L"relative"),
          std::wstring(L"C:\\Temp\\..\\.."), std::wstring(L"C:\\Temp/.."), windows + L"/", windows + L"."}) {
        ASSERT_TRUE(WriteUndoLogFile(L"C:\\guardlog",
                                     With(ProductInfoRows(dir), {
                                                                    {RowKind::CreateDir | RowFlag::Undo, 0, 3, L""},
                                                                })));
        EXPECT_EQ(RunEngine(L"C:\\guardlog\\uninst.log").End, WalkEnd::StepFailed) << dir;
    }
    EXPECT_TRUE(FileExists(L"C:\\rootmarker.txt"));
    EXPECT_TRUE(FileExists(windows + L"\\winmarker.txt"));
    EXPECT_TRUE(FileExists(L"C:\\guardlog\\uninst.log"));
    // A top-level registry key is never deleted as a whole.
    ASSERT_EQ(0u, WriteRegString(HKLM, L"Software\\KeepMe", L"v", L"1"));
    ASSERT_TRUE(WriteUndoLogFile(
        L"C:\\guardlog",
        With(ProductInfoRows(L"C:\\x"), {
                                            {RowKind::CreateRegKey | RowFlag::Undo, 0x80000002u, 0, L"Software"},
                                            {RowKind::CreateRegKey | RowFlag::Undo, 0x12345u, 0, L"Software\\KeepMe"},
                                        })));
    EXPECT_EQ(RunEngine(L"C:\\guardlog\\uninst.log").End, WalkEnd::StepFailed);
    EXPECT_EQ(RegText(HKLM, L"Software\\KeepMe", L"v"), L"1");
}

// Crafted logs aim the uninstall, which runs as administrator, at places that
// are not the product's: a folder named as the install folder, directly or
// through the administrative share, a file in the system folder, registry keys
// of others. Each canary stays, the walk reports the failure, and the
// product's own record beside the crafted one is still undone.
TEST(Deinstall, CraftedRecordsLeaveTheirCanariesAndFailTheWalk) {
    const std::wstring dir = L"C:\\Crafted", canary = L"C:\\Canary", unc = L"\\\\localhost\\c$\\Canary";
    const std::wstring system = ResolvePath({}, LocationCode::System, L"");
    const std::wstring otherEntry = std::wstring(tessel::changes::uninstall_entry::UninstallRootKey) + L"Other";
    MakeFile(canary + L"\\keep.txt", "canary");
    MakeFile(system + L"\\canary.dll", "canary");
    (void)WriteRegString(HKLM, L"Software\\Canary", L"v", L"1");
    (void)WriteRegString(HKLM, otherEntry, L"DisplayName", L"Other");
    const uint32_t folder = RowKind::CreateDir | RowFlag::Undo;
    const struct {
        std::wstring installDir, intName;
        LogRow row;
    } crafted[] = {
        {canary, L"qvlLib", {folder, 0, 3, L""}},
        {unc, L"qvlLib", {folder, 0, 3, L""}},
        {dir, L"qvlLib", {folder, 0, 3, L"..\\Canary"}},
        {dir, L"qvlLib", {folder, 0, 3, unc}},
        {dir, L"qvlLib", {RowKind::ExtractFile | RowFlag::Undo, 0, 6, L"canary.dll"}},
        {dir, L"qvlLib", {RowKind::CreateRegKey | RowFlag::Undo, 0x80000002u, 0, L"Software\\Canary"}},
        {dir, L"Other", {RowKind::RegisterUninstall | RowFlag::Undo, 0, 3, L"unqmv.exe"}},
    };
    for (const auto& c : crafted) {
        std::vector<LogRow> info = ProductInfoRows(c.installDir);
        info[4].Text = c.intName;
        MakeFile(dir + L"\\Source\\qvUtils.pas");
        ASSERT_TRUE(WriteUndoLogFile(dir, With(info, {{folder, 0, 3, L"Source"}, c.row})));
        const WalkResult walk = RunEngine(dir + L"\\uninst.log");
        EXPECT_EQ(walk.End, WalkEnd::StepFailed) << ToUtf8(c.row.Text);
        EXPECT_EQ(walk.StepError, static_cast<DWORD>(ERROR_INVALID_DATA));
        EXPECT_EQ(DirectoryExists(dir + L"\\Source"), c.installDir != dir) << ToUtf8(c.row.Text);
    }
    EXPECT_EQ(FileBytes(canary + L"\\keep.txt"), "canary");
    EXPECT_EQ(FileBytes(system + L"\\canary.dll"), "canary");
    EXPECT_EQ(RegText(HKLM, L"Software\\Canary", L"v"), L"1");
    EXPECT_EQ(RegText(HKLM, otherEntry, L"DisplayName"), L"Other");
    // Whether the share route reached the canary at all here (Wine 8 does not
    // resolve administrative shares; there the rules alone are under test).
    std::printf("%s\n", PathExists(unc + L"\\keep.txt") ? "the share reaches the canary" : "no share route here");

    // The log's folder is compared as a full, long path in any case and spelling.
    const std::wstring cwd = L"C:\\Crafted";
    SetCurrentDirectoryW(cwd.c_str());
    EXPECT_TRUE(MakeUndoScope(L"uninst.log", L"c:\\CRAFTED\\", L"qvlLib").InstallDirHoldsLog);
    EXPECT_TRUE(MakeUndoScope(L"C:\\Crafted\\Source\\..\\uninst.log", L"C:\\Crafted/", L"qvlLib").InstallDirHoldsLog);
    EXPECT_FALSE(MakeUndoScope(L"uninst.log", L"Crafted", L"qvlLib").InstallDirHoldsLog);
    EXPECT_FALSE(MakeUndoScope(L"uninst.log", L"C:\\Crafted\\Source", L"qvlLib").InstallDirHoldsLog);
    SetCurrentDirectoryW(L"C:\\");
}

// The next install protects an existing folder only when the previous one's
// log says that it made the folder.
TEST(Deinstall, TheLogTellsWhetherTheInstallMadeItsFolder) {
    const std::wstring dir = L"C:\\Made";
    const uint32_t folder = RowKind::CreateDir | RowFlag::Undo;
    const struct {
        std::vector<LogRow> rows;
        bool made;
    } logs[] = {
        {{{folder, 0, 3, L""}, {folder, 0, 3, L"Source"}}, true},
        {{{folder, DirExistedBefore, 3, L""}, {folder, 0, 3, L"Source"}}, false},
        {{{folder, 0, 3, L"Source"}, {folder, 0, 2, L""}}, false},
        {{}, false},
    };
    for (const auto& log : logs) {
        ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), log.rows)));
        EXPECT_EQ(LogCreatedInstallFolder(FileBytes(dir + L"\\uninst.log")), log.made) << log.rows.size();
    }
    EXPECT_FALSE(LogCreatedInstallFolder("UNQMV0"));
}

// Every stored number: the class the descriptor gives a kind is the one its
// number carries (copy-only mode and the log rely on both), and a number that
// names no kind shows nothing and undoes nothing.
TEST(Deinstall, RowKindDescriptorsAgreeWithTheStoredNumbers) {
    for (uint32_t n = 0; n <= 0xFFFF; ++n) {
        const RowKindInfo info = Describe(static_cast<RowKind>(n));
        ASSERT_EQ(info.Class, ClassOfKindNumber(static_cast<uint16_t>(n))) << std::hex << n;
        if (std::string(info.LogName) != "Other") continue;
        EXPECT_TRUE(!info.Caption && !info.UndoStatus && info.Module == ChangeModule::None) << std::hex << n;
    }
}

TEST(Deinstall, HelpBatchRunsFromTheHelpFolderAndAMissingOneFailsTheWalkAfterTheRest) {
    const std::wstring dir = L"C:\\Help Test";
    MakeFile(dir + L"\\help\\help_unreg.bat", "@echo off\r\necho done>unreg.txt\r\n");
    SetCurrentDirectoryW(L"C:\\");
    ASSERT_TRUE(WriteUndoLogFile(
        dir, With(ProductInfoRows(dir), {
                                            {RowKind::SetIde | RowFlag::Undo, 5, 0, L"before"},
                                            {RowKind::RunInstallFile | RowFlag::Undo, 0, 0, L"help\\help_reg.bat"},
                                        })));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_TRUE(FileExists(dir + L"\\help\\unreg.txt"));
    EXPECT_EQ(lastWalk.IdeFolder, L"before");
    // The process's own current folder comes back, so the install folder stays removable.
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    EXPECT_EQ(std::wstring(cwd), L"C:\\");

    // Without the batch file the walk still undoes what comes before it in the
    // log, then reports the failure: never success.
    DeleteFileW((dir + L"\\help\\help_unreg.bat").c_str());
    const WalkResult walk = RunEngine(dir + L"\\uninst.log");
    EXPECT_EQ(walk.End, WalkEnd::StepFailed);
    EXPECT_EQ(walk.StepError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(lastWalk.IdeFolder, L"before");
}

// A link that the user put inside the install folder (here Demos\Mine, to
// their own projects) goes with the folder; what it leads to stays whole.
TEST(Deinstall, RemovesFolderLinksWithoutEnteringThem) {
    const std::wstring dir = L"C:\\LinkInstall", outside = L"C:\\MyProjects";
    MakeFile(dir + L"\\Demos\\demo.dpr");
    MakeFile(outside + L"\\keep.pas", "mine");
    MakeFile(outside + L"\\Sub\\deep.pas", "mine too");
    if (!MakeHostFolderLink(dir + L"\\Demos\\Mine", outside) || !MakeHostFolderLink(dir + L"\\Linked", outside))
        GTEST_SKIP() << "no folder links can be made here";
    ASSERT_TRUE(FileExists(dir + L"\\Demos\\Mine\\keep.pas")) << "the link leads to the user's files";
    ASSERT_TRUE(WriteUndoLogFile(
        dir, With(ProductInfoRows(dir),
                  {
                      {RowKind::CreateDir | RowFlag::Undo, 0, 3, L""},
                      {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Linked"},  // recorded, and made a link later
                      {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Demos"},
                  })));
    const WalkEnd end = RunEngine(dir + L"\\uninst.log").End;
    EXPECT_EQ(FileBytes(outside + L"\\keep.pas"), "mine");
    EXPECT_EQ(FileBytes(outside + L"\\Sub\\deep.pas"), "mine too");
    // Windows removes the links themselves; Wine 8 cannot remove a host link
    // through the Win32 calls, so here they stay, still leading to the files,
    // and keep the folder: that step failed.
    EXPECT_EQ(end, FileExists(dir + L"\\Linked\\keep.pas") ? WalkEnd::StepFailed : WalkEnd::Complete);
    EXPECT_FALSE(FileExists(dir + L"\\Demos\\demo.dpr"));
    EXPECT_FALSE(FileExists(dir + L"\\uninst.log"));
}

TEST(Deinstall, DamagedRecordStopsTheWalkWithAFailure) {
    const std::wstring dir = L"C:\\Damaged";
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), {
                                                                     {RowKind::SetIde | RowFlag::Undo, 4, 0, L"early"},
                                                                     {RowKind::SetIde | RowFlag::Undo, 5, 0, L"middle"},
                                                                     {RowKind::SetIde | RowFlag::Undo, 6, 0, L"late"},
                                                                 })));
    std::string bytes = FileBytes(dir + L"\\uninst.log");
    // Break the trailing length of the middle record: the walk from the end
    // undoes "late", then meets the damage and leaves "early" alone.
    const size_t lateSize = 16 + 4, middleEnd = bytes.size() - lateSize;
    bytes[middleEnd - 2] = static_cast<char>(0x7F);
    MakeFile(dir + L"\\uninst.log", bytes);
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Damaged);
    EXPECT_EQ(lastWalk.IdeFolder, L"late");
    // A truncated log fails as well, without reading past its end.
    MakeFile(dir + L"\\uninst.log", bytes.substr(0, bytes.size() - 3));
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Damaged);
    // Damage inside the information block, in a log without direction marker.
    std::string forward = "UNQMV02" + EncodeUndoRecord(RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductName),
                                                       0, "Tessel library");
    forward.back() = 0x7F;
    forward += EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 3, 0, "x");
    MakeFile(dir + L"\\forward.log", forward);
    EXPECT_EQ(RunEngine(dir + L"\\forward.log").End, WalkEnd::Damaged);
    // A torn record behind it is no damage: it was never a change.
    forward = forward.substr(0, 7 + 30) + EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 3, 0, "x").substr(0, 10);
    forward[7 + 30 - 1] = 0;
    MakeFile(dir + L"\\forward.log", forward);
    const WalkResult torn = RunEngine(dir + L"\\forward.log");
    EXPECT_EQ(torn.End, WalkEnd::Complete);
    EXPECT_TRUE(torn.TornTail);
}

// Every call the engine makes on its progress, in order.
struct RecordingProgress final : tessel::changes::UninstallProgress {
    std::vector<std::wstring> calls;
    size_t total = 0, stepped = 0;
    void Begin(size_t size) override {
        total = size;
        calls.push_back(L"begin");
    }
    void Status(const std::wstring& text) override { calls.push_back(L"status " + text); }
    void Step(size_t size) override {
        stepped += size;
        calls.push_back(L"step");
    }
    void End() override { calls.push_back(L"end"); }
};

TEST(Deinstall, ReportsEveryRecordToItsProgressAndWaitsForNothing) {
    const std::wstring dir = L"C:\\ProgressRun";
    const std::vector<LogRow> changes = WatchedWalkRows(L"Software\\Veltrane\\Progress test");
    const size_t changeBytes = LogBytes(changes);

    // The engine itself never waits: 20 records would take a second when paced.
    std::vector<LogRow> many(20, LogRow{RowKind::SetIde | RowFlag::Undo, 7, 0, L"Delphi6"});
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), many)));
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunEngine(dir + L"\\uninst.log").End, WalkEnd::Complete);
    EXPECT_LT(GetTickCount() - start, 600u);

    // Walked backward: the kept key is skipped first; a kind without a status
    // text repeats the last one (none yet); every record is a step, skipped
    // ones included, so the steps add up to the total.
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    UninstallEngine engine;
    engine.PartialUninstall = true;
    ASSERT_EQ(engine.Load(dir + L"\\uninst.log"), UndoLogLoad::Loaded);
    RecordingProgress progress;
    EXPECT_EQ(engine.Undo(progress).End, WalkEnd::Complete);
    const std::vector<std::wstring> expected = {L"begin", L"status Skipping",           L"step", L"status ",
                                                L"step",  L"status Removing directory", L"step", L"end"};
    EXPECT_EQ(progress.calls, expected);
    EXPECT_EQ(progress.total, changeBytes);
    EXPECT_EQ(progress.stepped, changeBytes);

    // A damaged log ends the walk early, and the progress still hears the end.
    ASSERT_TRUE(WriteUndoLogFile(dir, With(ProductInfoRows(dir), changes)));
    std::string bytes = FileBytes(dir + L"\\uninst.log");
    bytes[bytes.size() - 1] = 0x55;
    MakeFile(dir + L"\\uninst.log", bytes);
    ASSERT_EQ(engine.Load(dir + L"\\uninst.log"), UndoLogLoad::Loaded);
    RecordingProgress failed;
    EXPECT_EQ(engine.Undo(failed).End, WalkEnd::Damaged);
    EXPECT_EQ(failed.calls, (std::vector<std::wstring>{L"begin", L"end"}));
}
