// The undo log while a run writes it. The uninstall walk reads it backwards
// and takes every record to belong to the IDE of the nearest IDE record
// behind it: each IDE block opens and closes with one. When the blocks of
// several IDEs run at once, their records interleave; the writer then keeps
// that reading true by closing the open block with its IDE record whenever a
// record of another block (or of no block) comes next, and opening the
// writer's block with its own before that record. A file read forwards thus
// holds each IDE's records between an opening and a closing record of its
// own, with at most one block open at a time.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/Handles.h"

namespace tessel::changes {

// The IDE record of a block, as its IDE selection row records it; Word0 0: none.
struct IdeRecord {
    uint32_t Word0 = 0;
    uint32_t Param = 0;  // the IDE index
    uint32_t Location = 0;
    std::wstring Text;
    bool IsSet() const { return Word0 != 0; }
};

struct RunUndoLog {
    common::UniqueFile File;
    // Blocks of several IDEs may run at once: the records get the IDE records
    // described above. Off, the records go into the file as they come.
    bool Interleaved = false;
    // The block whose row writes now; none for the rows outside the blocks.
    IdeRecord Writer;
    // The block the file has open: its last IDE record opened it.
    IdeRecord Open;
};

// Appends one record (common/UndoLog.h's WriteUndoRecord), after the IDE
// records that an interleaved log needs before it: 0, or the Win32 error of
// the first write that failed.
[[nodiscard]] DWORD WriteUndoRecord(RunUndoLog& log, uint32_t word0, uint32_t param, uint32_t location,
                                    const std::wstring& text);

}  // namespace tessel::changes
