// An empty Windows program with the imports and manifest that setup.exe and
// unqmv.exe load at start (the window libraries are loaded at their first call, so not
// these): what starting them costs before any work is done.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
    // Never true when the benchmark runs it; it only makes the linker import the library.
    if (cmdLine != nullptr && cmdLine[0] == L'\x1') RegCloseKey(HKEY_CURRENT_USER);
    return 0;
}
