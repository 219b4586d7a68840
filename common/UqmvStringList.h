// A small growable list of UTF-16 strings kept in ascending order by Add, with a
// binary search, a line loader for ANSI text files and ANSI and UTF-16 writers.
// Used to merge one text file's lines into another.
#pragma once
#include <string>
#include <vector>

// How Find treats equal strings.
enum TqmvDuplicates { dupIgnore = 0, dupAccept = 1, dupError = 2 };

class TqmvStringList {
public:
    TqmvStringList() = default;
    TqmvStringList(const TqmvStringList&) = delete;
    TqmvStringList& operator=(const TqmvStringList&) = delete;
    virtual ~TqmvStringList();

    // Empties every slot and frees the array.
    void Clear();
    // Replaces the contents with the lines of an ANSI text file; stays empty
    // when the file cannot be opened. CR LF, a lone CR and a lone LF end a line.
    void LoadFromFile(const std::wstring& fileName);
    // Does nothing.
    void MergeFromFile(const std::wstring& fileName);
    // Writes every string followed by CR LF, UTF-16LE without byte-order mark.
    void SaveToFile(const std::wstring& fileName);
    // Writes every string followed by CR LF in the system ANSI code page.
    void SaveToFileA(const std::wstring& fileName);
    // Does nothing: Add keeps the order, LoadFromFile keeps the file's order.
    void Sort();
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
    // Does nothing: the list cannot be changed in place.
    void Put(int index, const std::wstring& value);

    std::wstring Strings(int index) const { return Get(index); }
    int Count() const { return FLinesCount; }
    TqmvDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TqmvDuplicates value) { FDuplicates = value; }

private:
    // Stores s after the last string; returns its index.
    int AppendLine(const std::wstring& s);
    // Grows the array by one step when it is full.
    void Grow();
    // -1, 0 or 1 by the user locale's string sort, case-sensitive; -2 when the comparison fails.
    static int CompareStrings(const std::wstring& a, const std::wstring& b);

    TqmvDuplicates FDuplicates = dupIgnore;
    std::vector<std::wstring> FLines;
    int FLinesCount = 0;
    int FLinesCapacity = 0;
};
