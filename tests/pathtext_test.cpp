// Path joining.
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
