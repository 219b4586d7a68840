// Path lists: extending the IDEs' search and C++ path lists, and taking the
// install's folders off them again.
#include "changes/pathlists/PathListChanges.h"

#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordPaths.h"
#include "changes/pathlists/PathList.h"
#include "common/IdeRegistry.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/UndoRules.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::pathlists {

using namespace tessel::common;

namespace {

ActionResult ApplyAddSearchPath(const ScriptRow& row, ChangeContext& ctx) {
    const LocationContext& at = ctx.Run.Location;
    const IdeIndex ideIndex = at.CurrentIde;
    // Options bit 0: a list that is not there is no failure.
    const ActionResult noList = (row.Options & 1u) ? ActionResult() : PathListFailure::ListUnreadable;
    if (!ideIndex.IsValid() || at.IdeKey.empty()) return noList;
    const IdeVersion& ide = IdeOf(ideIndex);
    const std::wstring userKey = UserKeyOf(at);
    const std::wstring folder = ResolvePath(at, row.Location, Str(row.Text));
    std::wstring key, name;
    if (row.Text2 && *row.Text2 && row.Text3 && *row.Text3) {
        key = userKey + L"\\" + row.Text2;
        name = row.Text3;
    } else {
        key = LibraryKeyFor(ide, userKey, (row.Options & 2u) != 0);
        name = SearchPathValueName(ideIndex);
    }
    std::wstring list;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, list) != 0) return noList;
    ctx.LogText = L"Adding search path: " + folder;
    return AddFolderToList(userKey, key, name, list, folder, false, ctx);
}

ActionResult ApplyAddIdePath(const ScriptRow& row, ChangeContext& ctx) {
    const LocationContext& at = ctx.Run.Location;
    const IdeIndex ideIndex = at.CurrentIde;
    // Nothing to extend is no failure: the IDE has not made the list yet.
    if (!ideIndex.IsValid() || at.IdeKey.empty()) return ActionResult();
    std::wstring key, name;
    if (!SplitRegValuePath(UserKeyOf(at) + Str(row.Text), key, name)) return ActionResult();
    const std::wstring folder = GetInstallSubPath(at, row.Param);
    std::wstring list;
    if (ReadRegString(HKEY_CURRENT_USER, key, name, list) != 0) return ActionResult();
    ctx.LogText = L"Adding search path: " + folder;
    return AddFolderToList(UserKeyOf(at), key, name, list, folder, false, ctx);
}

}  // namespace

ActionResult AddFolderToList(const std::wstring& userKey, const std::wstring& key, const std::wstring& name,
                             const std::wstring& list, const std::wstring& folder, bool requestReload,
                             ChangeContext& ctx) {
    if (HasPathListEntry(LowerWide(list), LowerWide(folder))) {
        ctx.LogText += LogEnding::Already;
        return ActionResult();
    }
    if (WriteRegString(HKEY_CURRENT_USER, key, name, AppendPathListEntry(list, folder)) != 0)
        return PathListFailure::ListUnwritable;
    if (requestReload &&
        WriteRegString(HKEY_CURRENT_USER, userKey + GlobalsKey, L"ForceEnvOptionsUpdate", L"1") != 0)
        return PathListFailure::ReloadNotRequested;
    ctx.LogText += LogEnding::Success;
    return ActionResult();
}

DWORD RemoveFromRegPathList(const std::wstring& key, const std::wstring& name, const std::wstring& folder) {
    std::wstring value;
    if (folder.empty() || ReadRegString(HKEY_CURRENT_USER, key, name, value) != 0) return 0;
    if (!RemovePathListEntry(value, LowerWide(value), LowerWide(folder))) return 0;
    return WriteRegString(HKEY_CURRENT_USER, key, name, value);
}

DWORD RemoveFromLibraryPaths(const LocationContext& at, const std::wstring& folder) {
    DWORD first = 0;
    if (!at.CurrentIde.IsValid() || at.IdeKey.empty()) return 0;
    for (const auto& key : LibraryKeys(IdeOf(at.CurrentIde), UserKeyOf(at))) {
        const DWORD error = RemoveFromRegPathList(key, SearchPathValueName(at.CurrentIde), folder);
        if (first == 0) first = error;
    }
    return first;
}

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx) {
    return row.Kind() == RowKind::AddIdePath ? ApplyAddIdePath(row, ctx) : ApplyAddSearchPath(row, ctx);
}

DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    if (!at.CurrentIde.IsValid() || at.IdeKey.empty()) return 0;
    if (rec.Kind() == RowKind::AddIdePath) {
        std::wstring key, name;
        if (!SplitRegValuePath(UserKeyOf(at) + text, key, name)) return 0;
        const std::wstring folder = GetInstallSubPath(at, rec.Param);
        return IsFullPath(folder) ? RemoveFromRegPathList(key, name, folder) : 0;
    }
    const std::wstring folder = RecordPath(at, rec.Location, text);
    return folder.empty() ? 0 : RemoveFromLibraryPaths(at, folder);
}

}  // namespace tessel::changes::pathlists
