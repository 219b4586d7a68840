// The payload: the library's files, carried as "QVLIB" resources of PayloadModule.
#pragma once
#include <windows.h>
#include <string>
#include "common/Errors.h"

namespace tessel::common {

// Writes payload resource id (type "QVLIB" in PayloadModule) to fileName, replacing it.
[[nodiscard]] DWORD SaveResourceToFile(unsigned id, const std::wstring& fileName);
// The resource's bytes; ERROR_RESOURCE_DATA_NOT_FOUND (or the system's reason) when it is missing.
[[nodiscard]] DWORD LoadPayload(unsigned id, const void*& data, DWORD& size);

}  // namespace tessel::common
