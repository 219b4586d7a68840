// The lines of the IDE selection page.
#include "script/UConst.h"

// Newest IDE first, as the selection page lists them. Item bits and IDE bits are
// two numberings: the script's guards test item bits, the compiler rows IDE bits.
const TInstallItem InstallItems[InstallItemCount] = {
    { 0x40000000, L"RAD Studio 12",                 0x10000000 },  // RADStudio23
    { 0x20000000, L"RAD Studio 11",                 0x08000000 },  // RADStudio22
    { 0x10000000, L"RAD Studio XE10.4",             0x04000000 },  // RADStudio21
    { 0x08000000, L"RAD Studio XE10.3",             0x02000000 },  // RADStudio20
    { 0x04000000, L"RAD Studio XE10.2",             0x01000000 },  // RADStudio19
    { 0x02000000, L"RAD Studio XE10.1",             0x00800000 },  // RADStudio18
    { 0x01000000, L"RAD Studio XE10",               0x00400000 },  // RADStudio17
    { 0x00800000, L"RAD Studio XE8",                0x00200000 },  // RADStudio16
    { 0x00400000, L"RAD Studio XE7",                0x00100000 },  // RADStudio15
    { 0x00200000, L"RAD Studio XE6",                0x00080000 },  // RADStudio14
    { 0x00100000, L"RAD Studio XE5",                0x00040000 },  // RADStudio12
    { 0x00080000, L"RAD Studio XE4",                0x00020000 },  // RADStudio11
    { 0x00040000, L"RAD Studio XE3",                0x00010000 },  // RADStudio10
    { 0x00020000, L"RAD Studio XE2",                0x00008000 },  // RADStudio9
    { 0x00010000, L"RAD Studio XE",                 0x00004000 },  // RADStudio8
    { 0x00008000, L"RAD Studio 2010",               0x00002000 },  // BDS2010
    { 0x00004000, L"CodeGear RAD Studio 2009",      0x00001000 },  // BDS2009
    { 0x00002000, L"CodeGear RAD Studio 2007",      0x00000800 },  // Delphi2007
    { 0x00001000, L"Borland Developer Studio 2006", 0x00000400 },  // BDS2006
    { 0x00000800, L"Delphi 2005",                   0x00000200 },  // Delphi9
    { 0x00000400, L"Delphi 7",                      0x00000100 },  // Delphi7
    { 0x00000008, L"Delphi 6",                      0x00000040 },  // Delphi6
    { 0x00000004, L"Delphi 5",                      0x00000004 },  // Delphi5
    { 0x00000002, L"Delphi 4",                      0x00000002 },  // Delphi4
    { 0x00000001, L"Delphi 3",                      0x00000001 },  // Delphi3
    { 0x00000040, L"C++Builder 6",                  0x00000080 },  // CBuilder6
    { 0x00000020, L"C++Builder 5",                  0x00000020 },  // CBuilder5
    { 0x00000010, L"C++Builder 4",                  0x00000010 },  // CBuilder4
    { 0x00000080, L"Context help files",            0 },
    { 0x00000100, L"Delphi demo projects",          0 },
    { 0x00000200, L"C++Builder demo projects",      0 },
};
