// The pieces the install script is assembled from. ScriptTable.cpp puts them
// in order; the other script units fill in the IDE blocks and the demos.
#pragma once
#include <cstddef>
#include <cstdint>
#include "common/IdeTable.h"
#include "script/manifest/Manifest.h"
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

// The items of the IDEs whose row passes pick, ORed.
template <typename Pick>
constexpr uint64_t ItemsOfIdes(Pick pick) {
    uint64_t bits = 0;
    for (int i = 1; i <= common::IdeCount; ++i)
        if (pick(common::IdeIndex(i))) bits |= common::IdeOf(common::IdeIndex(i)).Item.Bits();
    return bits;
}

// Install-item bits that the script's guards test (not IDE bits).
namespace ItemBit {
constexpr uint64_t HelpFiles = HelpFilesItem.Bit.Bits();
constexpr uint64_t DelphiDemos = DelphiDemosItem.Bit.Bits();
constexpr uint64_t CBuilderDemos = CBuilderDemosItem.Bit.Bits();
// The IDE whose help files are Help 2 files.
constexpr uint64_t Bds2006 = common::IdeOf(common::IdeIndex(11)).Item.Bits();
// Delphi 6 (index 7) and every later IDE.
constexpr uint64_t Delphi6AndLater = ItemsOfIdes([](common::IdeIndex i) { return i.Value >= 7; });
// The IDEs whose help has a keyword alias file.
constexpr uint64_t WithAliasFile = ItemsOfIdes([](common::IdeIndex i) { return common::IdeOf(i).AliasFile != 0; });
}  // namespace ItemBit

// The library's own units, forms, include and resource files in "Source\".
struct LibraryFile {
    uint32_t Id;
    const wchar_t* Name;
    bool AlsoForDelphi3;  // Delphi 3 builds from its own copy in its package folder
};
extern const ConstList<LibraryFile> LibrarySources;

// The IDE blocks, in two runs: the demo section stands between them.
void AddIdeBlocksUpToCBuilder6(ScriptBuilder& s);
void AddIdeBlocksFromXE101(ScriptBuilder& s);
void AddDemoProjects(ScriptBuilder& s);

}  // namespace tessel::script
