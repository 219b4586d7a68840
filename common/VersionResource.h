// The product version of a program image, read from its version resource in
// the image's bytes: no version DLL, no temporary copy of the file.
// The image walk is pure (no Win32 calls), so it is tested directly over
// crafted images; GetFileProductVersion reads the file for it.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessel::common {

// The image's product version (VS_FIXEDFILEINFO dwProductVersionMS and LS).
// False when the bytes are no PE image (32- or 64-bit), hold no version
// resource, or anything the walk reads lies outside them.
bool ImageProductVersion(const void* image, size_t size, uint32_t& ms, uint32_t& ls);

// The product version from the file's version resource, read from its bytes;
// ERROR_RESOURCE_TYPE_NOT_FOUND when the file has none.
[[nodiscard]] DWORD GetFileProductVersion(const std::wstring& fileName, DWORD& ms, DWORD& ls);

}  // namespace tessel::common
