// The simulated machine: lays out stand-in IDE installations.
#include "standin/Machine.h"

#include <shlobj.h>

#include <iterator>

#include "common/Handles.h"
#include "common/IdeDiscovery.h"
#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/RunningIdes.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/ShellFolders.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "standin/StandinText.h"
#include "standin/StandinTool.h"

using namespace tessel::common;

namespace {

// Which path lists an IDE keeps under HKEY_CURRENT_USER (and so which ones the
// setup extends): the older IDEs one library list, the BDS IDEs C++ lists too,
// the 64-bit IDEs one list per platform.
enum class PathSet { Delphi3, Delphi, Builder, Bds2006, Bds2007, XE, XE2, XE4 };

// The lists follow from the IDE table: the compiler, the path lists the setup
// extends, and the oldest IDE's spelling of its search path.
PathSet PathSetOf(int ideIndex) {
    const IdeVersion& ide = IdeTable[ideIndex];
    if (!ide.IsDelphi) return PathSet::Builder;
    switch (ide.Paths) {
    case PathPlanId::None:
    case PathPlanId::SourceFolder:
        return SearchPathValueName(IdeIndex(ideIndex)) == std::wstring(L"SearchPath") ? PathSet::Delphi3
                                                                                       : PathSet::Delphi;
    case PathPlanId::Bds2006: return PathSet::Bds2006;
    case PathPlanId::Bds2007: return PathSet::Bds2007;
    case PathPlanId::XE: return PathSet::XE;
    case PathPlanId::XE2: return PathSet::XE2;
    case PathPlanId::XE4:
    case PathPlanId::XE6:
    case PathPlanId::XE101:
    case PathPlanId::XE102: return PathSet::XE4;
    }
    return PathSet::Delphi;
}

// Where the stand-in machine has an IDE installed: its usual root folder, and
// its common folder below the common documents (empty: none).
struct IdeLayout {
    std::wstring root;
    std::wstring commonTail;
};

// The older IDEs, each in a folder of its own kind; from XE6 on (index 20) the
// folders follow the version in the IDE's registry key.
const IdeLayout kOlderLayouts[] = {
    {L"", L""},
    /* 1 Delphi3     */ {L"C:\\Program Files\\Borland\\Delphi 3", L""},
    /* 2 Delphi4     */ {L"C:\\Program Files\\Borland\\Delphi4", L""},
    /* 3 Delphi5     */ {L"C:\\Program Files\\Borland\\Delphi5", L""},
    /* 4 CBuilder3   */ {L"C:\\Program Files\\Borland\\CBuilder3", L""},
    /* 5 CBuilder4   */ {L"C:\\Program Files\\Borland\\CBuilder4", L""},
    /* 6 CBuilder5   */ {L"C:\\Program Files\\Borland\\CBuilder5", L""},
    /* 7 Delphi6     */ {L"C:\\Program Files\\Borland\\Delphi6", L""},
    /* 8 CBuilder6   */ {L"C:\\Program Files\\Borland\\CBuilder6", L""},
    /* 9 Delphi7     */ {L"C:\\Program Files\\Borland\\Delphi7", L""},
    /* 10 Delphi9    */ {L"C:\\Program Files\\Borland\\BDS\\3.0", L"Borland Studio\\3.0"},
    /* 11 BDS2006    */ {L"C:\\Program Files\\Borland\\BDS\\4.0", L"Borland Studio\\4.0"},
    /* 12 Delphi2007 */ {L"C:\\Program Files\\CodeGear\\RAD Studio\\5.0", L"RAD Studio\\5.0"},
    /* 13 BDS2009    */ {L"C:\\Program Files\\CodeGear\\RAD Studio\\6.0", L"RAD Studio\\6.0"},
    /* 14 BDS2010    */ {L"C:\\Program Files\\Embarcadero\\RAD Studio\\7.0", L"RAD Studio\\7.0"},
    /* 15 XE         */ {L"C:\\Program Files\\Embarcadero\\RAD Studio\\8.0", L"RAD Studio\\8.0"},
    /* 16 XE2        */ {L"C:\\Program Files (x86)\\Embarcadero\\RAD Studio\\9.0", L"RAD Studio\\9.0"},
    /* 17 XE3        */ {L"C:\\Program Files (x86)\\Embarcadero\\RAD Studio\\10.0", L"RAD Studio\\10.0"},
    /* 18 XE4        */ {L"C:\\Program Files (x86)\\Embarcadero\\RAD Studio\\11.0", L"RAD Studio\\11.0"},
    /* 19 XE5        */ {L"C:\\Program Files (x86)\\Embarcadero\\RAD Studio\\12.0", L"RAD Studio\\12.0"},
};

uint32_t g_newerVersion = 38;

// The key of the IDE: for the newer IDE, the one of the version set.
std::wstring KeyOf(int ideIndex) { return IdeKeyOf(IdeIndex(ideIndex), g_newerVersion); }

IdeLayout LayoutOf(int ideIndex) {
    if (ideIndex < int(std::size(kOlderLayouts))) return kOlderLayouts[ideIndex];
    const std::wstring key = KeyOf(ideIndex);
    const std::wstring version = key.substr(key.rfind(L'\\') + 1);
    return {L"C:\\Program Files (x86)\\Embarcadero\\Studio\\" + version, L"Embarcadero\\Studio\\" + version};
}

// The Win64x lists of an IDE with the Modern C++ toolchain.
const wchar_t* const kWin64xPathValues[] = {L"\\Library\\Win64x\\Search Path", L"\\C++\\Paths\\Win64x\\LibraryPath"};

// The release number of the automatic package suffix for the IDE of key
// ("...\BDS\21.0" gives 270, "...\BDS\37.0" 370, "...\BDS\38.0" 380); 0 for
// versions before 10.4, which do not know it.
uint32_t AutoSuffixRelease(const std::wstring& key) {
    const size_t slash = key.rfind(L'\\');
    const uint32_t bds = static_cast<uint32_t>(wcstoul(key.c_str() + slash + 1, nullptr, 10));
    if (bds >= 37) return bds * 10;
    return bds >= 21 && bds <= 23 ? (bds + 6) * 10 : 0;
}

std::vector<std::wstring> PathValuesOf(PathSet set) {
    switch (set) {
    case PathSet::Delphi3: return {L"\\Library\\SearchPath"};
    case PathSet::Delphi:
    case PathSet::Builder: return {L"\\Library\\Search Path"};
    case PathSet::Bds2006: return {L"\\Library\\Search Path", L"\\CppPaths\\SearchPath"};
    case PathSet::Bds2007:
    case PathSet::XE: return {L"\\Library\\Search Path", L"\\C++\\Paths\\SearchPath", L"\\C++\\Paths\\LibraryPath"};
    case PathSet::XE2:
        return {L"\\Library\\Win32\\Search Path", L"\\Library\\Win64\\Search Path",
                L"\\C++\\Paths\\Win32\\LibraryPath"};
    case PathSet::XE4:
        return {L"\\Library\\Win32\\Search Path", L"\\Library\\Win64\\Search Path", L"\\C++\\Paths\\Win32\\LibraryPath",
                L"\\C++\\Paths\\Win64\\LibraryPath"};
    }
    return {};
}

std::wstring UserPathsOf(PathSet set) {
    switch (set) {
    case PathSet::Delphi3:
    case PathSet::Delphi: return L"$(DELPHI)\\Lib;$(DELPHI)\\Bin;$(DELPHI)\\Imports;C:\\Components\\Grids\\Lib";
    case PathSet::Builder: return L"$(BCB)\\Lib;$(BCB)\\Lib\\Obj;$(BCB)\\Projects\\Lib;C:\\Components\\Grids\\Lib";
    case PathSet::Bds2006:
    case PathSet::Bds2007:
    case PathSet::XE: return L"$(BDS)\\lib;$(BDS)\\Imports;$(BDSCOMMONDIR)\\Dcp;C:\\Components\\Grids\\Lib";
    case PathSet::XE2:
    case PathSet::XE4:
        return L"$(BDSLIB)\\$(Platform)\\release;$(BDSUSERDIR)\\Imports;$(BDS)\\Imports;"
               L"$(BDSCOMMONDIR)\\Dcp\\$(Platform);C:\\Components\\Grids\\Lib\\$(Platform)";
    }
    return std::wstring();
}

// The root folder each IDE was last laid out with in this process (empty: its usual one).
std::wstring g_layoutRoots[IdeCount + 1];

#ifdef TESSEL_STANDIN_TOOLS_DIR
std::wstring g_toolsDir = TESSEL_STANDIN_TOOLS_DIR;
#else
std::wstring g_toolsDir;
#endif

std::wstring RootOf(int ideIndex, const std::wstring& rootDir) {
    if (!rootDir.empty()) return rootDir;
    if (IsIdeIndex(ideIndex) && !g_layoutRoots[ideIndex].empty()) return g_layoutRoots[ideIndex];
    return StandinRootDir(ideIndex);
}

std::wstring BinOf(int ideIndex, const std::wstring& rootDir) { return JoinPath(RootOf(ideIndex, rootDir), L"bin"); }

bool WriteAnsiFile(const std::wstring& name, const std::wstring& text) {
    const std::string bytes = ToAnsi(text);
    UniqueFile f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    return WriteFile(f.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
}

// Contents of the IDE's help-configuration files, told apart by their extension:
// ".cfg" the contents configuration, ".ohi" the index list, ".ohl" the link list,
// ".als" keyword aliases. ANSI text, every line ending in CR LF.
std::wstring HelpFileText(const std::wstring& file, const std::wstring& ideName) {
    const std::wstring stem = file.substr(0, file.find(L'.'));
    if (HasExtension(file, L".cfg"))
        return L":Title " + ideName + L" Help\r\n:Base " + stem + L".hlp\r\n:Index " + ideName + L" Help=" + stem +
               L".hlp\r\n:Index Object Pascal Reference=" + stem + L"op.hlp\r\n:Link " + stem + L"vcl.hlp\r\n:Link " +
               stem + L"op.hlp\r\n";
    if (HasExtension(file, L".ohi"))
        return L":Index Object Pascal Reference=" + stem + L"op.hlp\r\n:Index Component Library Reference=" + stem +
               L"vcl.hlp\r\n:Index Database Tools=" + stem + L"db.hlp\r\n";
    if (HasExtension(file, L".ohl"))
        return L":Link " + stem + L"op.hlp\r\n:Link " + stem + L"vcl.hlp\r\n:Link " + stem + L"db.hlp\r\n";
    return L"TApplication.OnHint=TApplication_OnHint\r\nTForm.Position=TForm_Position\r\n"
           L"TIniFile.ReadString=TIniFile_ReadString\r\nTRegistry.OpenKey=TRegistry_OpenKey\r\n";
}

}  // namespace

void SetStandinNewerVersion(uint32_t bdsVersion) {
    if (IsNewerBdsVersion(bdsVersion) && bdsVersion != g_newerVersion) {
        g_newerVersion = bdsVersion;
        g_layoutRoots[NewerIdeSlot].clear();
    }
}
uint32_t StandinNewerVersion() { return g_newerVersion; }

void SetStandinToolsDir(const std::wstring& dir) { g_toolsDir = dir; }
std::wstring StandinToolsDir() { return g_toolsDir; }

std::wstring StandinRootDir(int ideIndex) { return IsIdeIndex(ideIndex) ? LayoutOf(ideIndex).root : L""; }

std::wstring StandinCommonDir(int ideIndex) {
    const std::wstring tail = IsIdeIndex(ideIndex) ? LayoutOf(ideIndex).commonTail : std::wstring();
    if (tail.empty()) return std::wstring();
    const std::wstring docs = GetShellFolder(CSIDL_COMMON_DOCUMENTS);
    return docs.empty() ? std::wstring() : JoinPath(docs, tail);
}

std::wstring StandinUserPaths(int ideIndex) {
    return IsIdeIndex(ideIndex) ? UserPathsOf(PathSetOf(ideIndex)) : std::wstring();
}

std::vector<std::wstring> StandinPathValues(int ideIndex) {
    return IsIdeIndex(ideIndex) ? PathValuesOf(PathSetOf(ideIndex)) : std::vector<std::wstring>();
}

bool LayOutIde(int ideIndex, const MachineOptions& options) {
    if (!IsIdeIndex(ideIndex)) return false;
    const IdeVersion& ide = IdeTable[ideIndex];
    const IdeLayout layout = LayoutOf(ideIndex);
    const std::wstring key = KeyOf(ideIndex);
    const std::wstring root = options.RootDir.empty() ? layout.root : options.RootDir;
    const std::wstring bin = JoinPath(root, L"bin");
    g_layoutRoots[ideIndex] = options.RootDir;
    bool ok = CreateDirectoryPath(bin) == 0;

    ok &= WriteRegString(options.PerUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, key, L"RootDir", root) == 0;

    if (options.WithTools) {
        const std::wstring tools = options.ToolsDir.empty() ? g_toolsDir : options.ToolsDir;
        std::vector<const wchar_t*> names;
        if (!ide.IsDelphi)
            names = {L"make.exe"};
        else if (ide.Is32and64 && options.WithDcc64)
            names = {L"dcc32.exe", L"dcc64.exe"};
        else
            names = {L"dcc32.exe"};
        for (const wchar_t* name : names)
            ok &= CopyFileW(JoinPath(tools, name).c_str(), JoinPath(bin, name).c_str(), FALSE) != 0;
        // Tells the tools which IDE they belong to: Delphi 3 packages are ".dpl" files.
        const std::wstring ini = JoinPath(bin, StandinIniName);
        ok &= WritePrivateProfileStringW(L"Tool", L"Ide", ide.Name, ini.c_str()) != 0;
        const bool dpl = ide.Layout == ProjectLayoutId::Delphi3;
        ok &= WritePrivateProfileStringW(L"Tool", L"PackageExt", dpl ? L".dpl" : L".bpl", ini.c_str()) != 0;
        // The release number that {$LIBSUFFIX AUTO} gives (from 10.4, BDS 21.0, on).
        if (const uint32_t release = AutoSuffixRelease(key))
            ok &= WritePrivateProfileStringW(L"Tool", L"AutoSuffix", std::to_wstring(release).c_str(), ini.c_str()) != 0;
    }

    if (options.With64BitIde && ide.Can64BitIde) {
        // The 64-bit IDE: "App x64" beside "App", naming "bin64\bds.exe". Nothing
        // runs it here, so any small program will do as its stand-in.
        const HKEY hive = options.PerUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        const std::wstring bds64 = JoinPath(root, L"bin64\\bds.exe");
        const std::wstring tools = options.ToolsDir.empty() ? g_toolsDir : options.ToolsDir;
        ok &= CreateDirectoryPath(JoinPath(root, L"bin64")) == 0;
        ok &= CopyFileW(JoinPath(tools, L"dcc64.exe").c_str(), bds64.c_str(), FALSE) != 0;
        ok &= WriteRegString(hive, key, L"App", JoinPath(bin, L"bds.exe")) == 0;
        ok &= WriteRegString(hive, key, L"App x64", bds64) == 0;
    }

    const bool modern = options.WithModernCpp && CanHaveModernCpp(ide);
    if (modern) {
        // The Modern toolchain's compiler; nothing runs it here.
        const std::wstring tools = options.ToolsDir.empty() ? g_toolsDir : options.ToolsDir;
        ok &= CreateDirectoryPath(JoinPath(root, L"bin64")) == 0;
        ok &= CopyFileW(JoinPath(tools, L"dcc64.exe").c_str(), JoinPath(root, L"bin64\\bcc64x.exe").c_str(), FALSE) != 0;
    }

    const std::wstring common = StandinCommonDir(ideIndex);
    if (!common.empty()) {
        ok &= CreateDirectoryPath(JoinPath(common, L"Bpl\\Win64")) == 0;
        if (options.WithRsvars)
            ok &= WriteAnsiFile(JoinPath(bin, L"rsvars.bat"), L"@SET BDS=" + root + L"\r\n@SET BDSINCLUDE=" + root +
                                                                  L"\\include\r\n"
                                                                  L"@SET BDSCOMMONDIR=" +
                                                                  common + L"\r\n@SET PATH=%BDS%\\bin;%PATH%\r\n");
        if (options.EnvVariables != EnvVarPlace::None)
            ok &= WriteRegString(
                      options.EnvVariables == EnvVarPlace::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                      key + L"\\Environment Variables", L"BDSCOMMONDIR", common) == 0;
    }

    if (options.WithHelp) {
        const std::wstring help = JoinPath(root, L"Help");
        ok &= CreateDirectoryPath(help) == 0;
        for (const wchar_t* file : ide.HelpStr)
            if (file) ok &= WriteAnsiFile(JoinPath(help, file), HelpFileText(file, ide.Name));
        if (ide.IndexCache)
            ok &= WriteAnsiFile(JoinPath(help, ide.IndexCache),
                                L"Help index cache of " + std::wstring(ide.Name) + L"\r\n");
    }

    if (options.WithUserPaths) {
        const PathSet paths = PathSetOf(ideIndex);
        std::vector<std::wstring> values = PathValuesOf(paths);
        if (modern) values.insert(values.end(), std::begin(kWin64xPathValues), std::end(kWin64xPathValues));
        for (const std::wstring& value : values) {
            std::wstring sub, name;
            ok &= SplitRegValuePath(value, sub, name) &&
                  WriteRegString(HKEY_CURRENT_USER, key + sub, name, UserPathsOf(paths)) == 0;
        }
        // A design-time package of the user's own, which an uninstall must leave alone;
        // the 64-bit IDE has its own list, with the Win64 build of it.
        ok &= WriteRegString(HKEY_CURRENT_USER, key + KnownPackagesKey, JoinPath(root, L"Projects\\Bpl\\dclgrids.bpl"),
                             L"Grid components of the user") == 0;
        if (options.With64BitIde && ide.Can64BitIde)
            ok &= WriteRegString(HKEY_CURRENT_USER, key + KnownPackagesX64Key,
                                 JoinPath(root, L"Projects\\Bpl\\Win64\\dclgrids.bpl"),
                                 L"Grid components of the user") == 0;
    }
    return ok;
}

bool LayOutMachine(const std::vector<int>& ides, const MachineOptions& options) {
    bool ok = true;
    for (int ide : ides) ok &= LayOutIde(ide, options);
    return ok;
}

int EndToolProcesses(int ideIndex, const std::wstring& rootDir) {
    if (!IsIdeIndex(ideIndex)) return 0;
    const std::wstring bin = LowerWide(BinOf(ideIndex, rootDir) + L"\\");
    int ended = 0;
    for (const RunningProcess& running : RunningProcesses()) {
        if (LowerWide(running.Image).compare(0, bin.size(), bin) != 0) continue;
        UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, running.Id));
        if (process && TerminateProcess(process.get(), 1)) {
            WaitForSingleObject(process.get(), 5000);
            ++ended;
        }
    }
    return ended;
}

void RemoveIde(int ideIndex, const std::wstring& rootDir) {
    if (!IsIdeIndex(ideIndex)) return;
    EndToolProcesses(ideIndex, rootDir);
    const std::wstring root = RootOf(ideIndex, rootDir);
    (void)DeleteRegKey(HKEY_LOCAL_MACHINE, KeyOf(ideIndex));
    (void)DeleteRegKey(HKEY_CURRENT_USER, KeyOf(ideIndex));
    if (!root.empty()) (void)DeleteDirectoryTree(root, false);
    const std::wstring common = StandinCommonDir(ideIndex);
    if (!common.empty()) (void)DeleteDirectoryTree(common, false);
    g_layoutRoots[ideIndex].clear();
}

void ClearMachine() {
    for (int i = 1; i < NewerIdeSlot; ++i) RemoveIde(i);
    // Every newer version that a key names, and the one set.
    const uint32_t set = g_newerVersion;
    std::vector<std::wstring> names;
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegKey key;
        if (key.Open(hive, IdeTable[NewerIdeSlot].RegKey, KEY_READ) == 0)
            for (const std::wstring& name : key.SubKeys()) names.push_back(name);
    }
    names.push_back(std::to_wstring(set) + L".0");
    for (uint32_t version : NewerBdsVersions(names)) {
        SetStandinNewerVersion(version);
        RemoveIde(NewerIdeSlot);
    }
    SetStandinNewerVersion(set);
}

bool SetToolBehaviour(int ideIndex, ToolMode mode, DWORD delayMs, const std::wstring& tool,
                      const std::wstring& rootDir) {
    if (!IsIdeIndex(ideIndex)) return false;
    const std::wstring ini = JoinPath(BinOf(ideIndex, rootDir), StandinIniName);
    const wchar_t* modeText = mode == ToolMode::Fail   ? L"fail"
                              : mode == ToolMode::Slow ? L"slow"
                              : mode == ToolMode::Hang ? L"hang"
                                                       : L"normal";
    // Setting all tools at once also drops what was set for single tools.
    if (tool.empty())
        for (const wchar_t* section : {L"dcc32", L"dcc64", L"make"})
            WritePrivateProfileStringW(section, nullptr, nullptr, ini.c_str());
    const std::wstring section = tool.empty() ? L"Behaviour" : tool;
    return WritePrivateProfileStringW(section.c_str(), L"Mode", modeText, ini.c_str()) &&
           WritePrivateProfileStringW(section.c_str(), L"DelayMs", std::to_wstring(delayMs).c_str(), ini.c_str());
}

bool SetToolOutput(int ideIndex, const std::wstring& output, DWORD exitCode, const std::wstring& tool,
                   const std::wstring& rootDir) {
    if (!SetToolBehaviour(ideIndex, ToolMode::Normal, 0, tool, rootDir)) return false;
    const std::wstring ini = JoinPath(BinOf(ideIndex, rootDir), StandinIniName);
    const std::wstring section = tool.empty() ? L"Behaviour" : tool;
    return WritePrivateProfileStringW(section.c_str(), L"Mode", L"print", ini.c_str()) &&
           WritePrivateProfileStringW(section.c_str(), L"Output", output.c_str(), ini.c_str()) &&
           WritePrivateProfileStringW(section.c_str(), L"ExitCode", std::to_wstring(exitCode).c_str(), ini.c_str());
}

UniqueKernelHandle StartStandinIde(const std::wstring& program) {
    const std::wstring folder = program.substr(0, program.rfind(L'\\'));
    if (CreateDirectoryPath(folder) != 0 ||
        !CopyFileW(JoinPath(g_toolsDir, L"standin-ide.exe").c_str(), program.c_str(), FALSE))
        return UniqueKernelHandle();
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
        return UniqueKernelHandle();
    CloseHandle(info.hThread);
    return UniqueKernelHandle(info.hProcess);
}

bool EndStandinIde(UniqueKernelHandle& process) {
    if (!process) return true;
    TerminateProcess(process.get(), 1);
    const bool ended = WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0;
    process.reset();
    return ended;
}

std::vector<ToolCall> ReadToolCalls(int ideIndex, const std::wstring& rootDir) {
    std::vector<ToolCall> calls;
    std::string bytes;
    if (!IsIdeIndex(ideIndex) || ReadFileBytes(JoinPath(BinOf(ideIndex, rootDir), StandinCallLog), bytes,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE) != 0)
        return calls;
    const std::wstring text = FromUtf8(bytes);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find(L"\r\n", pos);
        if (eol == std::wstring::npos) eol = text.size();
        const std::wstring line = text.substr(pos, eol - pos);
        pos = eol + 2;
        if (line.compare(0, 4, L"cmd=") == 0)
            calls.push_back(ToolCall{line.substr(4), L""});
        else if (line.compare(0, 4, L"dir=") == 0 && !calls.empty())
            calls.back().currentDir = line.substr(4);
    }
    return calls;
}

void ClearToolCalls(int ideIndex, const std::wstring& rootDir) {
    if (IsIdeIndex(ideIndex)) DeleteFileW(JoinPath(BinOf(ideIndex, rootDir), StandinCallLog).c_str());
}
