// The short names of the IDEs, keyed by the IDE table's index.
#include "common/IdeShortNames.h"

namespace tessel::common {

namespace {

// [index]: the name; nullptr where the IDE is not offered (C++Builder 3).
// The 64-bit IDE of RAD Studio 12 and 13 has no name of its own: it comes
// with its IDE whenever discovery finds it.
constexpr const wchar_t* kShortNames[IdeCount + 1] = {
    nullptr,   L"d3",     L"d4",     L"d5",      nullptr,   L"cb4",    L"cb5",    L"d6",
    L"cb6",    L"d7",     L"d2005",  L"bds2006", L"rs2007", L"rs2009", L"rs2010", L"xe",
    L"xe2",    L"xe3",    L"xe4",    L"xe5",     L"xe6",    L"xe7",    L"xe8",    L"rs10",
    L"rs10.1", L"rs10.2", L"rs10.3", L"rs10.4",  L"rs11",   L"rs12",   L"rs13",
};

wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameName(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (LowerAscii(a[i]) != b[i]) return false;
    return i == a.size() && !b[i];
}

}  // namespace

const wchar_t* IdeShortName(IdeIndex index) { return index.IsValid() ? kShortNames[index.Value] : nullptr; }

IdeIndex IdeOfShortName(const std::wstring& name) {
    for (IdeIndex index(1); index.IsValid(); ++index.Value)
        if (kShortNames[index.Value] && SameName(name, kShortNames[index.Value])) return index;
    return IdeIndex();
}

int NewerIdeNumberOfName(const std::wstring& name) {
    if (name.size() < 5 || name.size() > 6 || !SameName(name.substr(0, 3), L"bds") || name[3] == L'0') return 0;
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9') return 0;
        number = number * 10 + (name[i] - L'0');
    }
    return number >= FirstNewerIdeNumber ? number : 0;
}

}  // namespace tessel::common
