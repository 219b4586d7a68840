// Pure encoding, validation and walking of undo-log bytes. Nothing here calls
// Win32, so the code can also be built natively (fuzzing, tools).
//
// File: "UNQMV" + two ASCII digits, then records back to back up to the end.
// Record: Kind(2) Flags(2) Param(4) Location(4) TextLength(2) Text(UTF-8)
// RecordLength(2), little-endian; RecordLength = TextLength + 16.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "common/LogNames.h"
#include "common/RowKinds.h"

namespace tessel::common {

constexpr char UndoSignature[] = "UNQMV02";  // 7 bytes, no terminator in the file
constexpr size_t UndoSignatureSize = 7;
constexpr size_t UndoRecordOverhead = 16;
constexpr size_t UndoMaxText = 0xFFFF - UndoRecordOverhead;

// One decoded record.
struct UndoRecord {
    uint32_t Word0 = 0;  // Kind in bits 0-15, Flags in bits 16-31
    uint32_t Param = 0;
    uint32_t Location = 0;
    std::string Text;  // UTF-8 bytes as stored
    RowKind Kind() const { return static_cast<RowKind>(Word0 & 0xFFFF); }
    RowFlag Flags() const { return FlagsOf(Word0); }
    size_t Size() const { return Text.size() + UndoRecordOverhead; }
};

// The record's bytes. Empty when the text does not fit the 16-bit length
// fields (more than UndoMaxText bytes): such a record is never written,
// because a cut path could name a different folder.
std::string EncodeUndoRecord(uint32_t word0, uint32_t param, uint32_t location, const std::string& utf8Text);
// True when bytes start with "UNQMV" and two ASCII digits.
bool IsValidUndoSignature(const std::string& bytes);

// Result of one step of a walk.
enum class UndoStep {
    Record,   // a consistent record was read
    End,      // the walk reached the end of its range
    Damaged,  // lengths disagree or the record leaves the range: stop here
};

// Forward step from pos inside [pos, end): End when pos >= end.
UndoStep StepUndoForward(const std::string& bytes, size_t pos, size_t end, UndoRecord& rec, size_t& next);
// Backward step from the record boundary pos down to begin: End when pos <= begin.
UndoStep StepUndoBackward(const std::string& bytes, size_t pos, size_t begin, UndoRecord& rec, size_t& prev);

// Where the whole records of a log end. A process killed while appending a
// record leaves only its first bytes (1 to its size minus 1) behind the last
// whole record. When the records from the signature on are whole up to such a
// tail, and no whole record ends the file behind it, the result is where the
// tail starts; otherwise (a whole log, or damage that is no torn tail)
// bytes.size().
size_t WholeRecordsEnd(const std::string& bytes);

// Record starting at pos walking forward; false at the end or when the record
// does not fit inside [pos, end). next receives the following position.
bool ReadUndoRecordForward(const std::string& bytes, size_t pos, size_t end, UndoRecord& rec, size_t& next);
// Record ending at pos walking backward; false when none fits inside [begin, pos).
bool ReadUndoRecordBackward(const std::string& bytes, size_t pos, size_t begin, UndoRecord& rec, size_t& prev);

}  // namespace tessel::common
