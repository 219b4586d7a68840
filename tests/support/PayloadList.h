// The payload list of the source tree (payload/manifest.txt), for tests that
// compare the script or an extraction with it.
#pragma once
#include <cstdint>
#include <map>
#include <string>

// id -> path below payload/ with "\" separators ("@unqmv" for the uninstaller).
// Empty when the file cannot be read.
std::map<uint32_t, std::wstring> ReadPayloadList();

// Windows path of a payload file in the source tree.
std::wstring PayloadSourcePath(const std::wstring& relative);
