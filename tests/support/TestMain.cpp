// Test entry point: wide-character main for -municode programs.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "common/ProcessGlobals.h"
#include "support/HandleProbe.h"

using namespace tessel::common;

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"--probe-handles") return RunHandleProbe();
    InitPlatformId();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
