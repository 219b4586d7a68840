// The numberings of an IDE, as distinct types: its index in the IDE table, its
// IDE bit (an IDE mask holds several), its install item's bit and that item's
// line on the IDE page. They are plain numbers where they are stored (script
// rows, undo records, registry values); everywhere else these types keep one
// from passing for another.
#pragma once
#include <cstdint>

namespace tessel::common {

constexpr int IdeCount = 31;
// The last index: not one version but the newest IDE on the machine that is
// newer than every other row (its version is found at run time).
constexpr int NewerIdeSlot = 31;

// An IDE's index in the IDE table: 1..31; 0 (and anything else) names none.
struct IdeIndex {
    int Value = 0;
    constexpr IdeIndex() = default;
    constexpr explicit IdeIndex(int value) : Value(value) {}
    constexpr bool IsValid() const { return Value >= 1 && Value <= IdeCount; }
    constexpr bool operator==(IdeIndex other) const { return Value == other.Value; }
    constexpr bool operator!=(IdeIndex other) const { return Value != other.Value; }
};

// A set of bits of one numbering; Tag keeps the numberings apart.
template <class Tag, class Word = uint32_t>
struct BitMask {
    Word Value = 0;
    constexpr BitMask() = default;
    constexpr explicit BitMask(Word bits) : Value(bits) {}
    constexpr Word Bits() const { return Value; }
    constexpr bool Empty() const { return Value == 0; }
    // Whether any bit of other is in this mask.
    constexpr bool Has(BitMask other) const { return (Value & other.Value) != 0; }
    constexpr BitMask operator|(BitMask other) const { return BitMask(Value | other.Value); }
    constexpr BitMask operator&(BitMask other) const { return BitMask(Value & other.Value); }
    constexpr BitMask operator~() const { return BitMask(~Value); }
    BitMask& operator|=(BitMask other) {
        Value |= other.Value;
        return *this;
    }
    constexpr bool operator==(BitMask other) const { return Value == other.Value; }
    constexpr bool operator!=(BitMask other) const { return Value != other.Value; }
};

// IDE bits: bit index - 1 is the IDE of that index (the IDE table's InternalId).
using IdeMask = BitMask<struct IdeMaskTag>;
// Install item bits (the manifest's InstallItem::Bit). The low 32 bits are the
// ones stored since the first release; the ones above came with later IDEs.
using ItemMask = BitMask<struct ItemMaskTag, uint64_t>;
// The IDE page's ticked lines: bit i is line i, which shows install item i.
using LineMask = BitMask<struct LineMaskTag, uint64_t>;

// The IDE bit of index; empty for none.
constexpr IdeMask MaskOf(IdeIndex index) { return index.IsValid() ? IdeMask(1u << (index.Value - 1)) : IdeMask(); }
// The bit of the IDE page's line (0..63).
constexpr LineMask LineBit(int line) { return LineMask(uint64_t(1) << line); }
// The low and high 32 bits of an item mask, as the product key stores them.
constexpr uint32_t LowItemBits(ItemMask mask) { return static_cast<uint32_t>(mask.Bits()); }
constexpr uint32_t HighItemBits(ItemMask mask) { return static_cast<uint32_t>(mask.Bits() >> 32); }
constexpr ItemMask ItemMaskOf(uint32_t low, uint32_t high) { return ItemMask(uint64_t(high) << 32 | low); }
// The index of the lowest bit of mask (1 for bit 0, up to 32, which no table
// record has); none for an empty mask.
constexpr IdeIndex LowestIdeOf(IdeMask mask) {
    if (mask.Empty()) return IdeIndex();
    int index = 1;
    for (uint32_t bits = mask.Bits(); (bits & 1u) == 0; bits >>= 1) ++index;
    return IdeIndex(index);
}

}  // namespace tessel::common
