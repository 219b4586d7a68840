// A version.dll as an attacker would plant it beside the setup or in the
// current folder: when the program loads it, it leaves a marker file naming
// itself and the program. It exports the functions a program importing
// VERSION would need, so that such a program starts and the marker is written.
//
// Wine's own user32 imports VERSION (Windows' does not, and its KnownDLLs take
// their imports from the system folder), so under Wine every program that
// uses user32 loads a planted copy at start-up. Such a load is no fault of the
// program and leaves no marker: only a load after start-up (LoadLibrary, by
// the program or by the system on its behalf) or one at start-up while the
// program's own import or delay-import table names VERSION.dll counts.
#include <windows.h>

namespace {

bool IsVersionDll(const BYTE* base, DWORD rva) {
    return rva != 0 && lstrcmpiA(reinterpret_cast<const char*>(base + rva), "version.dll") == 0;
}

// Whether the program's import or delay-import table names VERSION.dll.
bool ProgramImportsVersion() {
    const auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY* dirs = nt->OptionalHeader.DataDirectory;
    if (DWORD rva = dirs[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress) {
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + rva); d->Name; ++d)
            if (IsVersionDll(base, d->Name)) return true;
    }
    if (DWORD rva = dirs[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress) {
        for (auto* d = reinterpret_cast<const IMAGE_DELAYLOAD_DESCRIPTOR*>(base + rva); d->DllNameRVA; ++d)
            if (IsVersionDll(base, d->DllNameRVA)) return true;
    }
    return false;
}

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

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    // reserved is null for a LoadLibrary call, set for a load at start-up.
    if (reason == DLL_PROCESS_ATTACH && (reserved == nullptr || ProgramImportsVersion())) LeaveMarker(self);
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
