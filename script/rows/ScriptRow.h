// One row of the install script and the copy-target record.
#pragma once
#include <cstdint>
#include "common/RowKinds.h"

namespace tessel::script {

using namespace tessel::common;

struct CopyTarget {
    const wchar_t* FileName;  // a file name or a path relative to Location
    uint32_t Location;        // location code
};

// Nine 32-bit words: Kind and Flags, then the eight fields.
struct ScriptRow {
    uint32_t Word0;           // Kind in bits 0-15, Flags in bits 16-31
    const wchar_t* Text;      // nullptr or a constant wide string
    uint32_t Param;
    uint32_t Location;
    const wchar_t* Text2;
    const wchar_t* Text3;
    uint32_t Location2;
    uint32_t Options;
    const CopyTarget* Target;

    RowKind Kind() const { return static_cast<RowKind>(Word0 & 0xFFFF); }
    uint32_t Flags() const { return Word0 & 0xFFFF0000u; }
    bool HasFlag(uint32_t f) const { return (Word0 & f) != 0; }
};

}  // namespace tessel::script
