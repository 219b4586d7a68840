// What every module of changes/ offers for the row kinds it owns (the kind's
// module is in common/RowKinds.h), each in its own namespace:
//
//   ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
//       makes the row's change and says how it went in ctx;
//   DWORD Record(const ScriptRow& row, ChangeContext& ctx);
//       writes the row's undo records before its change (0 or the Win32 error;
//       a change whose record failed is not made);
//   bool Accepts(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope);
//       whether an install of this product can have written the record
//       (pure, inline in the module's header: the fuzz target uses it);
//   DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text, const UndoScope& scope);
//       takes the recorded change back (0 when nothing is left to do).
//
// Each module's header documents the fields of its rows and records.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "changes/RecordCheck.h"
#include "common/Locations.h"
#include "common/RowKinds.h"
#include "common/UndoLogFormat.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes {

class ActionResult;
struct ChangeContext;
using script::ScriptRow;
using script::Str;
namespace LogEnding = script::LogEnding;
using common::LocationCode;
using common::LocationContext;
using common::RowKind;

// A kind's stored number, for the modules' switches over their own kinds.
constexpr uint16_t KindNumber(RowKind kind) { return static_cast<uint16_t>(kind); }

}  // namespace tessel::changes
