// IDE discovery and location resolution against stand-in machines laid out in
// this test program's own Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "common/IdeDiscovery.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/ShellFolders.h"
#include "common/TextConversion.h"
#include "standin/Machine.h"
#include "support/TestFiles.h"

using namespace tessel::common;

namespace {

constexpr int kDelphi7 = 9, kCBuilder6 = 8, kXE2 = 16, kStudio11 = 28, kStudio12 = 29, kStudio13 = 30, kDelphi2005 = 10;

void SetRegValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const std::wstring& data) {
    UniqueHKey k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, k.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(k.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                                            DWORD((data.size() + 1) * sizeof(wchar_t))));
}

std::wstring Key(int ide) { return IdeTable[ide].RegKey; }
std::wstring EnvKey(int ide) { return Key(ide) + L"\\Environment Variables"; }
std::wstring Docs() { return GetShellFolder(CSIDL_COMMON_DOCUMENTS); }

class Discovery : public testing::Test {
protected:
    void SetUp() override { ClearMachine(); }
    void TearDown() override { ClearMachine(); }
    // Runs discovery on the machine as it is now.
    void Find() { found_ = FindInstalledIdes(); }
    int CountFound() const {
        int n = 0;
        for (int i = 1; i <= IdeCount; ++i) n += found_[i].Exists ? 1 : 0;
        return n;
    }
    // Makes ide the current IDE of the location context, with the root discovery found.
    void Select(int ide) { SelectIde(at_, found_, IdeIndex(ide), at_.IdeFolder); }
    InstalledIdes found_;
    // What the location codes resolve against, and a short name for its install folder.
    tessel::common::LocationContext at_;
    std::wstring& InstallDir = at_.InstallDir;
};

TEST_F(Discovery, EmptyMachineAndFullMachine) {
    Find();
    EXPECT_EQ(0, CountFound());

    std::vector<int> all;
    for (int i = 1; i <= IdeCount; ++i) all.push_back(i);
    ASSERT_TRUE(LayOutMachine(all));
    Find();
    for (int i = 1; i <= IdeCount; ++i) {
        EXPECT_TRUE(found_[i].Exists) << IdeTable[i].Name;
        EXPECT_EQ(StandinRootDir(i), found_[i].RootDir) << IdeTable[i].Name;
    }
    EXPECT_EQ(IdeCount, CountFound());
    EXPECT_EQ(L"C:\\Program Files (x86)\\Embarcadero\\Studio\\23.0", found_[kStudio12].RootDir);
    EXPECT_EQ(L"Software\\Embarcadero\\BDS\\37.0", Key(kStudio13));
    EXPECT_EQ(L"C:\\Program Files (x86)\\Embarcadero\\Studio\\37.0", found_[kStudio13].RootDir);
    // Without "App x64" no IDE has its 64-bit IDE.
    for (int i = 1; i <= IdeCount; ++i) EXPECT_FALSE(found_[i].Has64BitIde) << IdeTable[i].Name;

    // A second run starts from scratch: what is gone is no longer found.
    ClearMachine();
    Find();
    EXPECT_EQ(0, CountFound());
    EXPECT_TRUE(found_[kStudio12].RootDir.empty());
}

TEST_F(Discovery, RootDirValueRules) {
    // Trailing backslashes are dropped; a value of backslashes only leaves nothing.
    ASSERT_TRUE(LayOutIde(kDelphi7));
    SetRegValue(HKEY_LOCAL_MACHINE, Key(kDelphi7), L"RootDir", REG_SZ, StandinRootDir(kDelphi7) + L"\\\\");
    ASSERT_TRUE(LayOutIde(kXE2));
    SetRegValue(HKEY_LOCAL_MACHINE, Key(kXE2), L"RootDir", REG_SZ, L"\\\\\\");
    Find();
    EXPECT_TRUE(found_[kDelphi7].Exists);
    EXPECT_EQ(StandinRootDir(kDelphi7), found_[kDelphi7].RootDir);
    EXPECT_FALSE(found_[kXE2].Exists);
    EXPECT_EQ(L"", found_[kXE2].RootDir);
    EXPECT_EQ(1, CountFound());
}

TEST_F(Discovery, HivesAndValueTypes) {
    MachineOptions perUser;
    perUser.PerUser = true;
    ASSERT_TRUE(LayOutIde(kStudio12, perUser));  // only under HKEY_CURRENT_USER

    // REG_EXPAND_SZ does not count: alone it hides nothing and finds nothing...
    ASSERT_TRUE(LayOutIde(kDelphi7));
    SetRegValue(HKEY_LOCAL_MACHINE, Key(kDelphi7), L"RootDir", REG_EXPAND_SZ, StandinRootDir(kDelphi7));
    // ...and beside a REG_SZ value of the user's, that one is taken.
    ASSERT_TRUE(LayOutIde(kStudio11));
    SetRegValue(HKEY_LOCAL_MACHINE, Key(kStudio11), L"RootDir", REG_EXPAND_SZ, L"C:\\Nowhere");
    SetRegValue(HKEY_CURRENT_USER, Key(kStudio11), L"RootDir", REG_SZ, StandinRootDir(kStudio11));
    // The machine-wide value wins even when it names a folder that is gone.
    ASSERT_TRUE(LayOutIde(kXE2, perUser));
    SetRegValue(HKEY_LOCAL_MACHINE, Key(kXE2), L"RootDir", REG_SZ, L"C:\\Gone\\RAD Studio");

    Find();
    EXPECT_TRUE(found_[kStudio12].Exists);
    EXPECT_EQ(StandinRootDir(kStudio12), found_[kStudio12].RootDir);
    EXPECT_FALSE(found_[kDelphi7].Exists);
    EXPECT_EQ(L"", found_[kDelphi7].RootDir);
    EXPECT_TRUE(found_[kStudio11].Exists);
    EXPECT_EQ(StandinRootDir(kStudio11), found_[kStudio11].RootDir);
    EXPECT_FALSE(found_[kXE2].Exists);
    EXPECT_EQ(L"C:\\Gone\\RAD Studio", found_[kXE2].RootDir);
    // Selected, an IDE that is not usable still names its folder to resolve against.
    Select(kXE2);
    EXPECT_EQ(L"C:\\Gone\\RAD Studio", GetLocationPath(at_, LocationCode::IdeRoot));
}

TEST_F(Discovery, FoldersAndTools) {
    // C++Builder needs make.exe; a dcc32.exe does not stand in for it.
    ASSERT_TRUE(LayOutIde(kCBuilder6));
    const std::wstring bcbBin = JoinPath(StandinRootDir(kCBuilder6), L"bin");
    ASSERT_TRUE(DeleteFileW(JoinPath(bcbBin, L"make.exe").c_str()));
    ASSERT_TRUE(
        CopyFileW(JoinPath(StandinToolsDir(), L"dcc32.exe").c_str(), JoinPath(bcbBin, L"dcc32.exe").c_str(), FALSE));
    // Delphi needs dcc32.exe; dcc64.exe alone is not enough, and is not needed.
    ASSERT_TRUE(LayOutIde(kStudio11));
    ASSERT_TRUE(DeleteFileW(JoinPath(StandinRootDir(kStudio11), L"bin\\dcc32.exe").c_str()));
    MachineOptions no64;
    no64.WithDcc64 = false;
    ASSERT_TRUE(LayOutIde(kStudio12, no64));
    // A root without "bin", and a root that is a file.
    ASSERT_TRUE(LayOutIde(kDelphi7));
    ASSERT_EQ(0u, DeleteDirectoryTree(JoinPath(StandinRootDir(kDelphi7), L"bin"), false));
    SetRegValue(HKEY_CURRENT_USER, Key(kDelphi2005), L"RootDir", REG_SZ, L"C:\\windows\\win.ini");
    // A root given with a blank-free custom folder works like any other.
    MachineOptions custom;
    custom.RootDir = L"C:\\IDE\\XE2";
    ASSERT_TRUE(LayOutIde(kXE2, custom));

    Find();
    EXPECT_FALSE(found_[kCBuilder6].Exists);
    EXPECT_FALSE(found_[kStudio11].Exists);
    EXPECT_TRUE(found_[kStudio12].Exists);
    EXPECT_FALSE(found_[kDelphi7].Exists);
    EXPECT_FALSE(found_[kDelphi2005].Exists);
    EXPECT_TRUE(found_[kXE2].Exists);
    EXPECT_EQ(L"C:\\IDE\\XE2", found_[kXE2].RootDir);
}

// The 64-bit IDE counts only when "App x64" names the root's "bin64\bds.exe"
// and that file is there, and only for the versions that can have one.
TEST_F(Discovery, The64BitIde) {
    const auto bds64 = [](int ide) { return StandinRootDir(ide) + L"\\bin64\\bds.exe"; };
    const struct {
        const char* what;
        int ide;
        bool perUser;
        void (*change)(int ide, const std::wstring& bds64);
        bool expected;
    } cases[] = {
        {"RAD Studio 13", kStudio13, false, nullptr, true},
        {"RAD Studio 12, per user", kStudio12, true, nullptr, true},
        {"the value in other letter case", kStudio13, false,
         [](int ide, const std::wstring& f) {
             SetRegValue(HKEY_LOCAL_MACHINE, Key(ide), L"App x64", REG_SZ, LowerWide(f));
         },
         true},
        {"no bds.exe in bin64", kStudio13, false, [](int, const std::wstring& f) { DeleteFileW(f.c_str()); }, false},
        {"bds.exe is a folder", kStudio12, false,
         [](int, const std::wstring& f) {
             DeleteFileW(f.c_str());
             CreateDirectoryW(f.c_str(), nullptr);
         },
         false},
        {"the value names another program", kStudio13, false,
         [](int ide, const std::wstring&) {
             SetRegValue(HKEY_LOCAL_MACHINE, Key(ide), L"App x64", REG_SZ, StandinRootDir(ide) + L"\\bin\\dcc64.exe");
         },
         false},
        {"REG_EXPAND_SZ value", kStudio13, false,
         [](int ide, const std::wstring& f) {
             SetRegValue(HKEY_LOCAL_MACHINE, Key(ide), L"App x64", REG_EXPAND_SZ, f);
         },
         false},
        {"only the x64 package key, as 12.3 makes it", kStudio12, false,
         [](int ide, const std::wstring& f) {
             (void)DeleteRegValue(HKEY_LOCAL_MACHINE, Key(ide), L"App x64");
             SetRegValue(HKEY_CURRENT_USER, Key(ide) + KnownPackagesX64Key, L"C:\\x.bpl", REG_SZ, L"x");
             (void)f;
         },
         false},
        {"an IDE without dcc32.exe", kStudio13, false,
         [](int ide, const std::wstring&) { DeleteFileW((StandinRootDir(ide) + L"\\bin\\dcc32.exe").c_str()); }, false},
        {"a version without a 64-bit IDE", kStudio11, false,
         [](int ide, const std::wstring& f) {
             CreateDirectoryW((StandinRootDir(ide) + L"\\bin64").c_str(), nullptr);
             CopyFileW(JoinPath(StandinToolsDir(), L"dcc64.exe").c_str(), f.c_str(), FALSE);
             SetRegValue(HKEY_LOCAL_MACHINE, Key(ide), L"App x64", REG_SZ, f);
         },
         false},
    };
    for (const auto& c : cases) {
        ClearMachine();
        MachineOptions options;
        options.PerUser = c.perUser;
        options.With64BitIde = true;
        ASSERT_TRUE(LayOutIde(c.ide, options)) << c.what;
        if (c.change) c.change(c.ide, bds64(c.ide));
        Find();
        EXPECT_EQ(c.expected, found_[c.ide].Has64BitIde) << c.what;
    }
}

TEST_F(Discovery, CommonFolderSources) {
    MachineOptions hklmEnv;
    hklmEnv.EnvVariables = EnvVarPlace::LocalMachine;
    ASSERT_TRUE(LayOutIde(kStudio12, hklmEnv));
    Find();
    Select(kStudio12);
    EXPECT_EQ(StandinCommonDir(kStudio12), GetBdsCommonDir(at_));

    // The user's value comes first and is not expanded.
    SetRegValue(HKEY_CURRENT_USER, EnvKey(kStudio12), L"BDSCOMMONDIR", REG_SZ, L"$(BDSUSERDIR)\\Common");
    EXPECT_EQ(L"$(BDSUSERDIR)\\Common", GetBdsCommonDir(at_));
    // An empty value of the user's hides the machine's; rsvars.bat then tells.
    const std::wstring rsvars = JoinPath(StandinRootDir(kStudio12), L"bin\\rsvars.bat");
    SetRegValue(HKEY_CURRENT_USER, EnvKey(kStudio12), L"BDSCOMMONDIR", REG_SZ, L"");
    ASSERT_TRUE(WriteBytes(
        rsvars,
        "@SET BDS=C:\\X\r\n@set BDSCOMMONDIR=C:\\Lower\r\n@SET BDSCOMMONDIR=C:\\From Rsvars\\12\r\n@SET X=1\r\n"));
    EXPECT_EQ(L"C:\\From Rsvars\\12", GetBdsCommonDir(at_));
    // A REG_EXPAND_SZ value of the user's does not count: the machine's is read.
    SetRegValue(HKEY_CURRENT_USER, EnvKey(kStudio12), L"BDSCOMMONDIR", REG_EXPAND_SZ, L"C:\\Expand");
    EXPECT_EQ(StandinCommonDir(kStudio12), GetBdsCommonDir(at_));

    // Without registry values: the rsvars line must end in a carriage return...
    ASSERT_EQ(0u, DeleteRegKey(HKEY_CURRENT_USER, EnvKey(kStudio12)));
    ASSERT_EQ(0u, DeleteRegKey(HKEY_LOCAL_MACHINE, EnvKey(kStudio12)));
    ASSERT_TRUE(WriteBytes(rsvars, "@SET BDS=C:\\X\r\n@SET BDSCOMMONDIR=C:\\No\\Line\\End"));
    EXPECT_EQ(JoinPath(Docs(), L"Embarcadero\\Studio\\23.0"), GetBdsCommonDir(at_));
    // ...and is found in exact case only.
    ASSERT_TRUE(WriteBytes(rsvars, "@Set BDSCOMMONDIR=C:\\Mixed\\Case\r\n"));
    EXPECT_EQ(JoinPath(Docs(), L"Embarcadero\\Studio\\23.0"), GetBdsCommonDir(at_));
    ASSERT_TRUE(WriteBytes(rsvars, "@SET BDSCOMMONDIR=C:\\Bare CR\rnext"));
    EXPECT_EQ(L"C:\\Bare CR", GetBdsCommonDir(at_));

    // The common documents rule for an IDE that has nothing at all.
    Select(kStudio11);
    EXPECT_EQ(JoinPath(Docs(), L"Embarcadero\\Studio\\22.0"), GetBdsCommonDir(at_));
    Select(kDelphi2005);
    EXPECT_EQ(JoinPath(Docs(), L"Borland\\Studio\\3.0"), GetBdsCommonDir(at_));
    Select(kDelphi7);
    EXPECT_EQ(JoinPath(Docs(), L"Borland\\Delphi\\7.0"), GetBdsCommonDir(at_));
    Select(0);
    EXPECT_EQ(L"", GetBdsCommonDir(at_));
    Select(IdeCount + 1);
    EXPECT_EQ(L"", GetBdsCommonDir(at_));
    // The key of RAD Studio 13 gives its folder the same way.
    Select(kStudio13);
    EXPECT_EQ(JoinPath(Docs(), L"Embarcadero\\Studio\\37.0"), GetBdsCommonDir(at_));
}

TEST_F(Discovery, LocationCodes) {
    ASSERT_TRUE(LayOutMachine({7, kStudio12}));
    Find();
    InstallDir = L"C:\\Program Files\\Veltrane\\Tessel";

    // No current IDE: the IDE's folders are empty, the others are not.
    Select(0);
    for (unsigned code : {2u, 4u, 7u, 8u, 0u, 9u, 200u})
        EXPECT_EQ(L"", GetLocationPath(at_, LocationCodeFrom(code))) << code;
    wchar_t windows[MAX_PATH], system[MAX_PATH], temp[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    EXPECT_EQ(windows, GetLocationPath(at_, LocationCode::Windows));
    EXPECT_EQ(system, GetLocationPath(at_, LocationCode::System));
    EXPECT_EQ(temp, GetLocationPath(at_, LocationCode::Temp));
    EXPECT_EQ(L'\\', GetLocationPath(at_, LocationCode::Temp).back());
    EXPECT_EQ(InstallDir, GetLocationPath(at_, LocationCode::Install));
    EXPECT_EQ(L"delphi6.ohi", ResolvePath(at_, LocationCode::IdeHelp, L"delphi6.ohi"));

    // Delphi 6: help folder with its trailing backslash, joined with one backslash.
    Select(7);
    EXPECT_EQ(StandinRootDir(7), GetLocationPath(at_, LocationCode::IdeRoot));
    EXPECT_EQ(StandinRootDir(7) + L"\\Help\\", GetLocationPath(at_, LocationCode::IdeHelp));
    EXPECT_EQ(StandinRootDir(7) + L"\\Help\\delphi6.ohi", ResolvePath(at_, LocationCode::IdeHelp, L"delphi6.ohi"));
    EXPECT_EQ(StandinRootDir(7) + L"\\bin\\dcc32.exe", ResolvePath(at_, LocationCode::IdeRoot, L"bin\\dcc32.exe"));

    Select(kStudio12);
    EXPECT_EQ(StandinCommonDir(kStudio12) + L"\\Bpl", GetLocationPath(at_, LocationCode::Bpl));
    EXPECT_EQ(StandinCommonDir(kStudio12) + L"\\Bpl\\Win64", GetLocationPath(at_, LocationCode::Bpl64));
    EXPECT_EQ(StandinCommonDir(kStudio12) + L"\\Bpl\\qvl290.bpl", ResolvePath(at_, LocationCode::Bpl, L"qvl290.bpl"));
    EXPECT_TRUE(DirectoryExists(GetLocationPath(at_, LocationCode::Bpl64)));

    EXPECT_EQ(L"C:\\Abs\\x.txt", ResolvePath(at_, LocationCode::None, L"C:\\Abs\\x.txt"));
    EXPECT_EQ(L"rel.txt", ResolvePath(at_, LocationCodeFrom(12), L"rel.txt"));
    EXPECT_EQ(InstallDir + L"\\Source\\qvUtils.pas", ResolvePath(at_, LocationCode::Install, L"Source\\qvUtils.pas"));
    EXPECT_EQ(windows + std::wstring(L"\\qvTessel.ini"), ResolvePath({}, LocationCode::Windows, L"qvTessel.ini"));
}

TEST_F(Discovery, InstallSubPaths) {
    InstallDir = L"C:\\Tessel";
    at_.IdeFolder = L"RADStudio15";
    EXPECT_EQ(L"C:\\Tessel", GetInstallSubPath(at_, 0));
    EXPECT_EQ(L"C:\\Tessel\\Source", GetInstallSubPath(at_, 1));
    EXPECT_EQ(L"C:\\Tessel\\RADStudio15", GetInstallSubPath(at_, 2));
    EXPECT_EQ(L"C:\\Tessel\\RADStudio15\\Win32", GetInstallSubPath(at_, 3));
    EXPECT_EQ(L"C:\\Tessel\\RADStudio15\\Win64", GetInstallSubPath(at_, 4));
    EXPECT_EQ(L"C:\\Tessel\\RADStudio15\\Win64x", GetInstallSubPath(at_, 5));
    EXPECT_EQ(GetInstallSubPath(at_, 2), GetInstallSubPath(at_, 130));
    EXPECT_EQ(GetInstallSubPath(at_, 4), GetInstallSubPath(at_, 132));
    for (unsigned code : {6u, 127u, 255u}) EXPECT_EQ(L"", GetInstallSubPath(at_, code)) << code;

    // A folder name with its own leading backslash, and an install folder ending in one.
    at_.IdeFolder = L"\\Delphi3";
    InstallDir = L"C:\\";
    EXPECT_EQ(L"C:\\\\Delphi3", GetInstallSubPath(at_, 2));
    EXPECT_EQ(L"C:\\Source", GetInstallSubPath(at_, 1));
    InstallDir = L"D:\\Lib";
    EXPECT_EQ(L"D:\\Lib\\Delphi3\\Win32", GetInstallSubPath(at_, 3));
}

}  // namespace

// The versions above the table that the "BDS" keys' names give, newest first:
// only "<N>.0" with N above 37, written without leading zeros.
TEST(NewerIdeVersions, FromTheKeyNames) {
    const struct {
        std::vector<std::wstring> names;
        std::vector<uint32_t> versions;
    } cases[] = {
        {{L"23.0", L"37.0"}, {}},
        {{L"38.0", L"23.0", L"40.0", L"39.0"}, {40, 39, 38}},
        {{L"38.0", L"38.0"}, {38}},  // machine-wide and the user's
        {{L"38.1", L"038.0", L"38", L".0", L"3a.0", L"1000.0", L"38.0x", L"999.0"}, {999}},
    };
    for (const auto& c : cases) EXPECT_EQ(NewerBdsVersions(c.names), c.versions) << ToUtf8(c.names.front());
    EXPECT_EQ(IdeKeyOf(IdeIndex(NewerIdeSlot), 38), L"Software\\Embarcadero\\BDS\\38.0");
    EXPECT_EQ(IdeKeyOf(IdeIndex(NewerIdeSlot), 37), L"");
    EXPECT_EQ(IdeKeyOf(IdeIndex(30), 38), L"Software\\Embarcadero\\BDS\\37.0");
}
