// A complete install without any window, as the progress page runs it.
//
//   headless-install <install folder> [/setup:<setup.exe>] [/ides:<i,j,...>|/ides:found]
//                    [/items:<extra item bits, hex>] [/copyonly]
//
// Prints one line per row whose result is not 0: index, code, first word, log text;
// then "rows=<n> failures=<m>". Exit code: 0 when the run took place, 2 when the
// payload could not be loaded, 1 for a bad command line.
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <string>

#include "common/UIdeTable.h"
#include "support/HeadlessInstall.h"

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

std::vector<int> ParseIndexes(const std::wstring& list) {
    std::vector<int> ides;
    size_t pos = 0;
    while (pos < list.size()) {
        size_t comma = list.find(L',', pos);
        if (comma == std::wstring::npos) comma = list.size();
        const int index = _wtoi(list.substr(pos, comma - pos).c_str());
        if (IsIdeIndex(index)) ides.push_back(index);
        pos = comma + 1;
    }
    return ides;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: headless-install <install folder> [/setup:<exe>] [/ides:<list>|/ides:found] "
                              L"[/items:<hex>] [/copyonly]\n");
        return 1;
    }
    HeadlessOptions options;
    options.installDir = argv[1];
    bool allFound = false;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (StartsWith(arg, L"/setup:"))
            options.setupExe = arg.substr(7);
        else if (arg == L"/ides:found")
            allFound = true;
        else if (StartsWith(arg, L"/ides:"))
            options.ides = ParseIndexes(arg.substr(6));
        else if (StartsWith(arg, L"/items:"))
            options.extraItems = static_cast<uint32_t>(std::wcstoul(arg.substr(7).c_str(), nullptr, 16));
        else if (arg == L"/copyonly")
            options.copyOnly = true;
        else {
            std::fwprintf(stderr, L"unknown argument: %ls\n", arg.c_str());
            return 1;
        }
    }
    if (allFound) {
        DiscoverLikeIdePage();
        options.ides.clear();
        for (int i = 1; i <= IdeCount; ++i)
            if (IdeTable[i].Exists) options.ides.push_back(i);
    }
    const HeadlessRun run = RunHeadlessInstall(options);
    if (!run.started) {
        std::fwprintf(stderr, L"cannot load the payload\n");
        return 2;
    }
    for (const HeadlessRowResult& row : run.failures)
        std::wprintf(L"%d\t%d\t0x%08lX\t%ls\n", row.index, row.code, static_cast<unsigned long>(row.word0),
                     row.logText.c_str());
    std::wprintf(L"rows=%d failures=%u\n", run.rows, static_cast<unsigned>(run.failures.size()));
    return 0;
}
