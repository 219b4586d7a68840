// Path joining and text searches.
#include <gtest/gtest.h>
#include "common/PathText.h"

using namespace tessel::common;

TEST(JoinPath, PutsExactlyOneBackslashBetweenParts) {
    EXPECT_EQ(JoinPath(L"C:\\A", L"B"), L"C:\\A\\B");
    EXPECT_EQ(JoinPath(L"C:\\A\\", L"B"), L"C:\\A\\B");
    EXPECT_EQ(JoinPath(L"C:\\A", L"\\B"), L"C:\\A\\B");
    EXPECT_EQ(JoinPath(L"", L"B"), L"B");
    EXPECT_EQ(JoinPath(L"C:\\A", L""), L"C:\\A");
    // Only the base's trailing backslash is looked at: both stay.
    EXPECT_EQ(JoinPath(L"C:\\A\\", L"\\B"), L"C:\\A\\\\B");
    // A forward slash is no separator.
    EXPECT_EQ(JoinPath(L"C:/A", L"B"), L"C:/A\\B");
}

TEST(TextPos, FindsFirstOccurrenceEvenInsidePartialMatch) {
    EXPECT_EQ(TextPos(L"aaab", L"aab"), 2);
    EXPECT_EQ(TextPos(L"abc", L"abc"), 1);
    EXPECT_EQ(TextPos(L"abc", L"ABC"), 0);
    EXPECT_EQ(TextPos(L"", L"a"), 0);
    EXPECT_EQ(TextPos(L"a", L""), 0);
    EXPECT_EQ(AnsiTextPos("xxab", "ab"), 3);
    EXPECT_EQ(LastCharPos(L"a\\b\\c", L'\\'), 4);
    EXPECT_EQ(LastCharPos(L"abc", L'\\'), 0);
    EXPECT_EQ(LastCharPos(L"", L'\\'), 0);
}
