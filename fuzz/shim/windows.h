// Just enough of the Windows API for the uninstall engine to build natively:
// the fuzz target runs the engine's reading and walking code on Linux under
// the sanitizers. Only types and constants: the engine calls no window.
#pragma once
#include <cstdint>

typedef uint32_t DWORD;
typedef int BOOL;
typedef struct HKEY__* HKEY;
typedef struct HINSTANCE__* HMODULE;

#define TRUE 1
#define FALSE 0
#define GENERIC_READ 0x80000000u
#define MAX_PATH 260
typedef void* HANDLE;
#define INFINITE 0xFFFFFFFFu
#define ERROR_FILE_NOT_FOUND 2u
// Nothing here sets an error: the helpers that would read it are stand-ins.
inline DWORD GetLastError() { return 0; }
// The handle owners and the file helpers' declarations (common/Handles.h,
// common/Files.h, common/WholeFile.h): stand-ins that close nothing; the engine's fuzzed
// code opens no handle.
typedef void* HLOCAL;
typedef struct {
    DWORD nLength;
    void* lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(-1))
#define ERROR_SUCCESS 0L
#define ERROR_CANT_RESOLVE_FILENAME 1921u
#define FILE_ATTRIBUTE_REPARSE_POINT 0x400u
inline BOOL CloseHandle(HANDLE) { return TRUE; }
inline BOOL FindClose(HANDLE) { return TRUE; }
inline long RegCloseKey(HKEY) { return ERROR_SUCCESS; }
inline HLOCAL LocalFree(HLOCAL) { return nullptr; }
inline BOOL FreeLibrary(HMODULE) { return TRUE; }
