// The table of supported IDE versions.
#include "common/IdeTable.h"

namespace tessel::common {
// The tables here are laid out by hand, in columns.
// clang-format off

namespace {
constexpr bool Delphi = true, CBuilder = false;
constexpr bool Only32 = false, Both = true;
constexpr bool No64BitIde = false, With64BitIde = true;
}

#define IDE(index, name, key, h1, h2, h3, delphi, w64, ide64) \
    { name, MaskOf(IdeIndex(index)), key, { h1, h2, h3 }, delphi, w64, ide64 }

const IdeVersion IdeTable[IdeCount + 1] = {
    { L"", IdeMask(), L"", { nullptr, nullptr, nullptr }, false, false, false },
    IDE(1,  L"Delphi3",     L"Software\\Borland\\Delphi\\3.0",      L"delphi3.cfg", nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(2,  L"Delphi4",     L"Software\\Borland\\Delphi\\4.0",      L"delphi4.cfg", L"delphi4.ohi", L"delphi4.ohl", Delphi,   Only32, No64BitIde),
    IDE(3,  L"Delphi5",     L"Software\\Borland\\Delphi\\5.0",      L"delphi5.ohi", L"delphi5.ohl", nullptr,        Delphi,   Only32, No64BitIde),
    IDE(4,  L"CBuilder3",   L"Software\\Borland\\C++Builder\\3.0",  nullptr,        nullptr,        nullptr,        CBuilder, Only32, No64BitIde),
    IDE(5,  L"CBuilder4",   L"Software\\Borland\\C++Builder\\4.0",  L"bcb4.cfg",    L"bcb4.ohi",    L"bcb4.ohl",    CBuilder, Only32, No64BitIde),
    IDE(6,  L"CBuilder5",   L"Software\\Borland\\C++Builder\\5.0",  L"bcb5.ohi",    L"bcb5.ohl",    nullptr,        CBuilder, Only32, No64BitIde),
    IDE(7,  L"Delphi6",     L"Software\\Borland\\Delphi\\6.0",      L"delphi6.ohi", L"delphi6.ohl", L"delphi6.als", Delphi,   Only32, No64BitIde),
    IDE(8,  L"CBuilder6",   L"Software\\Borland\\C++Builder\\6.0",  L"bcb6.ohi",    L"bcb6.ohl",    L"bcb6.als",    CBuilder, Only32, No64BitIde),
    IDE(9,  L"Delphi7",     L"Software\\Borland\\Delphi\\7.0",      L"d7.ohi",      L"d7.ohl",      L"d7.als",      Delphi,   Only32, No64BitIde),
    IDE(10, L"Delphi9",     L"Software\\Borland\\BDS\\3.0",         nullptr,        nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(11, L"BDS2006",     L"Software\\Borland\\BDS\\4.0",         nullptr,        nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(12, L"Delphi2007",  L"Software\\Borland\\BDS\\5.0",         nullptr,        nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(13, L"BDS2009",     L"Software\\CodeGear\\BDS\\6.0",        nullptr,        nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(14, L"BDS2010",     L"Software\\CodeGear\\BDS\\7.0",        nullptr,        nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(15, L"RADStudio8",  L"Software\\Embarcadero\\BDS\\8.0",     nullptr,        nullptr,        nullptr,        Delphi,   Only32, No64BitIde),
    IDE(16, L"RADStudio9",  L"Software\\Embarcadero\\BDS\\9.0",     nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(17, L"RADStudio10", L"Software\\Embarcadero\\BDS\\10.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(18, L"RADStudio11", L"Software\\Embarcadero\\BDS\\11.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(19, L"RADStudio12", L"Software\\Embarcadero\\BDS\\12.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(20, L"RADStudio14", L"Software\\Embarcadero\\BDS\\14.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(21, L"RADStudio15", L"Software\\Embarcadero\\BDS\\15.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(22, L"RADStudio16", L"Software\\Embarcadero\\BDS\\16.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(23, L"RADStudio17", L"Software\\Embarcadero\\BDS\\17.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(24, L"RADStudio18", L"Software\\Embarcadero\\BDS\\18.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(25, L"RADStudio19", L"Software\\Embarcadero\\BDS\\19.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(26, L"RADStudio20", L"Software\\Embarcadero\\BDS\\20.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(27, L"RADStudio21", L"Software\\Embarcadero\\BDS\\21.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(28, L"RADStudio22", L"Software\\Embarcadero\\BDS\\22.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   No64BitIde),
    IDE(29, L"RADStudio23", L"Software\\Embarcadero\\BDS\\23.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   With64BitIde),
    // The key jumps from 23.0 to 37.0: never computed, always written out.
    IDE(30, L"RADStudio37", L"Software\\Embarcadero\\BDS\\37.0",    nullptr,        nullptr,        nullptr,        Delphi,   Both,   With64BitIde),
};

#undef IDE

IdeIndex IdeIndexByMask(IdeMask mask) {
    for (int i = 1; i <= IdeCount; ++i)
        if (IdeTable[i].InternalId == mask) return IdeIndex(i);
    return IdeIndex();
}

// clang-format on
}  // namespace tessel::common
