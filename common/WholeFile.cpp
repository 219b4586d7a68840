// The whole-file read and the whole-buffer write.
#include "common/WholeFile.h"

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

#include "common/Handles.h"
#include "common/TextConversion.h"

namespace tessel::common {

DWORD ReadOpenFile(HANDLE file, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return LastErrorOr(ERROR_READ_FAULT);
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) >= WholeFileLimit)
        return ERROR_FILE_TOO_LARGE;
    const size_t wanted = std::min(static_cast<size_t>(size.QuadPart), maxBytes);
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return LastErrorOr(ERROR_READ_FAULT);
    std::string buffer;
    // The one place a size from outside decides an allocation: a file larger
    // than this process can hold is a failure, not an exception. A 32-bit
    // process's strings end near 1 GB, below the limit above.
    if (wanted > buffer.max_size()) return ERROR_NOT_ENOUGH_MEMORY;
    try {
        buffer.resize(wanted);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    size_t total = 0;
    while (total < buffer.size()) {
        DWORD got = 0;
        if (!ReadFile(file, &buffer[total], static_cast<DWORD>(buffer.size() - total), &got, nullptr))
            return LastErrorOr(ERROR_READ_FAULT);
        if (got == 0) return ERROR_HANDLE_EOF;  // the file shrank under the read
        total += got;
    }
    bytes = std::move(buffer);
    return 0;
}

DWORD WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, MAXDWORD));
        DWORD written = 0;
        if (!WriteFile(file, at, chunk, &written, nullptr)) return LastErrorOr(ERROR_WRITE_FAULT);
        if (written == 0) return ERROR_WRITE_FAULT;
        at += written;
        size -= written;
    }
    return 0;
}

DWORD ReadFileBytes(const std::wstring& fileName, std::string& bytes, DWORD shareMode, DWORD access) {
    bytes.clear();
    UniqueFile file(
        CreateFileW(fileName.c_str(), access, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorOr(ERROR_OPEN_FAILED);
    return ReadOpenFile(file.get(), bytes);
}

std::wstring ReadTextFile(const std::wstring& fileName) {
    std::string bytes;
    if (ReadFileBytes(fileName, bytes, 0, GENERIC_READ | GENERIC_WRITE) != 0) return std::wstring();
    try {
        return FromAnsi(bytes);
    } catch (const std::exception&) {
        return std::wstring();  // the text does not fit in memory
    }
}

DWORD WriteFileBytes(const std::wstring& fileName, const void* data, size_t size) {
    UniqueFile file(
        CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorOr(ERROR_CANNOT_MAKE);
    return WriteAll(file.get(), data, size);
}

}  // namespace tessel::common
