// Registry, folder, file, process and text helpers against Wine's real
// registry and file system (each test program runs in a prefix of its own).
#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/ProcessGlobals.h"
#include "common/DirectoryListing.h"
#include "common/DllSearch.h"
#include "common/FolderSecurity.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/RowKinds.h"
#include "common/RunningIdes.h"
#include "common/Files.h"
#include "common/Payload.h"
#include "common/Processes.h"
#include "common/Registry.h"
#include "common/ShellFolders.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/VersionResource.h"
#include "common/UndoLogFormat.h"
#include "standin/Machine.h"
#include "support/TestFiles.h"

using namespace tessel::common;

namespace {

bool SetRaw(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    UniqueHKey h;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, h.put(), nullptr)) return false;
    return RegSetValueExW(h.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == 0;
}

// The numbers of IDE indexes, for comparing with expected ones.
std::vector<int> Values(const std::vector<IdeIndex>& indexes) {
    std::vector<int> values;
    for (IdeIndex index : indexes) values.push_back(index.Value);
    return values;
}

}  // namespace

TEST(CreateDirectoryPath, CreatesEveryMissingParent) {
    EXPECT_EQ(CreateDirectoryPath(L"C:\\utmk\\X\\Y\\"), 0u);
    EXPECT_TRUE(DirectoryExists(L"C:\\utmk\\X"));
    EXPECT_TRUE(DirectoryExists(L"C:\\utmk\\X\\Y"));
    // Running again meets only existing folders.
    EXPECT_EQ(CreateDirectoryPath(L"C:\\utmk\\X\\Y"), 0u);
    // Forward slashes separate too.
    EXPECT_EQ(CreateDirectoryPath(L"C:/utmk/S/T"), 0u);
    EXPECT_TRUE(DirectoryExists(L"C:\\utmk\\S\\T"));
    // A bare drive creates nothing and succeeds, with or without its separator.
    EXPECT_EQ(CreateDirectoryPath(L"C:"), 0u);
    EXPECT_EQ(CreateDirectoryPath(L"C:\\"), 0u);
}

TEST(CreateDirectoryPath, RefusesEmptyRootRelativeAndOverlongPaths) {
    EXPECT_EQ(CreateDirectoryPath(L""), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(CreateDirectoryPath(L"\\utroot\\a"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    // 262 characters: refused as a whole, nothing of it is created.
    std::wstring longPath = L"C:\\utlong\\" + std::wstring(252, L'a');
    ASSERT_EQ(longPath.size(), 262u);
    EXPECT_EQ(CreateDirectoryPath(longPath), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(PathExists(L"C:\\utlong"));
}

TEST(CreateDirectoryPath, FailsBelowAComponentThatIsAFile) {
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utfile"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utfile\\plain", "x"), 0u);
    // The file itself passes as "already exists"; the next component fails.
    EXPECT_EQ(CreateDirectoryPath(L"C:\\utfile\\plain"), 0u);
    EXPECT_NE(CreateDirectoryPath(L"C:\\utfile\\plain\\sub"), 0u);
    EXPECT_FALSE(DirectoryExists(L"C:\\utfile\\plain"));
}

TEST(DeleteDirectoryTree, DeletesEverythingOrReportsWhatStayed) {
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utdel\\a\\b"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utdel\\f.txt", "1"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utdel\\a\\b\\g.txt", "2"), 0u);
    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utdel", false), 0u);
    EXPECT_FALSE(PathExists(L"C:\\utdel"));

    // Missing folder: nothing to enumerate; the root is not found.
    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utdel", false), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utdel", true), 0u);
}

TEST(DeleteDirectoryTree, ReadOnlyFileStaysAndKeepRootKeepsTheFolder) {
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utro\\sub"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utro\\locked.txt", "keep"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utro\\sub\\free.txt", "go"), 0u);
    ASSERT_TRUE(SetFileAttributesW(L"C:\\utro\\locked.txt", FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utro", true), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(PathExists(L"C:\\utro\\locked.txt"));
    EXPECT_FALSE(PathExists(L"C:\\utro\\sub"));
    EXPECT_TRUE(DirectoryExists(L"C:\\utro"));

    // Without KeepRoot the folder cannot go either, because the file is still in it.
    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utro", false), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    SetFileAttributesW(L"C:\\utro\\locked.txt", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utro", false), 0u);
}

TEST(DeleteDirectoryTree, LeavesFoldersWhoseNameStartsWithADot) {
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utdot\\.hidden"), 0u);
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utdot\\plain"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utdot\\.hidden\\x", "x"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utdot\\.dotfile", "y"), 0u);  // files with a dot do go
    EXPECT_EQ(DeleteDirectoryTree(L"C:\\utdot", false), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(PathExists(L"C:\\utdot\\.hidden\\x"));
    EXPECT_FALSE(PathExists(L"C:\\utdot\\plain"));
    EXPECT_FALSE(PathExists(L"C:\\utdot\\.dotfile"));
}

// Links to folders are removed, never entered; files and links to files are
// deleted (which removes the link only); dot folders stay as before.
TEST(DeleteDirectoryTree, DecidesPerEntryAndNeverEntersALink) {
    const struct {
        DWORD attrs;
        const wchar_t* name;
        TreeEntry action;
    } cases[] = {
        {FILE_ATTRIBUTE_DIRECTORY, L"Demos", TreeEntry::Recurse},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, L"Mine", TreeEntry::RemoveLink},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY, L"Mount",
         TreeEntry::RemoveLink},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, L".link", TreeEntry::Skip},
        {FILE_ATTRIBUTE_DIRECTORY, L"..", TreeEntry::Skip},
        {FILE_ATTRIBUTE_ARCHIVE, L"a.pas", TreeEntry::RemoveFile},
        {FILE_ATTRIBUTE_REPARSE_POINT, L"filelink.pas", TreeEntry::RemoveFile},
    };
    for (const auto& c : cases) EXPECT_EQ(TreeEntryAction(c.attrs, c.name), c.action) << c.attrs;
}

TEST(Registry, StringsRoundTripAndOnlyPlainStringsAreRead) {
    const std::wstring key = L"Software\\UtReg\\Str";
    std::wstring v = L"stale";
    EXPECT_NE(0u, ReadRegString(HKEY_CURRENT_USER, key, L"none", v));
    EXPECT_TRUE(v.empty());

    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, key, L"text", L"C:\\Some Path"));
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, L"text", v));
    EXPECT_EQ(v, L"C:\\Some Path");
    // Stored with its terminating zero: 2 x length + 2 bytes.
    {
        UniqueHKey h;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, h.put()), 0);
        DWORD type = 0, size = 0;
        ASSERT_EQ(RegQueryValueExW(h.get(), L"text", nullptr, &type, nullptr, &size), 0);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(size, 2u * 12 + 2);
    }

    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, key, L"empty", L""));
    v = L"stale";
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, L"empty", v));
    EXPECT_EQ(v, L"");

    // A zero-byte REG_SZ reads as empty too.
    ASSERT_TRUE(SetRaw(HKEY_CURRENT_USER, key, L"zero", REG_SZ, L"", 0));
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, L"zero", v));
    EXPECT_EQ(v, L"");

    // Written without its terminating zero: no character is lost.
    ASSERT_TRUE(SetRaw(HKEY_CURRENT_USER, key, L"bare", REG_SZ, L"abc", 6));
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, L"bare", v));
    EXPECT_EQ(v, L"abc");

    const wchar_t expand[] = L"%windir%\\x";
    ASSERT_TRUE(SetRaw(HKEY_CURRENT_USER, key, L"exp", REG_EXPAND_SZ, expand, sizeof(expand)));
    v = L"stale";
    EXPECT_NE(0u, ReadRegString(HKEY_CURRENT_USER, key, L"exp", v));
    EXPECT_TRUE(v.empty());
}

TEST(Registry, IntegersReadAtMostFourBytes) {
    const std::wstring key = L"Software\\UtReg\\Int";
    DWORD v = 7;
    EXPECT_NE(0u, ReadRegInteger(HKEY_CURRENT_USER, key, L"none", v));
    EXPECT_EQ(v, 0u);

    ASSERT_EQ(0u, WriteRegInteger(HKEY_CURRENT_USER, key, L"n", 0x12345678));
    EXPECT_EQ(0u, ReadRegInteger(HKEY_CURRENT_USER, key, L"n", v));
    EXPECT_EQ(v, 0x12345678u);

    // A shorter value of another type fills the low bytes.
    const BYTE two[] = {0x34, 0x12};
    ASSERT_TRUE(SetRaw(HKEY_CURRENT_USER, key, L"short", REG_BINARY, two, 2));
    v = 0xFFFFFFFF;
    EXPECT_EQ(0u, ReadRegInteger(HKEY_CURRENT_USER, key, L"short", v));
    EXPECT_EQ(v, 0x1234u);

    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(SetRaw(HKEY_CURRENT_USER, key, L"long", REG_BINARY, eight, 8));
    EXPECT_NE(0u, ReadRegInteger(HKEY_CURRENT_USER, key, L"long", v));
    EXPECT_EQ(v, 0u);
}

TEST(Registry, KeysAndValuesAreCreatedAndDeleted) {
    EXPECT_EQ(0u, CreateRegKey(HKEY_CURRENT_USER, L"Software\\UtReg\\New\\Deep"));
    EXPECT_EQ(0u, CreateRegKey(HKEY_CURRENT_USER, L"Software\\UtReg\\New\\Deep"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\UtReg\\New\\Deep"));

    ASSERT_EQ(0u, WriteRegInteger(HKEY_CURRENT_USER, L"Software\\UtReg\\New", L"v", 1));
    EXPECT_EQ(0u, DeleteRegValue(HKEY_CURRENT_USER, L"Software\\UtReg\\New", L"v"));
    EXPECT_NE(0u, DeleteRegValue(HKEY_CURRENT_USER, L"Software\\UtReg\\New", L"v"));
    EXPECT_NE(0u, DeleteRegValue(HKEY_CURRENT_USER, L"Software\\UtReg\\Missing", L"v"));
}

TEST(DeleteRegKey, RemovesTheBranchAndAncestorsThatHeldNothingElse) {
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\UtA\\B\\C\\D", L"x", L"1"));
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\UtA\\B", L"y", L"2"));
    EXPECT_EQ(0u, DeleteRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtA\\B"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\UtA\\B"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\UtA"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Software"));

    EXPECT_NE(0u, DeleteRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtA\\B"));
}

TEST(DeleteRegKey, StopsAtAnAncestorWithAValueOrAnotherSubKey) {
    // Pruning climbs through an empty parent and stops at the one with a value.
    ASSERT_EQ(0u, WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\UtV", L"keep", L"1"));
    ASSERT_EQ(0u, CreateRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtV\\Mid\\Leaf"));
    EXPECT_EQ(0u, DeleteRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtV\\Mid\\Leaf"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\UtV\\Mid"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\UtV"));

    ASSERT_EQ(0u, CreateRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtS\\B"));
    ASSERT_EQ(0u, CreateRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtS\\Other"));
    EXPECT_EQ(0u, DeleteRegKey(HKEY_LOCAL_MACHINE, L"Software\\UtS\\B"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\UtS\\B"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\UtS\\Other"));
}

TEST(DeleteRegKey, APathWithoutBackslashIsOnlyEmptied) {
    ASSERT_EQ(0u, WriteRegString(HKEY_CURRENT_USER, L"UtTop", L"v", L"1"));
    ASSERT_EQ(0u, CreateRegKey(HKEY_CURRENT_USER, L"UtTop\\X\\Y"));
    EXPECT_EQ(0u, DeleteRegKey(HKEY_CURRENT_USER, L"UtTop"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"UtTop\\X"));
    std::wstring v;
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, L"UtTop", L"v", v));
    EXPECT_EQ(v, L"1");
}

// The name lists of an open key: empty and odd names (the default value, names
// beyond the first buffer, non-ASCII), then the sub-keys deleted from the same key.
TEST(RegKey, ListsSubKeysAndValueNamesOfTheOpenKey) {
    struct Case {
        std::wstring key;
        std::set<std::wstring> subKeys, values;
    };
    const Case cases[] = {
        {L"Software\\UtList\\Empty", {}, {}},
        {L"Software\\UtList\\Mixed",
         {L"B\u00e4r", L"\u6f22\u5b57", L"A", L"Z", std::wstring(255, L'k')},
         {L"", L"Gr\u00fc\u00dfe", std::wstring(300, L'v')}},
    };
    for (const Case& c : cases) {
        RegKey key;
        ASSERT_EQ(0u, key.Create(HKEY_CURRENT_USER, c.key, KEY_ALL_ACCESS));
        for (const std::wstring& sub : c.subKeys) ASSERT_EQ(0u, CreateRegKey(HKEY_CURRENT_USER, c.key + L"\\" + sub + L"\\Deep"));
        for (const std::wstring& value : c.values) ASSERT_EQ(0u, key.WriteInteger(value, 1));
        RegNames subKeys = key.SubKeys(), values = key.ValueNames();
        EXPECT_EQ(std::set<std::wstring>(subKeys.begin(), subKeys.end()), c.subKeys) << ToUtf8(c.key);
        EXPECT_EQ(std::set<std::wstring>(values.begin(), values.end()), c.values) << ToUtf8(c.key);
        EXPECT_EQ(subKeys.error() | values.error(), 0u);
        // Deleting below the key it lists: none may be skipped as the indexes shift.
        EXPECT_EQ(0u, key.DeleteSubKeys());
        RegNames left = key.SubKeys();
        EXPECT_EQ(left.begin(), left.end()) << ToUtf8(c.key);
    }
    // A key that is not there opens as missing and lists nothing, saying why.
    RegKey missing;
    EXPECT_EQ(missing.Open(HKEY_CURRENT_USER, L"Software\\UtList\\Missing", KEY_READ),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    RegNames none = missing.ValueNames();
    EXPECT_EQ(none.begin(), none.end());
    EXPECT_NE(none.error(), 0u);
}

TEST(RunAndWait, RunsAProgramWhosePathHoldsABlank) {
    // A decoy where an unquoted command line would resolve first ("C:\Program
    // Files\Tool" + ".exe"): it ends at once and writes nothing.
    ASSERT_EQ(CreateDirectoryPath(L"C:\\Program Files\\Tool Dir"), 0u);
    ASSERT_TRUE(CopyFileW(L"C:\\windows\\system32\\hostname.exe", L"C:\\Program Files\\Tool.exe", FALSE));
    ASSERT_TRUE(CopyFileW(L"C:\\windows\\system32\\cmd.exe", L"C:\\Program Files\\Tool Dir\\t.exe", FALSE));

    EXPECT_EQ(RunAndWait(L"C:\\Program Files\\Tool Dir\\t.exe", L"/c echo ran>C:\\utran.txt", L""), 0u);
    // The file is there as soon as the call returns: it waited.
    std::string bytes;
    ASSERT_EQ(0u, ReadFileBytes(L"C:\\utran.txt", bytes));
    EXPECT_EQ(bytes.substr(0, 3), "ran");

    // Already quoted: passed as it is.
    EXPECT_EQ(RunAndWait(L"\"C:\\Program Files\\Tool Dir\\t.exe\"", L"/c echo again>C:\\utran2.txt", L""), 0u);
    EXPECT_TRUE(PathExists(L"C:\\utran2.txt"));

    EXPECT_EQ(RunAndWait(L"C:\\utnowhere\\missing.exe", L"", L""), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(RunAndWait, RunsBatchFilesInFoldersWithCommandCharacters) {
    // Through "cmd.exe /d /s /c" (the help registration runs one from the install
    // folder), in folders whose names break unquoted or half-quoted command lines.
    // Wine's cmd ignores AutoRun; CommandLineFor's table checks the /d.
    for (const wchar_t* dir : {L"C:\\Program Files\\Tool Dir", L"C:\\ut (x86)\\a&b", L"C:\\ut;x,y=z^"}) {
        SCOPED_TRACE(dir);
        ASSERT_EQ(CreateDirectoryPath(dir), 0u);
        const std::wstring batch = std::wstring(dir) + L"\\mark.bat";
        ASSERT_EQ(WriteFileBytes(batch, "@echo bat>C:\\utbat.txt\r\n"), 0u);
        DeleteFileW(L"C:\\utbat.txt");
        EXPECT_EQ(RunAndWait(batch, L"", L""), 0u);
        EXPECT_TRUE(PathExists(L"C:\\utbat.txt"));
    }
}

TEST(RunAndWait, StartsInTheWorkingFolderAndStopsWaitingAtTheTimeout) {
    // A batch that writes into its current folder, then loops until the flag goes.
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utwork"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utwork\\flag", "x"), 0u);
    ASSERT_EQ(
        WriteFileBytes(L"C:\\utwork\\wait.bat", "@echo here>where.txt\r\n:w\r\n@if exist C:\\utwork\\flag goto w\r\n"),
        0u);
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunAndWait(L"C:\\utwork\\wait.bat", L"", L"C:\\utwork", 1000), 0u);
    const DWORD waited = GetTickCount() - start;
    DeleteFileW(L"C:\\utwork\\flag");  // the batch ends
    EXPECT_GE(waited, 900u);
    EXPECT_LT(waited, 10000u);
    EXPECT_TRUE(PathExists(L"C:\\utwork\\where.txt"));
}

TEST(RunAndWait, TheHelpBatchFilesKeepAFolderNameHoldingAnAmpersandAsText) {
    // Unquoted, "set QVHELP=%~dp0" would run what follows the "&" in the install folder's name.
    const std::wstring help = L"C:\\ut&mkdir utmade&\\help";
    ASSERT_EQ(CreateDirectoryPath(help), 0u);
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utcwd"), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\utcwd"));
    for (const wchar_t* name : {L"help_reg.bat", L"help_unreg.bat"}) {
        ASSERT_TRUE(CopyFileW((std::wstring(TESSEL_SOURCE_DIR L"/payload/Help/") + name).c_str(),
                              (help + L"\\" + name).c_str(), FALSE));
        EXPECT_EQ(RunAndWait(help + L"\\" + name, L"", L""), 0u);
        EXPECT_FALSE(DirectoryExists(L"C:\\utcwd\\utmade")) << name;
    }
    SetCurrentDirectoryW(L"C:\\");
}

TEST(CommandLineFor, QuotesProgramsAndRunsBatchFilesInCmdWithoutAutoRun) {
    const std::wstring sys = L"C:\\windows\\system32";
    const std::wstring cmd = L"\"C:\\windows\\system32\\cmd.exe\" /d /s /c ";
    const struct {
        const wchar_t* program;
        const wchar_t* params;
        std::wstring line;
    } cases[] = {
        {L"C:\\t\\t.exe", L"/x", L"C:\\t\\t.exe /x"},
        {L"C:\\a b\\t.exe", L"", L"\"C:\\a b\\t.exe\""},
        {L"\"C:\\a b\\t.exe\"", L"-q", L"\"C:\\a b\\t.exe\" -q"},
        {L"C:\\a b\\r.bat", L"", cmd + L"\"\"C:\\a b\\r.bat\"\""},
        {L"\"C:\\x&y\\R.CMD\"", L"-q", cmd + L"\"\"C:\\x&y\\R.CMD\" -q\""},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLineFor(c.program, c.params, sys), c.line) << c.program;
}

TEST(GetFileProductVersion, ReadsTheUninstallersVersion) {
    DWORD ms = 1, ls = 1;
    ASSERT_EQ(0u, GetFileProductVersion(TESSEL_BUILD_DIR L"/uninstaller/unqmv.exe", ms, ls));
    EXPECT_EQ(ms, 0x00040009u);
    EXPECT_EQ(ls, 0u);

    ASSERT_EQ(WriteFileBytes(L"C:\\utnover.txt", "no version here"), 0u);
    EXPECT_NE(0u, GetFileProductVersion(L"C:\\utnover.txt", ms, ls));
    EXPECT_NE(0u, GetFileProductVersion(L"C:\\utnowhere.exe", ms, ls));
}

namespace {

// The product version as the system's resource loader finds it: the reference.
bool LoaderProductVersion(const std::wstring& file, uint32_t& ms, uint32_t& ls) {
    UniqueModule image(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!image) return false;
    HRSRC res = FindResourceW(image.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    HGLOBAL loaded = res ? LoadResource(image.get(), res) : nullptr;
    const auto* block = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!block || SizeofResource(image.get(), res) < 40 + sizeof(VS_FIXEDFILEINFO)) return false;
    const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(block + 40);
    if (fixed->dwSignature != 0xFEEF04BD) return false;
    ms = fixed->dwProductVersionMS;
    ls = fixed->dwProductVersionLS;
    return true;
}

}  // namespace

TEST(ImageProductVersion, AgreesWithTheResourceLoaderOnRealImages) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    // 32- and 64-bit images, with and without a version resource (this test program has none).
    for (const std::wstring& file :
         {std::wstring(TESSEL_BUILD_DIR L"/uninstaller/unqmv.exe"), std::wstring(TESSEL_BUILD_DIR L"/setup/setup.exe"),
          std::wstring(L"C:\\windows\\system32\\kernel32.dll"), std::wstring(L"C:\\windows\\syswow64\\kernel32.dll"),
          std::wstring(self)}) {
        std::string bytes;
        if (ReadFileBytes(file, bytes, FILE_SHARE_READ) != 0) continue;  // no syswow64 in a 32-bit prefix
        uint32_t ms = 1, ls = 1, refMs = 2, refLs = 2;
        const bool expected = LoaderProductVersion(file, refMs, refLs);
        EXPECT_EQ(ImageProductVersion(bytes.data(), bytes.size(), ms, ls), expected) << file;
        if (expected) {
            EXPECT_EQ(std::make_pair(ms, ls), std::make_pair(refMs, refLs)) << file;
        }
    }
}

TEST(ImageProductVersion, RefusesTruncatedAndDamagedImages) {
    std::string image;
    ASSERT_EQ(0u, ReadFileBytes(TESSEL_BUILD_DIR L"/uninstaller/unqmv.exe", image));
    uint32_t ms = 0, ls = 0;
    ASSERT_TRUE(ImageProductVersion(image.data(), image.size(), ms, ls));
    // Cut anywhere: either still the whole version block and the same version,
    // or refused; once refused, every shorter cut is refused too.
    bool refused = false;
    for (size_t cut = image.size(); cut-- > 0;) {
        if (cut % 61 != 0 && cut > 0x400) continue;
        uint32_t cutMs = 0, cutLs = 0;
        const bool read = ImageProductVersion(image.data(), cut, cutMs, cutLs);
        if (read) {
            EXPECT_EQ(std::make_pair(cutMs, cutLs), std::make_pair(ms, ls)) << cut;
        }
        EXPECT_FALSE(read && refused) << cut;
        refused = refused || !read;
    }
    EXPECT_TRUE(refused);
    EXPECT_FALSE(ImageProductVersion(nullptr, 0, ms, ls));

    const auto peOffset = [&] { return *reinterpret_cast<const uint32_t*>(image.data() + 0x3C); };
    const size_t signature = image.rfind(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(signature, std::string::npos);
    const struct {
        const char* what;
        size_t at;
        uint32_t value;
    } damage[] = {
        {"no MZ", 0, 0x0000},
        {"PE header beyond the end", 0x3C, 0x7FFFFFF0},
        {"no PE signature", peOffset(), 0x00004551},
        {"no optional header magic", peOffset() + 24, 0x0000},
        {"fixed info signature", signature, 0xFEEF04BC},
    };
    for (const auto& d : damage) {
        std::string bad = image;
        const size_t width = d.at == 0 ? 2 : 4;
        memcpy(&bad[d.at], &d.value, width);
        EXPECT_FALSE(ImageProductVersion(bad.data(), bad.size(), ms, ls)) << d.what;
    }
}

TEST(SaveResourceToFile, WritesPayloadBytesOfTheSetupProgram) {
    UniqueModule setup(LoadLibraryExW(TESSEL_BUILD_DIR L"/setup/setup.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(setup.valid());
    PayloadModule = setup.get();

    std::string expected, actual;
    ASSERT_EQ(0u, ReadFileBytes(TESSEL_BUILD_DIR L"/uninstaller/unqmv.exe", expected));
    EXPECT_EQ(SaveResourceToFile(28, L"C:\\utunqmv.exe"), 0u);
    ASSERT_EQ(0u, ReadFileBytes(L"C:\\utunqmv.exe", actual));
    EXPECT_TRUE(actual == expected) << "id 28 differs from the built uninstaller";

    // An existing, longer file is replaced and truncated.
    ASSERT_EQ(0u, ReadFileBytes(TESSEL_SOURCE_DIR L"/payload/License.txt", expected));
    EXPECT_EQ(SaveResourceToFile(31, L"C:\\utunqmv.exe"), 0u);
    ASSERT_EQ(0u, ReadFileBytes(L"C:\\utunqmv.exe", actual));
    EXPECT_TRUE(actual == expected);

    const void* data = nullptr;
    DWORD size = 0;
    EXPECT_EQ(0u, LoadPayload(31, data, size));
    EXPECT_EQ(size, expected.size());

    EXPECT_NE(SaveResourceToFile(25, L"C:\\utmissing.bin"), 0u);  // id 25 is not used
    EXPECT_FALSE(PathExists(L"C:\\utmissing.bin"));
    EXPECT_NE(0u, LoadPayload(25, data, size));
    EXPECT_EQ(SaveResourceToFile(31, L"C:\\utnofolder\\x.txt"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    PayloadModule = nullptr;
}

TEST(ReadTextFile, ReadsWholeFilesItCanOpenExclusively) {
    ASSERT_EQ(WriteFileBytes(L"C:\\uttext.txt", std::string("line1\r\nline2\0tail", 17)), 0u);
    EXPECT_EQ(ReadTextFile(L"C:\\uttext.txt"), std::wstring(L"line1\r\nline2\0tail", 17));

    // A file that another handle holds open reads as empty (read-only files are not
    // checked here: Wine running as root opens them for writing anyway).
    {
        UniqueFile holder(
            CreateFileW(L"C:\\uttext.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder.valid());
        EXPECT_EQ(ReadTextFile(L"C:\\uttext.txt"), L"");
        std::string bytes;
        EXPECT_EQ(0u, ReadFileBytes(L"C:\\uttext.txt", bytes, FILE_SHARE_READ));
        EXPECT_EQ(bytes.size(), 17u);
    }
    EXPECT_EQ(ReadTextFile(L"C:\\utnotthere.txt"), L"");

    ASSERT_EQ(WriteFileBytes(L"C:\\utempty.txt", ""), 0u);
    EXPECT_EQ(WriteFileBytes(L"C:\\utnofolder\\f.txt", "x"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    std::string bytes = "x";
    EXPECT_EQ(0u, ReadFileBytes(L"C:\\utempty.txt", bytes));
    EXPECT_TRUE(bytes.empty());
}

// Makes a file of the given size without writing its bytes (sparse on the host).
bool MakeLargeFile(const std::wstring& path, LONGLONG size) {
    UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = size;
    return f.valid() && SetFilePointerEx(f.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(f.get());
}

TEST(ReadFileBytes, AFileTooLargeForMemoryIsAFailureNotAnException) {
    if (sizeof(void*) > 4)
        GTEST_SKIP() << "needs a 32-bit process: a 64-bit one can hold a 2 GB file, and reading it takes minutes";
    // Just below 2 GB: more than a 32-bit process can hold in one piece.
    ASSERT_TRUE(MakeLargeFile(L"C:\\utbig.bin", 0x7FFFFF00));
    std::string bytes = "x";
    EXPECT_NO_THROW(EXPECT_NE(0u, ReadFileBytes(L"C:\\utbig.bin", bytes)));
    EXPECT_TRUE(bytes.empty());
    EXPECT_NO_THROW(EXPECT_EQ(ReadTextFile(L"C:\\utbig.bin"), L""));
    // A gigabyte may be read, but its UTF-16 text does not fit.
    ASSERT_TRUE(MakeLargeFile(L"C:\\utbig.bin", 0x40000000));
    EXPECT_NO_THROW(EXPECT_EQ(ReadTextFile(L"C:\\utbig.bin"), L""));
    DeleteFileW(L"C:\\utbig.bin");
}

TEST(PathExists, CountsFilesFoldersAndMaskMatches) {
    ASSERT_EQ(CreateDirectoryPath(L"C:\\utex\\sub"), 0u);
    ASSERT_EQ(WriteFileBytes(L"C:\\utex\\a.hpp", ""), 0u);
    EXPECT_TRUE(PathExists(L"C:\\utex\\a.hpp"));
    EXPECT_TRUE(PathExists(L"C:\\utex\\*.hpp"));
    EXPECT_FALSE(PathExists(L"C:\\utex\\*.bpl"));
    EXPECT_TRUE(PathExists(L"C:\\utex\\sub"));
    EXPECT_TRUE(DirectoryExists(L"C:\\utex\\sub"));
    EXPECT_FALSE(DirectoryExists(L"C:\\utex\\a.hpp"));
    EXPECT_FALSE(DirectoryExists(L"C:\\utex\\none"));
}

// What a listing hands out for folders, masks and failures: never "." or "..",
// links as links, names beyond ASCII, and the search's own errors.
TEST(DirectoryListing, ListsEntriesOfFoldersAndMasks) {
    const std::wstring root = L"C:\\utlist";
    const std::wstring odd = L"Gr\u00fc\u00dfe \u6f22.pas";
    ASSERT_EQ(CreateDirectoryPath(root + L"\\empty"), 0u);
    ASSERT_EQ(CreateDirectoryPath(root + L"\\full\\sub"), 0u);
    ASSERT_EQ(WriteFileBytes(root + L"\\full\\a.pas", "abc"), 0u);
    ASSERT_EQ(WriteFileBytes(root + L"\\full\\" + odd, ""), 0u);
    const bool linked = MakeHostFolderLink(root + L"\\full\\link", root + L"\\empty");
    constexpr DWORD Dir = FILE_ATTRIBUTE_DIRECTORY, Link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    std::map<std::wstring, DWORD> all = {{L"a.pas", 0}, {odd, 0}, {L"sub", Dir}};
    if (linked) all[L"link"] = Link;  // where the host lets a link be made
    struct Case {
        std::wstring pattern;
        DWORD open;
        std::map<std::wstring, DWORD> entries;  // name -> its folder and link bits
    };
    const Case cases[] = {
        {root + L"\\empty\\*", 0, {}},
        {root + L"\\missing\\*", ERROR_PATH_NOT_FOUND, {}},
        {root + L"\\full\\*.bpl", ERROR_FILE_NOT_FOUND, {}},
        {root + L"\\full\\*.pas", 0, {{L"a.pas", 0}, {odd, 0}}},
        {root + L"\\full\\*", 0, all},
        {root + L"\\full\\sub", 0, {{L"sub", Dir}}},
    };
    for (const Case& c : cases) {
        DirectoryListing listing;
        EXPECT_EQ(listing.Open(c.pattern), c.open) << ToUtf8(c.pattern);
        std::map<std::wstring, DWORD> seen;
        DirectoryEntry entry;
        DWORD next = 0;
        while ((next = listing.Next(entry)) == 0) {
            seen[entry.Name] = entry.Attributes & Link;
            if (entry.Name == L"a.pas") {
                EXPECT_EQ(entry.Size, 3u);
            }
        }
        EXPECT_EQ(next, static_cast<DWORD>(ERROR_NO_MORE_FILES)) << ToUtf8(c.pattern);
        EXPECT_EQ(listing.Next(entry), static_cast<DWORD>(ERROR_NO_MORE_FILES));  // and it stays over
        EXPECT_EQ(seen, c.entries) << ToUtf8(c.pattern);
    }
}

TEST(Text, ConversionsLowerCaseAndMessages) {
    const std::wstring text = L"Gr\u00fc\u00dfe \u20ac";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(text).size(), 11u);
    EXPECT_EQ(FromAnsi(ToAnsi(L"plain ASCII")), L"plain ASCII");
    EXPECT_EQ(ToAnsi(L""), "");
    EXPECT_EQ(LowerWide(L"C:\\Program Files\\\u00c4B"), L"c:\\program files\\\u00e4b");
    EXPECT_EQ(LowerAnsi("DCC32.CFG"), "dcc32.cfg");

    const std::wstring msg = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(msg.empty());
    EXPECT_NE(msg.back(), L'\n');
    EXPECT_NE(msg.back(), L'\r');
}

TEST(GetShellFolder, NamesAnExistingFolder) {
    const std::wstring docs = GetShellFolder(CSIDL_COMMON_DOCUMENTS);
    ASSERT_FALSE(docs.empty());
    EXPECT_TRUE(DirectoryExists(docs));
    EXPECT_EQ(GetShellFolder(0x7F), L"");
}

// An IDE counts as running when one of its four programs below its own root
// runs; the same program name anywhere else does not count, nor an IDE the run
// does not touch.
TEST(RunningIdes, MatchTheIdeProgramsOfTheTouchedIdesOnly) {
    InstalledIdes ides{};
    ides[9].RootDir = L"C:\\Program Files\\Borland\\Delphi7";
    ides[29].RootDir = L"C:\\Studio\\23.0";
    EXPECT_EQ(IdeProgramPaths(ides[29].RootDir),
              (std::vector<std::wstring>{L"C:\\Studio\\23.0\\bin\\delphi32.exe", L"C:\\Studio\\23.0\\bin\\bcb.exe",
                                         L"C:\\Studio\\23.0\\bin\\bds.exe", L"C:\\Studio\\23.0\\bin64\\bds.exe"}));
    EXPECT_TRUE(IdeProgramPaths(L"").empty());
    const uint32_t both = (IdeTable[9].InternalId | IdeTable[29].InternalId).Bits();
    const struct {
        const char* what;
        uint32_t mask;
        std::vector<std::wstring> images;
        std::vector<int> running;
    } cases[] = {
        {"both running, any case",
         both,
         {L"c:\\program files\\borland\\delphi7\\BIN\\DELPHI32.EXE", L"C:\\Studio\\23.0\\bin64\\bds.exe"},
         {9, 29}},
        {"not touched by the run", IdeTable[9].InternalId.Bits(), {L"C:\\Studio\\23.0\\bin\\bds.exe"}, {}},
        {"an IDE program elsewhere",
         both,
         {L"C:\\Other\\bin\\bds.exe", L"C:\\Studio\\23.0\\bds.exe", L"C:\\Studio\\23.0\\bin\\bds.exe.old"},
         {}},
        {"a root that discovery did not find", IdeTable[8].InternalId.Bits(), {L"\\bin\\bcb.exe", L"bin\\bcb.exe"}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.running, Values(RunningIdesAmong(ides, IdeMask(c.mask), c.images))) << c.what;

    // The IDEs an undo log selects; a damaged record ends the reading.
    std::string log = "UNQMV02";
    log += EncodeUndoRecord(RowKind::Info | RowFlag::Undo, 1, 0, "Tessel library");
    log += EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 9, 0, "Delphi7");
    log += EncodeUndoRecord(RowKind::CreateDir | RowFlag::Undo, 29, 3, "a");
    log += EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 99, 0, "beyond the table");
    const std::string beforeDamage = log;
    std::string damaged = EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 29, 0, "RADStudio23");
    damaged[damaged.size() - 2] ^= 1;  // its length behind disagrees with the one in front
    log += damaged + EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 29, 0, "RADStudio23");
    EXPECT_EQ(IdeTable[9].InternalId.Bits(), IdeMaskOfUndoLog(log).Bits());
    const std::string bothSelected =
        beforeDamage + EncodeUndoRecord(RowKind::SetIde | RowFlag::Undo, 29, 0, "RADStudio23");
    EXPECT_EQ((IdeTable[9].InternalId | IdeTable[29].InternalId).Bits(), IdeMaskOfUndoLog(bothSelected).Bits());
    EXPECT_EQ(0u, IdeMaskOfUndoLog("NOTALOG" + beforeDamage.substr(7)).Bits());
}

// Program paths compare by the files they resolve to: a root written with
// short names or on a substituted or mapped drive still finds its running IDE;
// a path that resolves to nothing compares as written.
TEST(RunningIdes, ProgramPathsCompareByTheFilesTheyResolveTo) {
    const std::wstring bds = L"\\\\?\\C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0\\bin\\bds.exe";
    const std::map<std::wstring, std::wstring> resolved = {
        {L"C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0\\bin\\bds.exe", bds},
        {L"C:\\PROGRA~2\\EMBARC~1\\Studio\\23.0\\bin\\bds.exe", bds},
        {L"S:\\23.0\\bin\\bds.exe", bds},  // subst S: "C:\Program Files (x86)\Embarcadero\Studio"
        {L"X:\\bin\\bds.exe", L"\\\\?\\UNC\\build\\ides\\bin\\bds.exe"},  // X: mapped to \\build\ides
        {L"C:\\Other\\bin\\bds.exe", L"\\\\?\\C:\\Other\\bin\\bds.exe"},
    };
    const PathResolver resolve = [&resolved](const std::wstring& path) {
        const auto found = resolved.find(path);
        return found == resolved.end() ? std::wstring() : found->second;
    };
    const struct {
        const wchar_t *a, *b;
        bool same;
    } cases[] = {
        {L"C:\\PROGRA~2\\EMBARC~1\\Studio\\23.0\\bin\\bds.exe",
         L"C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0\\bin\\bds.exe", true},
        {L"S:\\23.0\\bin\\bds.exe", L"C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0\\bin\\bds.exe", true},
        {L"X:\\bin\\bds.exe", L"\\\\build\\ides\\bin\\bds.exe", true},
        {L"X:\\bin\\bds.exe", L"\\\\BUILD\\Ides\\BIN\\bds.exe", true},
        {L"C:\\Gone\\bin\\bds.exe", L"c:\\gone\\BIN\\BDS.EXE", true},
        {L"C:\\Other\\bin\\bds.exe", L"C:\\PROGRA~2\\EMBARC~1\\Studio\\23.0\\bin\\bds.exe", false},
        {L"C:\\Gone\\bin\\bds.exe", L"C:\\Gone\\bin\\bds.exe.old", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameProgramPath(c.a, c.b, resolve), c.same) << ToUtf8(c.a) << " " << ToUtf8(c.b);
    InstalledIdes ides{};
    ides[29].RootDir = L"S:\\23.0";
    EXPECT_EQ(std::vector<int>{29},
              Values(RunningIdesAmong(ides, IdeTable[29].InternalId,
                                      {L"C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0\\bin\\bds.exe"}, resolve)));
}

// The live process list: a stand-in IDE in its IDE's "bin" counts while it runs;
// the same program in a folder that is no IDE's does not.
TEST(RunningIdes, FoundAmongTheProcessesRunningNow) {
    InstalledIdes ides{};
    ides[29].RootDir = L"C:\\RunIde\\RAD Studio 23";
    UniqueKernelHandle ide = StartStandinIde(L"C:\\RunIde\\RAD Studio 23\\bin\\bds.exe");
    UniqueKernelHandle other = StartStandinIde(L"C:\\RunIde\\Elsewhere\\bin\\bds.exe");
    ASSERT_TRUE(ide.valid() && other.valid());
    EXPECT_EQ(std::vector<int>{29}, Values(FindRunningIdes(ides, IdeTable[29].InternalId)));
    // The root as its short name: the same IDE.
    wchar_t shortRoot[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(L"C:\\RunIde\\RAD Studio 23", shortRoot, MAX_PATH), 0u);
    InstalledIdes shortIdes{};
    EXPECT_NE(std::wstring(shortRoot), L"C:\\RunIde\\RAD Studio 23") << "no short name here";
    shortIdes[29].RootDir = shortRoot;
    EXPECT_EQ(std::vector<int>{29}, Values(FindRunningIdes(shortIdes, IdeTable[29].InternalId))) << ToUtf8(shortRoot);
    EXPECT_TRUE(FindRunningIdes(ides, IdeMask()).empty());
    EXPECT_TRUE(EndStandinIde(ide));
    EXPECT_TRUE(FindRunningIdes(ides, IdeTable[29].InternalId).empty());
    EXPECT_TRUE(EndStandinIde(other));
    (void)DeleteDirectoryTree(L"C:\\RunIde", false);
}

// The install folder's own list, and the judge of an existing folder's list:
// lists as Windows gives them to folders (a drive root, Program Files, Wine's
// default) and the ways one can let a non-administrator change the folder.
TEST(FolderSecurity, InstallListIsProtectedAndTheJudgeFindsEveryWayIn) {
    const wchar_t* const self = L"S-1-5-21-1-2-3-1000";
    const wchar_t* const ti = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    UniqueLocal selfSid;
    PSID parsed = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidW(self, &parsed));
    selfSid.reset(parsed);
    const std::wstring programFiles = std::wstring(L"O:") + ti + L"D:PAI(A;;FA;;;" + ti + L")(A;CIIO;GA;;;" + ti +
                                      L")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)"
                                      L"(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)";
    const struct {
        std::wstring sddl;
        bool safe;
    } lists[] = {
        {InstallFolderSddl, true},
        {L"O:BA" + std::wstring(InstallFolderSddl), true},
        {programFiles, true},
        {L"O:S-1-5-21-1-2-3-1000D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-1-2-3-1000)(A;OICI;0x1200a9;;;WD)", true},
        {L"D:(D;;FA;;;WD)(A;;FA;;;BA)", true},
        // A drive root: Authenticated Users may modify and create below it.
        {L"O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;;0x1301bf;;;AU)(A;OICIIO;SDGXGWGR;;;AU)(A;OICI;0x1200a9;;;BU)",
         false},
        {L"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-1-2-3-1001)", false},  // another user
        {L"D:(A;;0x4;;;WD)(A;;FA;;;BA)", false},                          // Everyone may add folders
        {L"D:(A;OICIIO;FW;;;BU)(A;;FA;;;BA)", false},                     // inherited by what the install writes
        {L"D:(A;;WD;;;BU)", false},                                       // Users may rewrite the list
        {L"D:(A;;GW;;;IU)", false},
        {L"D:(A;;SD;;;AU)", false},
        {L"O:BUD:PAI(A;;FA;;;SY)", false},  // the owner may rewrite the list
    };
    for (const auto& list : lists) {
        UniqueLocal descriptor;
        ASSERT_EQ(DescriptorFromSddl(list.sddl.c_str(), descriptor), 0u) << ToUtf8(list.sddl);
        EXPECT_EQ(OnlyAdministratorsCanChange(descriptor.get(), selfSid.get()), list.safe) << ToUtf8(list.sddl);
    }
    // No list at all: anyone may do anything (made by hand: Wine's SDDL parser
    // gives "D:NO_ACCESS_CONTROL" an empty list instead).
    SECURITY_DESCRIPTOR open{};
    ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE));
    EXPECT_FALSE(OnlyAdministratorsCanChange(&open, selfSid.get()));
    // Nothing of a parent's list comes in below the install folder.
    UniqueLocal own;
    ASSERT_EQ(DescriptorFromSddl(InstallFolderSddl, own), 0u);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(own.get(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
}

namespace {
BOOL WINAPI RefusingSetDefault(DWORD) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
}  // namespace

// Without a working SetDefaultDllDirectories the search cannot be limited,
// and the programs are told so rather than run with planting open.
TEST(DllSearch, AMissingOrFailingLimitIsAFailure) {
    EXPECT_EQ(LimitDllSearch(nullptr), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(LimitDllSearch(RefusingSetDefault), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LimitDllSearchToSystemFolder(), 0u);
}
