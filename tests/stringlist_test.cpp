// The string list: ordered insertion, the binary search, the ANSI line loader and both writers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/Handles.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/StringList.h"
#include "support/TestFiles.h"

using namespace tessel::common;

namespace {

// Loads bytes through a scratch file and returns the lines joined with "|".
std::wstring LoadLines(const std::string& bytes, int* count = nullptr) {
    EXPECT_EQ(WriteFileBytes(L"C:\\utlines.txt", bytes), 0u);
    StringList list;
    list.LoadFromFile(L"C:\\utlines.txt");
    if (count) *count = list.Count();
    std::wstring joined;
    for (int i = 0; i < list.Count(); ++i) joined += (i ? L"|" : L"") + list.Get(i);
    return joined;
}

}  // namespace

TEST(StringList, AddKeepsAscendingOrderAndInsertsDuplicates) {
    StringList list;
    EXPECT_EQ(list.Duplicates(), DuplicatesPolicy::Ignore);
    EXPECT_EQ(list.Add(L"b"), 0);
    EXPECT_EQ(list.Add(L"a"), 0);
    EXPECT_EQ(list.Get(0), L"a");
    EXPECT_EQ(list.Get(1), L"b");
    EXPECT_EQ(list.Add(L"c"), 2);

    // An equal string is inserted too, at the position of the one found.
    EXPECT_EQ(list.Add(L"b"), 1);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(1), L"b");
    EXPECT_EQ(list.Get(2), L"b");
    EXPECT_EQ(list.Get(3), L"c");

    // Out of range reads are empty; an insertion out of range is ignored.
    EXPECT_EQ(list.Get(-1), L"");
    EXPECT_EQ(list.Get(4), L"");
    list.Insert(5, L"z");
    list.Insert(-1, L"z");
    EXPECT_EQ(list.Count(), 4);
    list.Insert(4, L"0");
    EXPECT_EQ(list.Get(4), L"0");
    EXPECT_EQ(list.Count(), 5);

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Get(0), L"");
}

TEST(StringList, FindIsCaseSensitiveAndReportsInsertionPoints) {
    StringList list;
    list.Add(L"abc");
    list.Add(L"xyz");
    EXPECT_EQ(list.IndexOf(L"abc"), 0);
    EXPECT_EQ(list.IndexOf(L"Abc"), -1);
    EXPECT_EQ(list.IndexOf(L"ABC"), -1);
    list.Add(L"Abc");
    EXPECT_EQ(list.Count(), 3);

    int index = -5;
    EXPECT_FALSE(list.Find(L"zzz", index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(StringList().Find(L"a", index));
    EXPECT_EQ(index, 0);

    // With DuplicatesPolicy::Accept a hit reports the first of several equal strings.
    StringList dups;
    dups.SetDuplicates(DuplicatesPolicy::Accept);
    for (const wchar_t* s : {L"m", L"m", L"m", L"m", L"a", L"z"}) dups.Add(s);
    EXPECT_TRUE(dups.Find(L"m", index));
    EXPECT_EQ(index, 1);
}

TEST(StringList, HoldsThousandsInOrder) {
    StringList list;
    for (int i = 0; i < 2500; ++i) {
        wchar_t buf[16];
        wsprintfW(buf, L"k%05d", 2499 - i);
        list.Add(buf);
    }
    EXPECT_EQ(list.Count(), 2500);
    EXPECT_EQ(list.Get(0), L"k00000");
    EXPECT_EQ(list.Get(2499), L"k02499");
    EXPECT_EQ(list.IndexOf(L"k01234"), 1234);
}

TEST(StringList, LoadSplitsAtEveryKindOfLineEnd) {
    int count = -1;
    EXPECT_EQ(LoadLines("x\r\r\ny", &count), L"x||y");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(LoadLines("", &count), L"");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(LoadLines("\r\n", &count), L"");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(LoadLines("a\nb\rc\r\nd", &count), L"a|b|c|d");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(LoadLines("a\n\rb", &count), L"a||b");  // LF CR: a line end, then an empty line
    EXPECT_EQ(count, 3);
    EXPECT_EQ(LoadLines("a\r\n\r\n", &count), L"a|");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(LoadLines(std::string("a\r\nb\0c\r\n", 8), &count), L"a|b");  // a zero byte ends it
    EXPECT_EQ(count, 2);

    // Loading replaces the contents; a missing file leaves the list empty.
    StringList list;
    list.Add(L"old");
    list.LoadFromFile(L"C:\\utnosuchfile.txt");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, AFileTooLargeForMemoryLoadsAsNothing) {
    StringList list;
    for (LONGLONG size : {0x7FFFFF00LL, 0x30000000LL}) {
        {
            UniqueFile f(CreateFileW(L"C:\\slbig.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            LARGE_INTEGER end;
            end.QuadPart = size;
            ASSERT_TRUE(f.valid() && SetFilePointerEx(f.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(f.get()));
        }
        list.Add(L"old");
        EXPECT_NO_THROW(list.LoadFromFile(L"C:\\slbig.txt")) << size;
        EXPECT_EQ(list.Count(), 0) << size;
    }
    DeleteFileW(L"C:\\slbig.txt");
}

TEST(StringList, IndexOfCanMissAStringOfAnUnsortedFile) {
    ASSERT_EQ(WriteFileBytes(L"C:\\utunsorted.txt", "d\r\nc\r\nb\r\na\r\n"), 0u);
    StringList list;
    list.LoadFromFile(L"C:\\utunsorted.txt");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(0), L"d");  // the file's order is kept
    EXPECT_EQ(list.IndexOf(L"a"), -1);
    EXPECT_EQ(list.IndexOf(L"d"), -1);
}

TEST(StringList, SaveWritesEveryLineWithCrLf) {
    StringList list;
    list.SaveToFileA(L"C:\\utempty.txt");
    EXPECT_EQ(FileBytes(L"C:\\utempty.txt"), "");

    list.Add(L"a");
    list.Add(L"b");
    list.SaveToFileA(L"C:\\utab.txt");
    EXPECT_EQ(FileBytes(L"C:\\utab.txt"), "a\r\nb\r\n");
    list.SaveToFile(L"C:\\utabw.txt");
    EXPECT_EQ(FileBytes(L"C:\\utabw.txt"), std::string("a\0\r\0\n\0b\0\r\0\n\0", 12));

    // Saving replaces a longer file; the result loads back as the same lines.
    list.Add(L"c");
    list.SaveToFileA(L"C:\\utab.txt");
    StringList back;
    back.LoadFromFile(L"C:\\utab.txt");
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Get(2), L"c");
}

TEST(StringList, LinesLongerThanTheWriteBufferAreWrittenIntact) {
    StringList list;
    const std::wstring big(9000, L'q');
    const std::wstring exact(8094, L'r');  // exactly fills the buffer with its CR LF
    list.Add(L"a");
    list.Add(big);
    list.Add(exact);
    list.Add(L"z");
    list.SaveToFileA(L"C:\\utbig.txt");
    const std::string expected = "a\r\n" + std::string(9000, 'q') + "\r\n" + std::string(8094, 'r') + "\r\nz\r\n";
    EXPECT_TRUE(FileBytes(L"C:\\utbig.txt") == expected);

    list.SaveToFile(L"C:\\utbigw.txt");
    const std::string wide = FileBytes(L"C:\\utbigw.txt");
    ASSERT_EQ(wide.size(), expected.size() * 2);
    const std::wstring text(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / 2);
    EXPECT_TRUE(text == L"a\r\n" + big + L"\r\n" + exact + L"\r\nz\r\n");

    // Many short lines cross the buffer boundary without losing or doubling bytes.
    StringList many;
    std::string manyExpected;
    for (int i = 0; i < 3000; ++i) {
        wchar_t buf[16];
        wsprintfW(buf, L"n%05d", i);
        many.Add(buf);
        manyExpected += ToAnsi(buf) + "\r\n";
    }
    many.SaveToFileA(L"C:\\utmany.txt");
    EXPECT_TRUE(FileBytes(L"C:\\utmany.txt") == manyExpected);
}
