// A test program started again as a compiler ("--probe-handles"): it reports
// through its exit code what it was handed. Bit 0: the handle whose value
// TESSEL_PROBE_HANDLE gives (in hex) leads to "held-by-setup.txt", a file its
// parent holds as inheritable; bit 1: it could open its output file a second
// time for writing; bit 2: it could write its output ("probe").
#include "support/HandleProbe.h"
#include <cwchar>
#include <string>
#include "common/Handles.h"

using namespace tessel::common;

namespace {

std::wstring FinalName(HANDLE h) {
    wchar_t name[MAX_PATH] = {};
    const DWORD n = GetFinalPathNameByHandleW(h, name, MAX_PATH, 0);
    return n > 0 && n < MAX_PATH ? std::wstring(name, n) : std::wstring();
}

}  // namespace

int RunHandleProbe() {
    wchar_t value[32] = {};
    GetEnvironmentVariableW(L"TESSEL_PROBE_HANDLE", value, 32);
    int code = 0;
    const auto held = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(wcstoul(value, nullptr, 16)));
    if (held && FinalName(held).find(L"held-by-setup.txt") != std::wstring::npos) code |= 1;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const std::wstring outName = FinalName(out);
    UniqueFile again(CreateFileW(outName.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    if (!outName.empty() && again) code |= 2;
    DWORD written = 0;
    if (WriteFile(out, "probe\r\n", 7, &written, nullptr) && written == 7) code |= 4;
    return code;
}
