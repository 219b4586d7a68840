// An empty Windows program that imports the window libraries (as setup.exe
// did before it loaded them at first use) and carries setup.exe's manifest: its run
// time under Wine is what loading them at start-up costs.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
    // Never true when the benchmark runs it; it only makes the linker import each library.
    if (cmdLine != nullptr && cmdLine[0] == L'\x1') {
        InitCommonControls();
        GetStockObject(WHITE_BRUSH);
        MessageBoxW(nullptr, L"", L"", MB_OK);
        RegCloseKey(HKEY_CURRENT_USER);
        SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, nullptr);
        CoInitialize(nullptr);
    }
    return 0;
}
