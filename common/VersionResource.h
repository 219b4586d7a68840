// The product version of a program image, read from its version resource in
// the image's bytes: no version DLL, no temporary copy of the file.
// Pure: no Win32 calls, so it is tested directly over crafted images.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tessel::common {

// The image's product version (VS_FIXEDFILEINFO dwProductVersionMS and LS).
// False when the bytes are no PE image (32- or 64-bit), hold no version
// resource, or anything the walk reads lies outside them.
bool ImageProductVersion(const void* image, size_t size, uint32_t& ms, uint32_t& ls);

}  // namespace tessel::common
