// A small sorted list of UTF-16 strings with ANSI and UTF-16 file readers and writers.
#include "common/StringList.h"

#include <windows.h>

#include <algorithm>
#include <exception>

#include "common/Handles.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

namespace tessel::common {

namespace {

constexpr size_t kWriteBuffer = 8096;  // bytes for ANSI, characters for UTF-16

// Writes the lines, each followed by CR LF, through a fixed buffer. A line too
// long for the buffer is written on its own instead of overflowing it. 0, or
// the Win32 error of the first write that failed or came up short.
template <typename Ch, typename Convert>
DWORD WriteLines(const std::wstring& fileName, int count, Convert lineAt) {
    UniqueFile file(
        CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    std::vector<Ch> buffer(kWriteBuffer);
    size_t fill = 0;
    DWORD error = 0;
    auto write = [&file, &error](const Ch* data, size_t units) {
        if (units != 0 && error == 0) error = WriteAll(file.get(), data, units * sizeof(Ch));
    };
    for (int i = 0; i < count; ++i) {
        std::basic_string<Ch> line = lineAt(i);
        line.push_back(Ch('\r'));
        line.push_back(Ch('\n'));
        if (kWriteBuffer - fill < line.size()) {
            write(buffer.data(), fill);
            fill = 0;
        }
        if (line.size() > kWriteBuffer) {
            write(line.data(), line.size());
            continue;
        }
        std::copy(line.begin(), line.end(), buffer.begin() + fill);
        fill += line.size();
    }
    write(buffer.data(), fill);
    return error;
}

}  // namespace

StringList::~StringList() { Clear(); }

void StringList::Clear() {
    lines_.clear();
    lines_.shrink_to_fit();
}

DWORD StringList::LoadFromFile(const std::wstring& fileName) {
    Clear();
    std::string bytes;
    if (const DWORD err = ReadFileBytes(fileName, bytes, 0, GENERIC_READ)) return err;
    try {
        bytes.push_back('\0');
        size_t pos = 0;
        while (bytes[pos] != '\0') {
            const size_t start = pos;
            while (bytes[pos] != '\r' && bytes[pos] != '\n' && bytes[pos] != '\0') ++pos;
            lines_.push_back(FromAnsi(bytes.substr(start, pos - start)));
            if (bytes[pos] == '\r') ++pos;
            if (bytes[pos] == '\n') ++pos;
        }
    } catch (const std::exception&) {
        Clear();  // a file too large for memory loads as nothing, like one that cannot be read
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

DWORD StringList::SaveToFile(const std::wstring& fileName) {
    return WriteLines<wchar_t>(fileName, Count(), [this](int i) { return lines_[i]; });
}

DWORD StringList::SaveToFileA(const std::wstring& fileName) {
    // The converted byte count is what is copied, so a character that needs
    // two bytes in the code page does not cut the line short.
    return WriteLines<char>(fileName, Count(), [this](int i) { return ToAnsi(lines_[i]); });
}

int StringList::Add(const std::wstring& s) {
    int index = 0;
    Find(s, index);
    Insert(index, s);
    return index;
}

void StringList::Insert(int index, const std::wstring& s) {
    if (index < 0 || index > Count()) return;
    lines_.insert(lines_.begin() + index, s);
}

bool StringList::Find(const std::wstring& s, int& index) const {
    int lo = 0;
    int hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int i = (lo + hi) / 2;
        const int c = CompareStrings(Get(i), s);
        if (c < 0) {
            lo = i + 1;
        } else {
            hi = i - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != DuplicatesPolicy::Accept) lo = i;
            }
        }
    }
    index = lo;
    return found;
}

int StringList::IndexOf(const std::wstring& s) const {
    int index = 0;
    return Find(s, index) ? index : -1;
}

std::wstring StringList::Get(int index) const {
    if (index < 0 || index >= Count()) return std::wstring();
    return lines_[index];
}

int StringList::CompareStrings(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, SORT_STRINGSORT, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           2;
}

}  // namespace tessel::common
