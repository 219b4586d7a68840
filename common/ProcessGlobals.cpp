// The process-wide facts: platform id and payload module.
#include "common/ProcessGlobals.h"

namespace tessel::common {

DWORD PlatformId = 0;
HMODULE PayloadModule = nullptr;

void InitPlatformId() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 276 bytes, the UTF-16 structure
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&info)) PlatformId = info.dwPlatformId;
#pragma GCC diagnostic pop
}

}  // namespace tessel::common
