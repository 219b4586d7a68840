// Whole files in and out: the one read of a whole file and the one write of a
// whole buffer, with a single rule each for reads and writes that come up short.
//
// Reads: the size is measured first, then read until that many bytes are in.
// A ReadFile that returns 0 bytes before then means the file shrank under the
// read: the result is ERROR_HANDLE_EOF and no bytes (never a part read as if
// it were the whole). A file that grows meanwhile is read up to its measured size.
//
// Writes: WriteFile is called until every byte is written. A WriteFile that
// reports success but writes 0 bytes is ERROR_WRITE_FAULT; a failing one is
// its own error.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>
#include "common/Errors.h"

namespace tessel::common {

// Files of this size and more are never read whole.
inline constexpr unsigned long long WholeFileLimit = 0x7FFFFFFF;

// The bytes of the open file (opened with GENERIC_READ), from its start, as the
// rule above says; at most maxBytes of them, the first ones, when it is longer.
// ERROR_FILE_TOO_LARGE from WholeFileLimit on, ERROR_NOT_ENOUGH_MEMORY when the
// bytes do not fit in this process. bytes is empty on failure.
[[nodiscard]] DWORD ReadOpenFile(HANDLE file, std::string& bytes, size_t maxBytes = WholeFileLimit);
// Writes all of data at the file's current position, as the rule above says.
[[nodiscard]] DWORD WriteAll(HANDLE file, const void* data, size_t size);

// The whole file as bytes (empty on failure), opened with access and shareMode.
[[nodiscard]] DWORD ReadFileBytes(const std::wstring& fileName, std::string& bytes, DWORD shareMode = 0,
                                  DWORD access = GENERIC_READ);
// The whole file as ANSI bytes converted to UTF-16; empty when it cannot be
// opened for reading and writing without sharing (a read-only file, or one that
// another process holds open).
std::wstring ReadTextFile(const std::wstring& fileName);

// Creates or replaces fileName (no sharing, normal attributes) with the bytes.
// 0 or the Win32 error code of the failed create or write.
[[nodiscard]] DWORD WriteFileBytes(const std::wstring& fileName, const void* data, size_t size);
[[nodiscard]] inline DWORD WriteFileBytes(const std::wstring& fileName, const std::string& bytes) {
    return WriteFileBytes(fileName, bytes.data(), bytes.size());
}

}  // namespace tessel::common
