// The undo log "uninst.log": signature "UNQMV02", then records back to back.
// Record: Kind(2) Flags(2) Param(4) Location(4) TextLength(2) Text(UTF-8) RecordLength(2),
// all little-endian; RecordLength = TextLength + 16.
#pragma once
#include <cstdint>
#include <string>
#include "common/UHandles.h"

constexpr char UndoSignature[] = "UNQMV02";  // 7 bytes, no terminator in the file
constexpr size_t UndoSignatureSize = 7;
constexpr size_t UndoRecordOverhead = 16;
constexpr size_t UndoMaxText = 0xFFFF - UndoRecordOverhead;

// One decoded record.
struct TUndoRecord {
    uint32_t Word0 = 0;     // Kind in bits 0-15, Flags in bits 16-31
    uint32_t Param = 0;
    uint32_t Location = 0;
    std::string Text;       // UTF-8 bytes as stored
    uint16_t Kind() const { return static_cast<uint16_t>(Word0 & 0xFFFF); }
    uint32_t Flags() const { return Word0 & 0xFFFF0000u; }
};

// Pure encoding and walking (no Win32 calls).
std::string EncodeUndoRecord(uint32_t word0, uint32_t param, uint32_t location, const std::string& utf8Text);
// True when bytes start with "UNQMV" and two ASCII digits.
bool IsValidUndoSignature(const std::string& bytes);
// Record starting at pos walking forward; false at the end or when the record
// does not fit inside [begin, end). next receives the following position.
bool ReadUndoRecordForward(const std::string& bytes, size_t pos, size_t end, TUndoRecord& rec, size_t& next);
// Record ending at pos walking backward; false when none fits inside [begin, pos).
bool ReadUndoRecordBackward(const std::string& bytes, size_t pos, size_t begin, TUndoRecord& rec, size_t& prev);

// Writer used by the script runner. OpenUndoLog creates the install folder and
// "uninst.log" in it (replacing it), writes the signature, and returns 0, or -1
// with the system error left in GetLastError.
int OpenUndoLog(const std::wstring& installDir, UniqueFile& log);
// Appends one record in a single write; does nothing while no log is open.
void WriteUndoRecord(const UniqueFile& log, uint32_t word0, uint32_t param, uint32_t location,
                     const std::wstring& text);
void CloseUndoLog(UniqueFile& log);
