// Process-wide state shared by the script, the uninstall engine and the pages.
#pragma once
#include <windows.h>
#include <string>

extern std::wstring InstallDir;  // the install folder
extern int CurrentIde;           // IDE index 1..29, 0 for none
extern std::wstring IdeFolder;   // package folder name of the current IDE inside InstallDir

// Windows platform id, read once at start-up (2 = NT family; 0 when the query failed).
extern DWORD PlatformId;
void InitPlatformId();

// Module whose "QVLIB" resources are the payload. nullptr means the running program itself;
// tests point it at setup.exe loaded as a data file.
extern HMODULE PayloadModule;
