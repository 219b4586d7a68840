// The little that is process-wide on purpose: facts about the running process
// that every layer may need and nothing changes after start-up (tests excepted).
// Everything an install works on is passed (script/runner/InstallContext.h).
#pragma once
#include <windows.h>

namespace tessel::common {

// Windows platform id, read once at start-up (2 = NT family; 0 when the query failed).
extern DWORD PlatformId;
void InitPlatformId();

// Module whose "QVLIB" resources are the payload. nullptr means the running program itself;
// tests point it at setup.exe loaded as a data file.
extern HMODULE PayloadModule;

}  // namespace tessel::common
