#include "TestFiles.h"

#include <gtest/gtest.h>

#include "common/PathText.h"
#include "common/SystemUtils.h"

using namespace tessel::common;

void MakeFile(const std::wstring& path, const std::string& content) {
    const int slash = LastCharPos(path, L'\\');  // 1-based, 0 when there is none
    if (slash > 1) CreateDirectoryPath(path.substr(0, slash - 1));
    EXPECT_EQ(0u, WriteFileBytes(path, content)) << "cannot write " << ToUtf8(path);
}
