// The stand-in IDE tools: what they read, what they build and where, how they can be
// made to fail, crawl or hang, and what they record. The last test builds every
// package of the install script from the real package projects, the way the setup does.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "common/IdeDiscovery.h"
#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/DirectoryListing.h"
#include "common/Files.h"
#include "common/Payload.h"
#include "common/Registry.h"
#include "changes/ActionLogic.h"
#include "changes/packages/PackageChanges.h"
#include "script/manifest/Manifest.h"
#include "standin/Machine.h"
#include "standin/StandinText.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

constexpr int kDelphi3 = 1, kCBuilder6 = 8, kStudio12 = 29;

TEST(StandinText, OptionFiles) {
    CompilerOptions o;
    ApplyCompilerOptions(L"-B\r\n-$D-\r\n-NSSystem;Vcl;Winapi\r\n-LE.\\Win32\r\n-LN.\\Win32\r\n-N0.\\Win32\r\n"
                         L"-U..\\Source\r\n-JL\r\n-NH.\\Win32\r\n-W-SYMBOL_PLATFORM\r\n",
                         o);
    EXPECT_EQ(L".\\Win32", o.packageDir);
    EXPECT_EQ(L".\\Win32", o.dcpDir);
    EXPECT_EQ(L".\\Win32", o.unitDir);  // not "SSystem;…" from -NS
    EXPECT_EQ(L".\\Win32", o.hppDir);
    EXPECT_EQ(L"..\\Source", o.unitPath);
    EXPECT_TRUE(o.cppFiles);

    // A later file overrides; quotes go; -N alone is the unit folder; blanks around lines are fine.
    CompilerOptions p;
    ApplyCompilerOptions(L"-LE.\n-N.\n-J\n", p);
    ApplyCompilerOptions(L"  -LE\"C:\\Out Dir\\Bpl\"  \n-NH..\\Source\nLE.\\ignored\n-JPHNE", p);
    EXPECT_EQ(L"C:\\Out Dir\\Bpl", p.packageDir);
    EXPECT_EQ(L".", p.unitDir);
    EXPECT_EQ(L"..\\Source", p.hppDir);
    EXPECT_EQ(L"", p.dcpDir);
    EXPECT_TRUE(p.cppFiles);
    CompilerOptions q;
    ApplyCompilerOptions(L"-J\n-JLX\n-jf:coff\n", q);
    EXPECT_FALSE(q.cppFiles);
    EXPECT_FALSE(q.coff);
    // The Modern toolchain's build: COFF C++ files, import and static libraries to folders of their own.
    ApplyCompilerOptions(L"-JL\n-jf:coffi\n-NB.\\Win64x\n-NO.\\Win64x\n", q);
    EXPECT_TRUE(q.cppFiles && q.coff);
    EXPECT_EQ(L".\\Win64x", q.bpiDir);
    EXPECT_EQ(L".\\Win64x", q.objDir);
}

TEST(StandinText, PackageProjects) {
    PackageProject p;
    ASSERT_TRUE(ParsePackageProject(
        L"{ Tessel library }\r\n(* run-time *)\r\n// built by the setup\r\nPackage qvl290;\r\n{$R *.res}\r\n"
        L"{$DESCRIPTION 'it''s a package; contains nothing'}\r\nrequires\r\n  rtl,\r\n  vcl;\r\n"
        L"contains\r\n  qvConsts in '..\\Source\\qvConsts.pas',\r\n  qvUtils {helpers} in "
        L"'..\\Source\\qvUtils.pas',\r\n"
        L"  qvLocal;\r\nend.\r\n",
        p));
    EXPECT_EQ(L"qvl290", p.name);
    ASSERT_EQ(3u, p.units.size());
    EXPECT_EQ(L"qvConsts", p.units[0].name);
    EXPECT_EQ(L"..\\Source\\qvConsts.pas", p.units[0].path);
    EXPECT_EQ(L"qvUtils", p.units[1].name);
    EXPECT_EQ(L"qvLocal", p.units[2].name);
    EXPECT_EQ(L"", p.units[2].path);

    EXPECT_TRUE(ParsePackageProject(L"package dclqvl30; requires vcl30; end.", p));
    EXPECT_EQ(L"dclqvl30", p.name);
    EXPECT_TRUE(p.units.empty());

    for (const wchar_t* bad : {L"program qvl;", L"package qvl290", L"package ;", L"", L"{ open comment package x;",
                               L"package x; contains a b;", L"package x; contains a in 'open;",
                               L"package x; contains a in b;", L"unit qvUtils; package x;"})
        EXPECT_FALSE(ParsePackageProject(bad, p)) << bad;

    for (const auto& [text, asks] : {std::pair{L"package qvl;\r\n{$LIBSUFFIX AUTO}\r\nend.", true},
                                     {L"package qvl; {$libsuffix auto} end.", true},
                                     {L"package qvl; {$LIBSUFFIX '290'} end.", false},
                                     {L"package qvl; end.", false}})
        EXPECT_EQ(AsksForAutoSuffix(text), asks) << text;
}

TEST(StandinText, MakeFilesAndPaths) {
    std::wstring project;
    EXPECT_TRUE(FindMakeProject(L"!if !$d(BCB)\r\nBCB = $(MAKEDIR)\\..\r\n!endif\r\nPROJECTS = x\r\n"
                                L"VERSION = BCB.06.00\r\nPROJECT = qvl60.bpl\r\n$(PROJECT): $(OBJFILES)\r\n",
                                project));
    EXPECT_EQ(L"qvl60.bpl", project);
    EXPECT_TRUE(FindMakeProject(L"  PROJECT=..\\out\\dclqvl40.bpl", project));
    EXPECT_EQ(L"..\\out\\dclqvl40.bpl", project);
    EXPECT_FALSE(FindMakeProject(L"<PROJECT value=\"qvl50.bpl\"/>\r\nPROJECT =\r\n", project));

    std::wstring file;
    EXPECT_TRUE(ParseMakeArgument(L"/fqvl60.mak", file));
    EXPECT_EQ(L"qvl60.mak", file);
    EXPECT_TRUE(ParseMakeArgument(L"-FDCLQVL40.BPK", file));
    EXPECT_EQ(L"DCLQVL40.BPK", file);
    for (const wchar_t* bad : {L"/f", L"/f qvl60.mak", L"qvl60.mak", L"/fqvl60.dpk", L"/xqvl60.mak"})
        EXPECT_FALSE(ParseMakeArgument(bad, file)) << bad;

    EXPECT_EQ(L"C:\\Pkg\\.\\Win32", ResolveOptionDir(L"C:\\Pkg", L".\\Win32"));
    EXPECT_EQ(L"D:\\Out", ResolveOptionDir(L"C:\\Pkg", L"D:\\Out"));
    EXPECT_EQ(L"\\Out", ResolveOptionDir(L"C:\\Pkg", L"\\Out"));
    EXPECT_EQ(L"C:\\Pkg", ResolveOptionDir(L"C:\\Pkg", L""));
    EXPECT_EQ((std::vector<std::wstring>{L"..\\Source", L"C:\\A B", L"x"}),
              SplitPathList(L"..\\Source;\"C:\\A B\";;x;"));
    EXPECT_TRUE(SplitPathList(L"").empty());
    EXPECT_EQ(L"C:\\a.b\\qvl", WithoutExtension(L"C:\\a.b\\qvl"));
    EXPECT_EQ(L"C:\\a.b\\qvl", WithoutExtension(L"C:\\a.b\\qvl.dpk"));
    EXPECT_EQ(L"C:\\a.b", FolderOf(L"C:\\a.b\\qvl.dpk"));
    EXPECT_EQ(L"", FolderOf(L"qvl.dpk"));
}

// Runs a command line in a folder, hidden, as the setup starts the IDE tools.
struct RunResult {
    bool started = false;
    bool finished = false;
    DWORD exitCode = 0;
    DWORD elapsedMs = 0;
};

RunResult RunTool(const std::wstring& commandLine, const std::wstring& folder, DWORD waitMs = 20000) {
    RunResult r;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = commandLine;
    const DWORD start = GetTickCount();
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return r;
    ProcessHandles h{UniqueKernelHandle(pi.hProcess), UniqueKernelHandle(pi.hThread)};
    r.started = true;
    r.finished = WaitForSingleObject(h.Process.get(), waitMs) == WAIT_OBJECT_0;
    r.elapsedMs = GetTickCount() - start;
    if (!r.finished) {
        TerminateProcess(h.Process.get(), 1);
        WaitForSingleObject(h.Process.get(), 5000);
    }
    GetExitCodeProcess(h.Process.get(), &r.exitCode);
    return r;
}

void WriteText(const std::wstring& file, const std::string& text) {
    UniqueFile f(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(f.valid()) << std::string(file.begin(), file.end());
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(f.get(), text.data(), DWORD(text.size()), &n, nullptr));
}

bool FileThere(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Tool(int ide, const wchar_t* exe) {
    return L"\"" + JoinPath(StandinRootDir(ide), std::wstring(L"bin\\") + exe) + L"\"";
}

const char kProject[] =
    "package qvl290;\r\n{$R *.res}\r\nrequires rtl;\r\ncontains\r\n  qvConsts in '..\\Source\\qvConsts.pas',\r\n"
    "  qvUtils in '..\\Source\\qvUtils.pas';\r\nend.\r\n";

class StandinTools : public testing::Test {
protected:
    const std::wstring work = L"C:\\Work";
    const std::wstring pkg = L"C:\\Work\\RADStudio23";
    void SetUp() override {
        ClearMachine();
        (void)DeleteDirectoryTree(work, false);
        ASSERT_EQ(0u, CreateDirectoryPath(pkg + L"\\Win32"));
        ASSERT_EQ(0u, CreateDirectoryPath(pkg + L"\\Win64"));
        ASSERT_EQ(0u, CreateDirectoryPath(work + L"\\Source"));
        for (const wchar_t* unit : {L"\\Source\\qvConsts.pas", L"\\Source\\qvUtils.pas"})
            WriteText(work + unit, "unit x;\r\ninterface\r\nimplementation\r\nend.\r\n");
    }
    void TearDown() override {
        ClearMachine();
        (void)DeleteDirectoryTree(work, false);
    }
};

TEST_F(StandinTools, DelphiCompilersFollowTheOptionFiles) {
    ASSERT_TRUE(LayOutIde(kStudio12));
    WriteText(pkg + L"\\qvl290.dpk", kProject);
    WriteText(pkg + L"\\dcc32.cfg", "-LE.\\Win32\r\n-LN.\\Win32\r\n-N0.\\Win32\r\n-U..\\Source\r\n");
    WriteText(pkg + L"\\dcc64.cfg", "-LE.\\Win64\r\n-LN.\\Win64\r\n");
    // The project's own option file comes after the compiler's and wins.
    WriteText(pkg + L"\\qvl290.cfg", "-LN.\r\n-JL\r\n-NH..\\Source\r\n");

    RunResult r = RunTool(Tool(kStudio12, L"dcc32.exe") + L" qvl290.dpk", pkg);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_TRUE(FileThere(pkg + L"\\Win32\\qvl290.bpl"));
    EXPECT_TRUE(FileThere(pkg + L"\\qvl290.dcp"));
    EXPECT_FALSE(FileThere(pkg + L"\\Win32\\qvl290.dcp"));
    EXPECT_TRUE(FileThere(pkg + L"\\Win32\\qvUtils.dcu"));
    EXPECT_TRUE(FileThere(work + L"\\Source\\qvConsts.hpp"));
    EXPECT_TRUE(FileThere(work + L"\\Source\\qvUtils.hpp"));
    EXPECT_FALSE(FileThere(pkg + L"\\Win64\\qvl290.bpl"));

    r = RunTool(Tool(kStudio12, L"dcc64.exe") + L" qvl290.dpk", pkg);
    ASSERT_TRUE(r.finished);
    EXPECT_TRUE(FileThere(pkg + L"\\Win64\\qvl290.bpl"));

    // Every call is recorded with its command line and folder.
    const std::vector<ToolCall> calls = ReadToolCalls(kStudio12);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(Tool(kStudio12, L"dcc32.exe") + L" qvl290.dpk", calls[0].commandLine);
    EXPECT_EQ(pkg, calls[0].currentDir);
    EXPECT_EQ(Tool(kStudio12, L"dcc64.exe") + L" qvl290.dpk", calls[1].commandLine);
    ClearToolCalls(kStudio12);
    EXPECT_TRUE(ReadToolCalls(kStudio12).empty());
}

TEST_F(StandinTools, DelphiCompilersRefuseWhatTheSetupNeverAsksFor) {
    ASSERT_TRUE(LayOutIde(kStudio12));
    WriteText(pkg + L"\\qvl290.dpk", kProject);
    // A missing output folder is not made: the build fails and leaves nothing.
    WriteText(pkg + L"\\dcc32.cfg", "-LE.\\Win32\r\n-LN.\\Missing\r\n");
    RunResult r = RunTool(Tool(kStudio12, L"dcc32.exe") + L" qvl290.dpk", pkg);
    ASSERT_TRUE(r.finished);
    EXPECT_NE(0u, r.exitCode);
    EXPECT_FALSE(FileThere(pkg + L"\\Win32\\qvl290.bpl"));
    WriteText(pkg + L"\\dcc32.cfg", "-LE.\\Win32\r\n");
    // Only one argument, and only a package project.
    for (const wchar_t* args : {L"", L" qvl290.dpk extra", L" qvl290.dpr", L" missing.dpk"}) {
        r = RunTool(Tool(kStudio12, L"dcc32.exe") + args, pkg);
        ASSERT_TRUE(r.finished);
        EXPECT_NE(0u, r.exitCode) << args;
    }
    EXPECT_FALSE(FileThere(pkg + L"\\Win32\\qvl290.bpl"));
    // A contained unit that is missing fails the build.
    WriteText(pkg + L"\\gap.dpk", "package gap;\r\ncontains qvUtils in '..\\Source\\qvUtils.pas', qvGone in "
                                  "'..\\Source\\qvGone.pas';\r\nend.\r\n");
    r = RunTool(Tool(kStudio12, L"dcc32.exe") + L" gap.dpk", pkg);
    EXPECT_NE(0u, r.exitCode);
    EXPECT_FALSE(FileThere(pkg + L"\\Win32\\gap.bpl"));
    // A project that does not start with "package" builds nothing.
    WriteText(pkg + L"\\broken.dpk", "library qvl290;\r\nend.\r\n");
    r = RunTool(Tool(kStudio12, L"dcc32.exe") + L" broken.dpk", pkg);
    EXPECT_NE(0u, r.exitCode);
    EXPECT_EQ(7u, ReadToolCalls(kStudio12).size());
}

TEST_F(StandinTools, Delphi3PackagesAndMake) {
    ASSERT_TRUE(LayOutMachine({kDelphi3, kCBuilder6}));
    const std::wstring d3 = work + L"\\Delphi3";
    ASSERT_EQ(0u, CreateDirectoryPath(d3));
    // Units named without a path are looked for beside the project and on -U.
    WriteText(d3 + L"\\qvl30.dpk", "package qvl30;\r\ncontains qvUtils in 'qvUtils.pas', qvConsts;\r\nend.\r\n");
    WriteText(d3 + L"\\qvl30.cfg", "-U..\\Other;\"..\\Source\"\r\n");
    RunResult r = RunTool(Tool(kDelphi3, L"dcc32.exe") + L" qvl30.dpk", d3);
    ASSERT_TRUE(r.finished);
    EXPECT_NE(0u, r.exitCode) << "qvUtils.pas is not beside the project yet";
    EXPECT_FALSE(FileThere(d3 + L"\\qvl30.dpl"));
    WriteText(d3 + L"\\qvUtils.pas", "unit qvUtils;\r\nend.\r\n");
    r = RunTool(Tool(kDelphi3, L"dcc32.exe") + L" qvl30.dpk", d3);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);
    EXPECT_TRUE(FileThere(d3 + L"\\qvl30.dpl"));
    EXPECT_FALSE(FileThere(d3 + L"\\qvl30.bpl"));
    EXPECT_TRUE(FileThere(d3 + L"\\qvl30.dcp"));

    const std::wstring b6 = work + L"\\CBuilder6";
    ASSERT_EQ(0u, CreateDirectoryPath(b6));
    WriteText(b6 + L"\\qvl60.mak", "VERSION = BCB.06.00\r\nPROJECT = qvl60.bpl\r\n$(PROJECT): $(OBJFILES)\r\n");
    r = RunTool(Tool(kCBuilder6, L"make.exe") + L" /f qvl60.mak", b6);  // the blank is not accepted
    ASSERT_TRUE(r.finished);
    EXPECT_FALSE(FileThere(b6 + L"\\qvl60.bpl"));
    r = RunTool(Tool(kCBuilder6, L"make.exe") + L" /fqvl60.mak", b6);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);
    for (const wchar_t* out : {L"\\qvl60.bpl", L"\\qvl60.bpi", L"\\qvl60.lib"}) EXPECT_TRUE(FileThere(b6 + out)) << out;
    ASSERT_EQ(2u, ReadToolCalls(kCBuilder6).size());
    EXPECT_EQ(2u, ReadToolCalls(kDelphi3).size());
    EXPECT_EQ(b6, ReadToolCalls(kCBuilder6)[1].currentDir);
}

TEST_F(StandinTools, FailSlowAndHang) {
    ASSERT_TRUE(LayOutIde(kStudio12));
    WriteText(pkg + L"\\qvl290.dpk", kProject);
    WriteText(pkg + L"\\dcc32.cfg", "-LE.\\Win32\r\n");
    WriteText(pkg + L"\\dcc64.cfg", "-LE.\\Win64\r\n");
    const std::wstring out32 = pkg + L"\\Win32\\qvl290.bpl", out64 = pkg + L"\\Win64\\qvl290.bpl";

    // Fail: nothing written, the call still recorded.
    ASSERT_TRUE(SetToolBehaviour(kStudio12, ToolMode::Fail));
    RunResult r = RunTool(Tool(kStudio12, L"dcc32.exe") + L" qvl290.dpk", pkg);
    ASSERT_TRUE(r.finished);
    EXPECT_FALSE(FileThere(out32));
    EXPECT_FALSE(FileThere(pkg + L"\\qvl290.dcp"));
    EXPECT_EQ(1u, ReadToolCalls(kStudio12).size());

    // One tool alone: dcc64 fails while dcc32 builds again.
    ASSERT_TRUE(SetToolBehaviour(kStudio12, ToolMode::Normal));
    ASSERT_TRUE(SetToolBehaviour(kStudio12, ToolMode::Fail, 0, L"dcc64"));
    EXPECT_TRUE(RunTool(Tool(kStudio12, L"dcc32.exe") + L" qvl290.dpk", pkg).finished);
    EXPECT_TRUE(RunTool(Tool(kStudio12, L"dcc64.exe") + L" qvl290.dpk", pkg).finished);
    EXPECT_TRUE(FileThere(out32));
    EXPECT_FALSE(FileThere(out64));

    // Slow: takes at least the delay, then builds.
    ASSERT_TRUE(SetToolBehaviour(kStudio12, ToolMode::Slow, 1500));
    r = RunTool(Tool(kStudio12, L"dcc64.exe") + L" qvl290.dpk", pkg);
    ASSERT_TRUE(r.finished);
    EXPECT_GE(r.elapsedMs, 1400u);
    EXPECT_TRUE(FileThere(out64));

    // Hang: still running long after a normal build would have ended; writes nothing.
    ASSERT_TRUE(DeleteFileW(out32.c_str()));
    ASSERT_TRUE(SetToolBehaviour(kStudio12, ToolMode::Hang));
    r = RunTool(Tool(kStudio12, L"dcc32.exe") + L" qvl290.dpk", pkg, 2500);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.finished);
    EXPECT_FALSE(FileThere(out32));
    EXPECT_EQ(5u, ReadToolCalls(kStudio12).size());

    // A hanging tool left running (as the setup leaves it) is ended when the IDE is removed.
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = Tool(kStudio12, L"dcc64.exe") + L" qvl290.dpk";
    ASSERT_TRUE(
        CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, pkg.c_str(), &si, &pi));
    ProcessHandles hung{UniqueKernelHandle(pi.hProcess), UniqueKernelHandle(pi.hThread)};
    EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(hung.Process.get(), 500));
    EXPECT_EQ(1, EndToolProcesses(kStudio12));
    EXPECT_EQ(DWORD(WAIT_OBJECT_0), WaitForSingleObject(hung.Process.get(), 5000));
    RemoveIde(kStudio12);
    EXPECT_FALSE(DirectoryExists(StandinRootDir(kStudio12)));
}

TEST_F(StandinTools, MkmachineLaysOutControlsAndRemoves) {
    const std::wstring mk = L"\"" TESSEL_BUILD_DIR L"/standin/mkmachine.exe\"";
    RunResult r = RunTool(mk + L" --hkcu Delphi7 29", L"");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(0u, r.exitCode);
    r = RunTool(mk + L" --ide64 RADStudio37", L"");
    EXPECT_EQ(0u, r.exitCode);
    std::wstring value;
    EXPECT_NE(0u, ReadRegString(HKEY_LOCAL_MACHINE, IdeTable[9].RegKey, L"RootDir", value));
    EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, IdeTable[kStudio12].RegKey, L"RootDir", value));
    InstalledIdes found = FindInstalledIdes();
    EXPECT_TRUE(found[9].Exists);
    EXPECT_TRUE(found[kStudio12].Exists);
    EXPECT_FALSE(found[kStudio12].Has64BitIde);
    EXPECT_TRUE(found[30].Exists);
    EXPECT_TRUE(found[30].Has64BitIde) << "--ide64: \"App x64\" and bin64\\bds.exe";

    r = RunTool(mk + L" --mode=slow:700 --tool=dcc64 RADStudio23", L"");
    EXPECT_EQ(0u, r.exitCode);
    const std::wstring ini = StandinRootDir(kStudio12) + L"\\bin\\standin.ini";
    EXPECT_EQ(700u, GetPrivateProfileIntW(L"dcc64", L"DelayMs", 0, ini.c_str()));
    wchar_t ide[64] = {};
    GetPrivateProfileStringW(L"Tool", L"Ide", L"", ide, 64, ini.c_str());
    EXPECT_STREQ(L"RADStudio23", ide);

    for (const wchar_t* bad : {L"", L" Delphi8", L" --mode=sideways 9", L" 32", L" BDS37"}) {
        r = RunTool(mk + bad, L"");
        EXPECT_EQ(2u, r.exitCode) << bad;
    }
    r = RunTool(mk + L" --remove 9 29 30", L"");
    EXPECT_EQ(0u, r.exitCode);
    found = FindInstalledIdes();
    EXPECT_FALSE(found[9].Exists);
    EXPECT_FALSE(found[kStudio12].Exists);
    EXPECT_FALSE(found[30].Exists);
    EXPECT_FALSE(DirectoryExists(StandinRootDir(kStudio12)));
}

// The command line the setup builds for a compile row.
std::wstring CompileCommand(const ScriptRow& row, const InstalledIdes& found) {
    const int n = LowestIdeOf(IdeMask(row.Param)).Value;
    if (!IsIdeIndex(n)) return std::wstring();
    const IdeVersion& ide = IdeTable[n];
    const wchar_t* tool = !ide.IsDelphi ? L"make.exe" : row.Options != 0 ? L"dcc64.exe" : L"dcc32.exe";
    const std::wstring line = CompileCommandLine(found[n].RootDir + L"\\bin\\" + tool, !ide.IsDelphi, row.Text);
    return row.Options == 2 ? line + L" " + tessel::changes::packages::ModernCompileOptions : line;
}

// Walks the IDE blocks of the install script with every IDE on the machine: extracts the
// package projects from the payload, runs the stand-in tool of every compile row in the
// package folder, and expects every file that a check row looks for, and every path list,
// help file and index cache that the IDE rows edit.
TEST_F(StandinTools, EveryScriptBlockOnAFullMachine) {
    UniqueModule setup(LoadLibraryExW(TESSEL_BUILD_DIR L"/setup/setup.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(setup.valid());
    PayloadModule = setup.get();
    std::vector<int> all;
    for (int i = 1; i <= IdeCount; ++i) all.push_back(i);
    MachineOptions withModernCpp;
    withModernCpp.WithModernCpp = true;
    ASSERT_TRUE(LayOutMachine(all, withModernCpp));
    const InstalledIdes found = FindInstalledIdes();
    tessel::common::LocationContext at;  // the install folder and the IDE whose block runs
    at.InstallDir = work + L"\\Tessel";
    wchar_t oldDir[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, oldDir);

    std::map<int, int> compiles, checks, pathLists, helpRows;  // per IDE index
    int ide = 0;
    for (int i = 0; i < ScriptCount(); ++i) {
        // The newer IDE's packages are named with the suffix of its release.
        const tessel::changes::packages::RowWithSuffix named(ScriptRowAt(i), L"380");
        const ScriptRow& row = named.Row();
        const std::wstring text = row.Text ? row.Text : L"";
        switch (row.Kind()) {
        case RowKind::SetIde:
            ide = int(row.Param);
            SelectIde(at, found, IdeIndex(ide), text, found[ide].BdsVersion);
            break;
        case RowKind::CreateDir: ASSERT_EQ(0u, CreateDirectoryPath(ResolvePath(at, row.Location, text))) << i; break;
        case RowKind::ExtractFile:
            if (text.compare(0, 6, L"Demos\\") != 0) {
                ASSERT_EQ(0u, SaveResourceToFile(row.Param, ResolvePath(at, row.Location, text))) << i;
            }
            break;
        case RowKind::CopyOneFile:  // only the Delphi 3 include file matters inside the package folders
            if (row.Target->Location == LocationCode::Install)
                CopyFileW(ResolvePath(at, row.Location, text).c_str(),
                          ResolvePath(at, row.Target->Location, row.Target->FileName).c_str(), FALSE);
            break;
        case RowKind::SetCurrentDir:
            ASSERT_TRUE(SetCurrentDirectoryW(ResolvePath(at, row.Location, text).c_str())) << i;
            break;
        case RowKind::CompilePackage: {
            wchar_t cwd[MAX_PATH];
            GetCurrentDirectoryW(MAX_PATH, cwd);
            EXPECT_EQ(JoinPath(at.InstallDir, at.IdeFolder), cwd) << i;
            const RunResult r = RunTool(CompileCommand(row, found), L"", 45000);
            EXPECT_TRUE(r.finished && r.exitCode == 0) << "row " << i << " " << IdeTable[ide].Name;
            ++compiles[ide];
            break;
        }
        case RowKind::CheckFile:
            if (ide && text != L"bin\\dcc64.exe") {
                EXPECT_TRUE(FileThere(ResolvePath(at, row.Location, text)))
                    << "row " << i << " " << IdeTable[ide].Name << " " << std::string(text.begin(), text.end());
                ++checks[ide];
            }
            break;
        case RowKind::CopyFiles: {
            // BDS 2006 to XE leave their C++ headers in "Source"; the script moves them.
            EXPECT_TRUE(PathExists(ResolvePath(at, row.Location, text))) << "no C++ headers for " << IdeTable[ide].Name;
            break;
        }
        case RowKind::DeleteFiles: {
            const std::wstring source = JoinPath(at.InstallDir, L"Source");
            DirectoryListing matches;
            if (matches.Open(ResolvePath(at, row.Location, text)) == 0)
                for (DirectoryEntry entry; matches.Next(entry) == 0;) DeleteFileW(JoinPath(source, entry.Name).c_str());
            break;
        }
        // What the IDE rows after the build edit must be there on a laid-out machine,
        // or the install would silently leave the IDE unregistered.
        case RowKind::RegisterPackage:
        case RowKind::AddSearchPath: {
            const IdeVersion& p = IdeTable[ide];
            const std::wstring lib =
                at.IdeKey + LibraryKey + (p.Is32and64 ? ((row.Options & 2) ? Win64Key : Win32Key) : L"");
            std::wstring list;
            EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, lib, ide == 1 ? L"SearchPath" : L"Search Path", list))
                << "row " << i << " " << p.Name;
            break;
        }
        case RowKind::AddIdePath: {
            const std::wstring path = at.IdeKey + text;
            std::wstring key, name, list;
            ASSERT_TRUE(SplitRegValuePath(path, key, name));
            EXPECT_EQ(0u, ReadRegString(HKEY_CURRENT_USER, key, name, list))
                << "row " << i << " " << IdeTable[ide].Name << " " << std::string(text.begin(), text.end());
            ++pathLists[ide];
            break;
        }
        case RowKind::AppendText: {
            const wchar_t* file = IdeTable[ide].HelpStr[row.Param - 1];
            ASSERT_NE(nullptr, file) << "row " << i;
            EXPECT_TRUE(FileThere(ResolvePath(at, row.Location, file))) << "row " << i << " " << IdeTable[ide].Name;
            ++helpRows[ide];
            break;
        }
        case RowKind::MergeFiles:
            EXPECT_TRUE(FileThere(ResolvePath(at, row.Location2, row.Text3))) << "row " << i;
            break;
        case RowKind::DeleteOneFile: EXPECT_TRUE(FileThere(ResolvePath(at, row.Location, text))) << "row " << i; break;
        case RowKind::RegisterWinHelp:
        case RowKind::SetHelpDir:
        case RowKind::CreateRegKey:
        case RowKind::UninstallPrevious:
        case RowKind::AppendTextOld:
        case RowKind::ReplaceText:
        case RowKind::RunFile:
        case RowKind::RunInstallFile:
        case RowKind::IfIde:
        case RowKind::EndIfIde:
        case RowKind::Info:
        case RowKind::IfItem:
        case RowKind::EndIfItem:
        case RowKind::IfOption:
        case RowKind::EndIfOption:
        case RowKind::IfNotOption:
        case RowKind::EndIfNotOption:
        case RowKind::IfFileExists:
        case RowKind::EndIfFileExists:
        case RowKind::If64BitIde:
        case RowKind::EndIf64BitIde:
        case RowKind::IfModernCpp:
        case RowKind::EndIfModernCpp:
        case RowKind::ClearDir:
        case RowKind::SetIdeProfile:  // records only
        case RowKind::ExtractFileOnce:
        case RowKind::ExtractFileIfNewer:
        case RowKind::RegisterUninstall: break;
        }
    }
    SetCurrentDirectoryW(oldDir);
    PayloadModule = nullptr;

    // 30 IDE blocks (C++Builder 3 has none); two packages each, the 64-bit run-time one
    // from XE2 on, the 64-bit IDE's design-time one and the Modern toolchain's
    // build, with its two checks (their blocks are walked here too).
    EXPECT_EQ(30u, compiles.size());
    for (int i = 1; i <= IdeCount; ++i) {
        if (i == 4) continue;
        const int modern = CanHaveModernCpp(IdeTable[i]) ? 1 : 0;
        const int expected = (IdeTable[i].Is32and64 ? 3 : 2) + (IdeTable[i].Can64BitIde ? 1 : 0) + modern;
        EXPECT_EQ(expected, compiles[i]) << IdeTable[i].Name;
        EXPECT_EQ(expected + modern, checks[i]) << IdeTable[i].Name;
        EXPECT_EQ(size_t(expected), ReadToolCalls(i).size()) << IdeTable[i].Name;
        // Path lists from BDS 2006 on; help entries where the IDE has help files.
        EXPECT_EQ(i >= 11, pathLists[i] > 0) << IdeTable[i].Name;
        EXPECT_EQ(IdeTable[i].HelpStr[0] != nullptr, helpRows[i] > 0) << IdeTable[i].Name;
    }
}

}  // namespace
