// The pieces the install script is assembled from. ScriptTable.cpp puts them
// in order; the other script units fill in the IDE blocks and the demos.
#pragma once
#include <cstddef>
#include <cstdint>
#include "script/table/ScriptBuilder.h"

namespace tessel::script {

// A fixed list of constant records, iterable with range-for.
template <typename T>
struct ConstList {
    const T* Items;
    size_t Count;
    const T* begin() const { return Items; }
    const T* end() const { return Items + Count; }
};
template <typename T, size_t N>
constexpr ConstList<T> List(const T (&items)[N]) {
    return {items, N};
}

// Install-item bits that the script's guards test (not IDE bits).
namespace ItemBit {
constexpr uint32_t HelpFiles = 0x00000080;
constexpr uint32_t DelphiDemos = 0x00000100;
constexpr uint32_t CBuilderDemos = 0x00000200;
constexpr uint32_t Bds2006 = 0x00001000;
// Delphi 6, C++Builder 6, Delphi 7 and every later IDE (RAD Studio 13's
// item has the top bit, the last free one).
constexpr uint32_t Delphi6AndLater = 0xFFFFFC48;
// The IDEs whose help has a keyword alias file: Delphi 6, C++Builder 6, Delphi 7.
constexpr uint32_t WithAliasFile = 0x00000448;
}  // namespace ItemBit

// The library's own units, forms, include and resource files in "Source\".
struct LibraryFile {
    uint32_t Id;
    const wchar_t* Name;
    bool AlsoForDelphi3;  // Delphi 3 builds from its own copy in its package folder
};
extern const ConstList<LibraryFile> LibrarySources;

// Copy target of the include file that the Delphi 3 folder gets from "Source\".
constexpr int Delphi3IncludeTarget = 7;

// The IDE blocks, in two runs: the demo section stands between them.
void AddIdeBlocksUpToCBuilder6(ScriptBuilder& s);
void AddIdeBlocksFromXE101(ScriptBuilder& s);
void AddDemoProjects(ScriptBuilder& s);

}  // namespace tessel::script
