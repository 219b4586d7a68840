// The undo log "uninst.log": signature "UNQMV02", then records back to back.
// Record: Kind(2) Flags(2) Param(4) Location(4) TextLength(2) Text(UTF-8) RecordLength(2),
// all little-endian; RecordLength = TextLength + 16.
#pragma once
#include <cstdint>
#include <string>
#include "common/Handles.h"
// Pure encoding and walking (no Win32 calls): EncodeUndoRecord, IsValidUndoSignature,
// ReadUndoRecordForward, ReadUndoRecordBackward, StepUndoForward, StepUndoBackward.
#include "common/UndoLogFormat.h"

namespace tessel::common {

// Writer used by the script runner. OpenUndoLog creates the install folder and
// "uninst.log" in it (replacing it) and writes the signature: 0, or the Win32
// error when the file cannot be created or the signature not written whole
// (the log is then closed).
[[nodiscard]] DWORD OpenUndoLog(const std::wstring& installDir, UniqueFile& log);
// Appends one record: 0, or the Win32 error when it is not on disk whole
// (as common/WholeFile.h's WriteAll says for a short write, ERROR_INVALID_HANDLE
// while no log is open, ERROR_FILENAME_EXCED_RANGE for a text too long for a
// record). The caller must not make a change whose record failed.
[[nodiscard]] DWORD WriteUndoRecord(const UniqueFile& log, uint32_t word0, uint32_t param, uint32_t location,
                                    const std::wstring& text);
void CloseUndoLog(UniqueFile& log);

}  // namespace tessel::common
