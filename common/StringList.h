// A small growable list of UTF-16 strings kept in ascending order by Add, with a
// binary search, a line loader for ANSI text files and ANSI and UTF-16 writers.
// Used to merge one text file's lines into another.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace tessel::common {

// How Find treats equal strings.
enum class DuplicatesPolicy { Ignore = 0, Accept = 1, Error = 2 };

class StringList {
public:
    StringList() = default;
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;
    virtual ~StringList();

    // Empties the list and frees its memory.
    void Clear();
    // Replaces the contents with the lines of an ANSI text file; stays empty
    // when the file cannot be opened. CR LF, a lone CR and a lone LF end a line.
    // 0, or the Win32 error that kept the file from being read whole.
    DWORD LoadFromFile(const std::wstring& fileName);
    // Writes every string followed by CR LF, UTF-16LE without byte-order mark.
    // 0, or the Win32 error that kept the file from being written whole.
    DWORD SaveToFile(const std::wstring& fileName);
    // Writes every string followed by CR LF in the system ANSI code page; 0 or the error.
    DWORD SaveToFileA(const std::wstring& fileName);
    // Inserts s where Find places it (also when an equal string is present); returns that index.
    int Add(const std::wstring& s);
    // Stores s at index (0..Count), moving the later strings up. An index out of range is ignored.
    void Insert(int index, const std::wstring& s);
    // Binary search assuming ascending order; index is the hit or the insertion point.
    bool Find(const std::wstring& s, int& index) const;
    // The index Find reports, or -1.
    int IndexOf(const std::wstring& s) const;
    // The string at index; empty when index is out of range.
    std::wstring Get(int index) const;

    int Count() const { return static_cast<int>(lines_.size()); }
    DuplicatesPolicy Duplicates() const { return duplicates_; }
    void SetDuplicates(DuplicatesPolicy value) { duplicates_ = value; }

private:
    // -1, 0 or 1 by the user locale's string sort, case-sensitive; -2 when the comparison fails.
    static int CompareStrings(const std::wstring& a, const std::wstring& b);

    DuplicatesPolicy duplicates_ = DuplicatesPolicy::Ignore;
    std::vector<std::wstring> lines_;
};

}  // namespace tessel::common
