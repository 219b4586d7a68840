// Test entry point: wide-character main for -municode programs.
#include <gtest/gtest.h>
#include <windows.h>
#include "common/ProcessGlobals.h"

using namespace tessel::common;

int wmain(int argc, wchar_t** argv) {
    InitPlatformId();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
