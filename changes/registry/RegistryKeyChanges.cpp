// Registry keys: created by the key rows, deleted whole by their undo.
#include "changes/registry/RegistryKeyChanges.h"

#include "changes/ActionResult.h"
#include "changes/RecordPaths.h"
#include "common/Registry.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::registry {

using namespace tessel::common;

namespace {
HKEY RootKeyOf(uint32_t param) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(param)); }
}  // namespace

ActionResult Apply(const ScriptRow& row, ChangeContext&) {
    // Only the predefined root keys are accepted; any other value is not a key handle.
    if (!IsPredefinedRootKey(row.Param)) return RegKeyFailure::NotCreated;
    if (CreateRegKey(RootKeyOf(row.Param), script::Str(row.Text)) != 0) return RegKeyFailure::NotCreated;
    return ActionResult();
}

DWORD Undo(const UndoRecord& rec, const std::wstring& text) {
    // A top-level key such as "Software" is never taken away as a whole.
    const size_t slash = text.rfind(L'\\');
    if (!IsPredefinedRootKey(rec.Param) || slash == std::wstring::npos || slash == 0) return 0;
    const DWORD error = DeleteRegKey(RootKeyOf(rec.Param), text);
    return IsNotThere(error) ? 0 : error;
}

}  // namespace tessel::changes::registry
