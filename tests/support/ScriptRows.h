// Script rows written the way the table and the undo records number them, for
// tests that run single rows or a small script of their own.
#pragma once
#include <cstdint>
#include "script/rows/ScriptRow.h"

// Locations as the stored numbers (3: the install folder, 4: the IDE's help folder).
inline tessel::script::ScriptRow Row(uint32_t word0, const wchar_t* text = nullptr, uint32_t param = 0,
                                     uint32_t location = 0, const wchar_t* text2 = nullptr,
                                     const wchar_t* text3 = nullptr, uint32_t location2 = 0, uint32_t options = 0,
                                     const tessel::script::CopyTarget* target = nullptr) {
    using tessel::common::LocationCodeFrom;
    return tessel::script::ScriptRow{
        word0, text, param, LocationCodeFrom(location), text2, text3, LocationCodeFrom(location2), options, target};
}
template <typename... Rest>
tessel::script::ScriptRow Row(tessel::common::RowKind kind, Rest... rest) {
    return Row(tessel::common::FirstWord(kind), rest...);
}
