// How the runner cuts the script into lanes that may run side by side: each
// IDE block is a lane of its own, and so is each stretch of rows between the
// blocks. A lane's rows run in their order; lanes begin in script order. Plain
// logic on the rows, and the one rule that says which lane may begin next.
#pragma once
#include <functional>
#include <vector>
#include "script/rows/ScriptRow.h"

namespace tessel::script {

struct LaneSpan {
    int First = 0;  // rows [First, End)
    int End = 0;
    // The block's IDE selection row (the one after its item row); -1 for the
    // rows outside the IDE blocks.
    int IdeRow = -1;
    // Runs alone, after every lane before it and before any after it: the
    // rows before the first block and those after the last.
    bool Barrier = false;
    // Writes or deletes files of the install folder outside its own package
    // folder (the C++ headers its compiler leaves in the shared "Source",
    // moved from there): never at the same time as another such lane.
    bool SharesFolders = false;
};

// The lanes of count rows. An IDE block is an item row followed by an IDE
// selection row, up to the item's end row (or the last row).
std::vector<LaneSpan> SplitIntoLanes(const std::function<const ScriptRow&(int)>& rowAt, int count);

// The lanes that have begun and not ended.
struct BusyLanes {
    int Count = 0;
    int Sharing = 0;       // of them, lanes that share folders
    bool Barrier = false;  // one of them is a barrier
};
// Whether lane, the next in order, may begin now: at most jobs lanes run at once.
bool LaneMayBegin(const LaneSpan& lane, const BusyLanes& busy, int jobs);

}  // namespace tessel::script
