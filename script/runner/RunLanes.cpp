// The lanes of the install script.
#include "script/runner/RunLanes.h"

#include "common/TextConversion.h"

namespace tessel::script {

using namespace tessel::common;

namespace {

bool IsBlockStart(const std::function<const ScriptRow&(int)>& rowAt, int i, int count) {
    return i + 1 < count && rowAt(i).Kind() == RowKind::IfItem && rowAt(i + 1).Kind() == RowKind::SetIde;
}

// Whether path (relative to the install folder) lies outside folder.
bool OutsideFolder(const std::wstring& folderLower, const wchar_t* path) {
    if (!path || !*path) return false;
    const std::wstring p = LowerWide(path);
    return p != folderLower && p.compare(0, folderLower.size() + 1, folderLower + L"\\") != 0;
}

// Whether the row writes or deletes files of the install folder outside the
// block's folder: the destination of a copy or merge, else the row's own path
// (copies of one file go to the IDE's own names in shared folders).
bool ChangesSharedFiles(const ScriptRow& row, const std::wstring& folderLower) {
    if (Describe(row.Kind()).Module != ChangeModule::Files || row.Target) return false;
    if (row.Text3) return row.Location2 == LocationCode::Install && OutsideFolder(folderLower, row.Text3);
    return row.Location == LocationCode::Install && OutsideFolder(folderLower, row.Text);
}

}  // namespace

std::vector<LaneSpan> SplitIntoLanes(const std::function<const ScriptRow&(int)>& rowAt, int count) {
    std::vector<LaneSpan> lanes;
    auto addRows = [&lanes](int first, int end) {
        if (end > first) lanes.push_back({first, end, -1, false, false});
    };
    int rest = 0;  // the first row not in a lane yet
    for (int i = 0; i < count; ++i) {
        if (!IsBlockStart(rowAt, i, count)) continue;
        addRows(rest, i);
        LaneSpan block{i, count, i + 1, false, false};
        const std::wstring folder = LowerWide(Str(rowAt(i + 1).Text));
        for (int j = i + 1; j < count; ++j) {
            const ScriptRow& row = rowAt(j);
            block.SharesFolders = block.SharesFolders || ChangesSharedFiles(row, folder);
            if (row.Kind() == RowKind::EndIfItem && row.Param == rowAt(i).Param) {
                block.End = j + 1;
                break;
            }
        }
        lanes.push_back(block);
        rest = i = block.End;
        --i;  // the loop's step moves on to block.End
    }
    addRows(rest, count);
    // The rows before the first block make the folders and files every block
    // uses; those after the last one come after everything.
    if (!lanes.empty()) {
        if (lanes.front().IdeRow < 0) lanes.front().Barrier = true;
        if (lanes.back().IdeRow < 0) lanes.back().Barrier = true;
    }
    return lanes;
}

bool LaneMayBegin(const LaneSpan& lane, const BusyLanes& busy, int jobs) {
    if (lane.Barrier || busy.Barrier) return busy.Count == 0;
    if (busy.Count >= jobs) return false;
    return !lane.SharesFolders || busy.Sharing == 0;
}

}  // namespace tessel::script
