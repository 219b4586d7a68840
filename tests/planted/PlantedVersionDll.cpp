// A version.dll as an attacker would plant it beside the setup or in the
// current folder: when any process loads it, it leaves a marker file naming
// itself and that process. It exports the functions a program importing
// VERSION would need, so that such a program starts and the marker is written.
#include <windows.h>

namespace {

// "<dll path> <- <program path>" on a line of "planted-loaded.txt" in the root of
// the system drive: not beside the DLL, which an uninstall may remove.
void LeaveMarker(HINSTANCE self) {
    char line[2 * MAX_PATH + 8] = {};
    DWORD n = GetModuleFileNameA(self, line, MAX_PATH);
    lstrcpyA(line + n, " <- ");
    n += 4;
    n += GetModuleFileNameA(nullptr, line + n, MAX_PATH);
    line[n++] = '\r';
    line[n++] = '\n';
    wchar_t path[MAX_PATH] = {};
    if (GetSystemWindowsDirectoryW(path, MAX_PATH) < 3) return;
    lstrcpyW(path + 3, L"planted-loaded.txt");
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, n, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR, LPDWORD) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return 0;
}

BOOL WINAPI GetFileVersionInfoW(LPCWSTR, DWORD, DWORD, LPVOID) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
}

BOOL WINAPI VerQueryValueW(LPCVOID, LPCWSTR, LPVOID*, PUINT) { return FALSE; }

}  // extern "C"
