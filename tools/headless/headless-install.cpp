// The unattended install of setup.exe /S, with the IDEs and items named on the
// command line instead of those the wizard would start from.
//
//   headless-install <install folder> [/setup:<setup.exe>] [/ides:<i,j,...>|/ides:found]
//                    [/items:<extra item bits, hex>] [/copyonly]
//
// The payload is read from setup.exe loaded as a data file. The exit code is
// that of setup.exe /S; 10 when the payload cannot be loaded, 11 for a bad
// command line.
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/IdeTable.h"
#include "script/manifest/Manifest.h"
#include "setup/InstallChoices.h"
#include "setup/UnattendedInstall.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;
using namespace tessel::setup;

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// The item bits of the IDEs in a list of indexes ("9,29"); every found IDE's for "found".
void SelectIdes(const std::wstring& list, const InstalledIdes& found, IdeMask& ideMask, ItemMask& itemMask) {
    std::vector<bool> chosen(IdeCount + 1, false);
    for (size_t pos = 0; pos < list.size();) {
        size_t comma = list.find(L',', pos);
        if (comma == std::wstring::npos) comma = list.size();
        const int index = _wtoi(list.substr(pos, comma - pos).c_str());
        if (IsIdeIndex(index)) chosen[index] = true;
        pos = comma + 1;
    }
    for (int i = 1; i <= IdeCount; ++i)
        if (list == L"found" ? found[i].Exists : static_cast<bool>(chosen[i])) {
            ideMask |= IdeTable[i].InternalId;
            itemMask |= IdeTable[i].Item;
        }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: headless-install <install folder> [/setup:<exe>] [/ides:<list>|/ides:found] "
                              L"[/items:<hex>] [/copyonly]\n");
        return 11;
    }
    std::wstring setupExe = TESSEL_BUILD_DIR L"/setup/setup.exe", ides;
    uint32_t extraItems = 0x380;  // help files and both demo sets
    bool copyOnly = false;
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (StartsWith(arg, L"/setup:"))
            setupExe = arg.substr(7);
        else if (StartsWith(arg, L"/ides:"))
            ides = arg.substr(6);
        else if (StartsWith(arg, L"/items:"))
            extraItems = static_cast<uint32_t>(std::wcstoul(arg.substr(7).c_str(), nullptr, 16));
        else if (arg == L"/copyonly")
            copyOnly = true;
        else {
            std::fwprintf(stderr, L"unknown argument: %ls\n", arg.c_str());
            return 11;
        }
    }
    UniqueModule payload(LoadLibraryExW(setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!payload) {
        std::fwprintf(stderr, L"cannot load the payload from %ls\n", setupExe.c_str());
        return 10;
    }
    PayloadModule = payload.get();
    tessel::script::InstallContext install;
    LoadPreviousSelection(install);  // discovery, as the unattended install starts
    SelectIdes(ides, install.Plan.Ides, install.Plan.SelectedIdeMask, install.Plan.SelectedItemMask);
    install.Plan.SelectedItemMask |= ItemMask(extraItems);
    install.Plan.CopyOnly = copyOnly;
    install.Plan.InstallDir = argv[1];
    return static_cast<int>(RunChosenInstall(install));
}
