// mkmachine: lays out stand-in IDE installations in the running Wine prefix.
//
//   mkmachine [options] <ide>...
//     <ide>            IDE index 1..31, IDE name (Delphi7, RADStudio37), BDS<N> for the newer
//                      IDE of key "BDS\<N>.0" (N above 37, e.g. BDS38), or "all"
//     --ide64          also the 64-bit IDE, for the IDEs that can have one (RAD Studio 12, 13, newer)
//     --modern         also the Modern C++ toolchain (bin64\bcc64x.exe, Win64x path lists), likewise
//     --hkcu           "RootDir" under HKEY_CURRENT_USER instead of HKEY_LOCAL_MACHINE
//     --no-dcc64       leave dcc64.exe out
//     --env=hkcu|hklm  also write BDSCOMMONDIR under "Environment Variables"
//     --root=<dir>     root folder instead of the usual one
//     --tools=<dir>    folder of the built stand-in tools (default: beside mkmachine.exe)
//     --mode=normal|fail|hang|slow:<ms>  only set how the IDEs' tools behave
//     --tool=dcc32|dcc64|make            ... for this tool alone
//     --remove         remove the IDEs instead
//     --calls          print the recorded tool calls of the IDEs
// Prints one line per IDE: index, name, root folder, common folder.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/ProcessGlobals.h"
#include "common/IdeTable.h"
#include "common/PathText.h"
#include "standin/Machine.h"
#include "standin/StandinText.h"

using namespace tessel::common;

namespace {

// "BDS38" and the like: the newer IDE of that version (0 for anything else).
uint32_t NewerVersionByName(const std::wstring& text) {
    if (_wcsnicmp(text.c_str(), L"BDS", 3) != 0 || text.size() < 4) return 0;
    wchar_t* end = nullptr;
    const unsigned long n = wcstoul(text.c_str() + 3, &end, 10);
    return end && *end == 0 && IsNewerBdsVersion(uint32_t(n)) ? uint32_t(n) : 0;
}

int IdeByName(const std::wstring& text) {
    for (int i = 1; i <= IdeCount; ++i)
        if (_wcsicmp(text.c_str(), IdeTable[i].Name) == 0) return i;
    wchar_t* end = nullptr;
    long n = wcstol(text.c_str(), &end, 10);
    return (end && *end == 0 && IsIdeIndex(int(n))) ? int(n) : 0;
}

int Usage() {
    std::fwprintf(stderr,
                  L"usage: mkmachine [--hkcu] [--no-dcc64] [--ide64] [--modern] [--env=hkcu|hklm] [--root=DIR] [--tools=DIR]\n"
                  L"                 [--mode=normal|fail|hang|slow:MS [--tool=dcc32|dcc64|make]] [--remove] [--calls]\n"
                  L"                 IDE... (index 1..31, name, BDS<N>, or all)\n");
    return 2;
}

bool StartsWith(const std::wstring& s, const wchar_t* p) { return s.compare(0, wcslen(p), p) == 0; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    InitPlatformId();
    wchar_t self[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    SetStandinToolsDir(FolderOf(self));

    MachineOptions options;
    // Each IDE named, with the newer IDE's version (0 for the others).
    std::vector<std::pair<int, uint32_t>> ides;
    bool remove = false, calls = false, setMode = false;
    ToolMode mode = ToolMode::Normal;
    DWORD delay = 0;
    std::wstring tool;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--hkcu")
            options.PerUser = true;
        else if (a == L"--no-dcc64")
            options.WithDcc64 = false;
        else if (a == L"--ide64")
            options.With64BitIde = true;
        else if (a == L"--modern")
            options.WithModernCpp = true;
        else if (a == L"--env=hkcu")
            options.EnvVariables = EnvVarPlace::CurrentUser;
        else if (a == L"--env=hklm")
            options.EnvVariables = EnvVarPlace::LocalMachine;
        else if (StartsWith(a, L"--root="))
            options.RootDir = a.substr(7);
        else if (StartsWith(a, L"--tools="))
            SetStandinToolsDir(a.substr(8));
        else if (StartsWith(a, L"--tool="))
            tool = a.substr(7);
        else if (a == L"--remove")
            remove = true;
        else if (a == L"--calls")
            calls = true;
        else if (StartsWith(a, L"--mode=")) {
            setMode = true;
            const std::wstring m = a.substr(7);
            if (m == L"normal")
                mode = ToolMode::Normal;
            else if (m == L"fail")
                mode = ToolMode::Fail;
            else if (m == L"hang")
                mode = ToolMode::Hang;
            else if (StartsWith(m, L"slow:"))
                mode = ToolMode::Slow, delay = wcstoul(m.c_str() + 5, nullptr, 10);
            else
                return Usage();
        } else if (a == L"all") {
            for (int n = 1; n <= IdeCount; ++n) ides.push_back({n, StandinNewerVersion()});
        } else if (uint32_t version = NewerVersionByName(a)) {
            ides.push_back({NewerIdeSlot, version});
        } else if (int n = IdeByName(a)) {
            ides.push_back({n, StandinNewerVersion()});
        } else {
            return Usage();
        }
    }
    if (ides.empty()) return Usage();

    int rc = 0;
    for (const auto& [ide, version] : ides) {
        SetStandinNewerVersion(version);
        bool ok = true;
        if (remove)
            RemoveIde(ide, options.RootDir);
        else if (setMode)
            ok = SetToolBehaviour(ide, mode, delay, tool, options.RootDir);
        else if (!calls)
            ok = LayOutIde(ide, options);
        if (calls) {
            for (const ToolCall& call : ReadToolCalls(ide, options.RootDir))
                std::fwprintf(stdout, L"%ls\t%ls\t%ls\n", IdeTable[ide].Name, call.currentDir.c_str(),
                              call.commandLine.c_str());
            continue;
        }
        const std::wstring root = options.RootDir.empty() ? StandinRootDir(ide) : options.RootDir;
        std::fwprintf(stdout, L"%d\t%ls\t%ls\t%ls%ls\n", ide, IdeTable[ide].Name, root.c_str(),
                      StandinCommonDir(ide).c_str(), ok ? L"" : L"\tFAILED");
        if (!ok) rc = 1;
    }
    return rc;
}
