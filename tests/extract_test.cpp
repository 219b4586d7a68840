// setup.exe /X: the script's folders and payload files, written below the
// current folder, byte for byte, and nothing else anywhere.
#include <gtest/gtest.h>
#include "changes/help/HelpChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"

#include <map>
#include <set>
#include <string>
#include "common/Handles.h"
#include "common/PathText.h"
#include "common/DirectoryListing.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "script/manifest/Manifest.h"
#include "support/PayloadList.h"
#include "support/SetupRun.h"
#include "support/WindowDriver.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::uninstall_entry;
using namespace tessel::script;

namespace {

// What the script's folder and file rows name (relative to the install folder).
void ScriptTargets(std::set<std::wstring>& files, std::map<std::wstring, uint32_t>& ids,
                   std::set<std::wstring>& folders) {
    for (int i = 0; i < ScriptCount(); ++i) {
        const ScriptRow& r = ScriptRowAt(i);
        if (r.Kind() == RowKind::CreateDir && r.Text && *r.Text) folders.insert(r.Text);
        if (r.Kind() == RowKind::ExtractFile) {
            files.insert(r.Text);
            ids[r.Text] = r.Param;
        }
    }
}

DWORD RunExtract(const std::wstring& dir) {
    wd::Program setup;
    if (!wd::Start(setup, SetupExePath(), L"/X", dir)) return GetLastError();
    DWORD code = setup.WaitExit(120000);
    if (code == STILL_ACTIVE) setup.Kill();
    return code;
}

std::string Bytes(const std::wstring& path) {
    std::string bytes;
    EXPECT_EQ(0u, ReadFileBytes(path, bytes, FILE_SHARE_READ)) << "cannot read " << ToUtf8(path);
    return bytes;
}

// The entries directly inside a folder (the Windows folder is too big to walk whole).
std::set<std::wstring> NamesIn(const std::wstring& dir) {
    std::set<std::wstring> names;
    DirectoryListing listing;
    if (listing.Open(JoinPath(dir, L"*")) != 0) return names;
    for (DirectoryEntry entry; listing.Next(entry) == 0;) names.insert(entry.Name);
    return names;
}

bool KeyExists(const std::wstring& key) {
    UniqueHKey k;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

void ExpectExactPayloadTree(const std::wstring& dir) {
    std::set<std::wstring> expectedFiles, expectedFolders;
    std::map<std::wstring, uint32_t> ids;
    ScriptTargets(expectedFiles, ids, expectedFolders);
    std::map<uint32_t, std::wstring> payload = ReadPayloadList();
    ASSERT_FALSE(payload.empty());

    std::set<std::wstring> files, folders;
    ListTree(dir, files, folders);
    EXPECT_EQ(folders, expectedFolders);
    EXPECT_EQ(expectedFiles.size(), 394u);
    for (const std::wstring& f : expectedFiles) {
        if (!files.count(f)) {
            ADD_FAILURE() << "missing " << ToUtf8(f);
            continue;
        }
        EXPECT_TRUE(Bytes(JoinPath(dir, f)) == Bytes(PayloadSourcePath(payload[ids[f]]))) << "differs: " << ToUtf8(f);
    }
    for (const std::wstring& f : files)
        if (!expectedFiles.count(f)) ADD_FAILURE() << "unexpected file " << ToUtf8(f);
}

}  // namespace

TEST(ExtractMode, WritesEveryPayloadFileAndNothingElse) {
    wchar_t windowsBuf[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryW(windowsBuf, MAX_PATH), 0u);
    const std::wstring windows = windowsBuf;
    const std::set<std::wstring> windowsBefore = NamesIn(windows);
    ASSERT_FALSE(windowsBefore.empty());

    const std::wstring dir = FreshFolder(L"extract-empty");
    ASSERT_EQ(RunExtract(dir), 0u);
    ExpectExactPayloadTree(dir);

    // No logs, no uninstaller, nothing in the Windows folder, no registry entries.
    EXPECT_FALSE(PathExists(JoinPath(dir, L"install.log")));
    EXPECT_FALSE(PathExists(JoinPath(dir, L"uninst.log")));
    EXPECT_FALSE(PathExists(JoinPath(dir, L"unqmv.exe")));
    EXPECT_FALSE(PathExists(JoinPath(windows, L"qvTessel.ini")));
    EXPECT_EQ(NamesIn(windows), windowsBefore);
    EXPECT_FALSE(KeyExists(ProductRegKey));
    EXPECT_FALSE(KeyExists(tessel::changes::uninstall_entry::EntryKeyPath()));
    std::wstring helpDir;
    EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, tessel::changes::help::WinHelpKey, L"qvlib.hlp", helpDir));
}

TEST(ExtractMode, ReplacesAnOlderExtractionAndKeepsOtherFiles) {
    const std::wstring dir = FreshFolder(L"extract-older");
    ASSERT_EQ(RunExtract(dir), 0u);

    // An older extraction: changed, shortened and emptied payload files, plus files of the user's.
    const std::wstring changed = JoinPath(dir, L"Source\\qvUtils.pas");
    const std::wstring shortened = JoinPath(dir, L"RADStudio23\\dcc32.cfg");
    const std::wstring emptied = JoinPath(dir, L"Demos\\CBuilder\\IniDemo\\Sample.ini");
    ASSERT_EQ(WriteFileBytes(changed, std::string(100000, 'x')), 0u);
    ASSERT_EQ(WriteFileBytes(shortened, "-LE."), 0u);
    ASSERT_EQ(WriteFileBytes(emptied, ""), 0u);
    const std::wstring mine = JoinPath(dir, L"Source\\MyUnit.pas");
    const std::wstring myFolderFile = JoinPath(dir, L"MyStuff\\notes.txt");
    ASSERT_EQ(WriteFileBytes(mine, "unit MyUnit;"), 0u);
    ASSERT_EQ(CreateDirectoryPath(JoinPath(dir, L"MyStuff")), 0u);
    ASSERT_EQ(WriteFileBytes(myFolderFile, "keep me"), 0u);

    ASSERT_EQ(RunExtract(dir), 0u);
    EXPECT_EQ(Bytes(mine), "unit MyUnit;");
    EXPECT_EQ(Bytes(myFolderFile), "keep me");
    ASSERT_TRUE(DeleteFileW(mine.c_str()));
    ASSERT_EQ(DeleteDirectoryTree(JoinPath(dir, L"MyStuff"), false), 0u);
    ExpectExactPayloadTree(dir);
}

// A folder or file that cannot be written fails the extraction (exit code 1);
// everything else is still written.
TEST(ExtractMode, AFolderThatCannotBeWrittenExitsOne) {
    const std::wstring dir = FreshFolder(L"extract-blocked");
    ASSERT_EQ(WriteFileBytes(JoinPath(dir, L"Source"), "a file where the folder goes"), 0u);
    EXPECT_EQ(RunExtract(dir), 1u);
    EXPECT_TRUE(PathExists(JoinPath(dir, L"Readme.txt")));
    EXPECT_EQ(Bytes(JoinPath(dir, L"Source")), "a file where the folder goes");
}
