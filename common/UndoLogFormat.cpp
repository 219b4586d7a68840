// Undo-log records as bytes. Every read is bounds-checked against both the
// walking range and the buffer: a log is data from disk and may be damaged.
#include "common/UndoLogFormat.h"

namespace tessel::common {

namespace {

void Put16(std::string& out, size_t at, uint32_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, size_t at, uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

uint32_t Get16(const std::string& in, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(in[at])) |
           (static_cast<uint32_t>(static_cast<unsigned char>(in[at + 1])) << 8);
}

uint32_t Get32(const std::string& in, size_t at) { return Get16(in, at) | (Get16(in, at + 2) << 16); }

// Decodes the record that occupies exactly [start, start + size) when its two
// length fields agree with size. The caller has checked the range.
bool DecodeAt(const std::string& bytes, size_t start, size_t size, UndoRecord& rec) {
    const size_t textLength = Get16(bytes, start + 12);
    if (textLength + UndoRecordOverhead != size) return false;
    if (Get16(bytes, start + 14 + textLength) != size) return false;
    rec.Word0 = Get32(bytes, start);
    rec.Param = Get32(bytes, start + 4);
    rec.Location = Get32(bytes, start + 8);
    rec.Text.assign(bytes, start + 14, textLength);
    return true;
}

}  // namespace

std::string EncodeUndoRecord(uint32_t word0, uint32_t param, uint32_t location, const std::string& utf8Text) {
    if (utf8Text.size() > UndoMaxText) return std::string();
    const size_t n = utf8Text.size();
    std::string out(n + UndoRecordOverhead, '\0');
    Put32(out, 0, word0);
    Put32(out, 4, param);
    Put32(out, 8, location);
    Put16(out, 12, static_cast<uint32_t>(n));
    out.replace(14, n, utf8Text);
    Put16(out, 14 + n, static_cast<uint32_t>(n + UndoRecordOverhead));
    return out;
}

bool IsValidUndoSignature(const std::string& bytes) {
    if (bytes.size() < UndoSignatureSize) return false;
    if (bytes.compare(0, 5, "UNQMV") != 0) return false;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return digit(bytes[5]) && digit(bytes[6]);
}

UndoStep StepUndoForward(const std::string& bytes, size_t pos, size_t end, UndoRecord& rec, size_t& next) {
    if (end > bytes.size()) end = bytes.size();
    if (pos >= end) return UndoStep::End;
    if (end - pos < UndoRecordOverhead) return UndoStep::Damaged;
    const size_t size = Get16(bytes, pos + 12) + UndoRecordOverhead;
    if (size > end - pos) return UndoStep::Damaged;
    if (!DecodeAt(bytes, pos, size, rec)) return UndoStep::Damaged;
    next = pos + size;
    return UndoStep::Record;
}

UndoStep StepUndoBackward(const std::string& bytes, size_t pos, size_t begin, UndoRecord& rec, size_t& prev) {
    if (pos <= begin) return UndoStep::End;
    if (pos > bytes.size() || pos - begin < UndoRecordOverhead) return UndoStep::Damaged;
    const size_t size = Get16(bytes, pos - 2);
    if (size < UndoRecordOverhead || size > pos - begin) return UndoStep::Damaged;
    if (!DecodeAt(bytes, pos - size, size, rec)) return UndoStep::Damaged;
    prev = pos - size;
    return UndoStep::Record;
}

size_t WholeRecordsEnd(const std::string& bytes) {
    const size_t size = bytes.size();
    UndoRecord rec;
    size_t pos = UndoSignatureSize, next = 0;
    if (size <= pos) return size;
    while (StepUndoForward(bytes, pos, size, rec, next) == UndoStep::Record) pos = next;
    if (pos == size) return size;
    // The rest is the start of one record: too short to hold its text length,
    // or shorter than the length it gives.
    if (size - pos >= 14 && Get16(bytes, pos + 12) + UndoRecordOverhead <= size - pos) return size;
    // Whole records behind it mean a damaged length in the middle, not a torn
    // end: the walk meets that damage. (A torn record's own header can read
    // backward as a record, but one that starts before the torn one.)
    if (StepUndoBackward(bytes, size, pos, rec, next) == UndoStep::Record) return size;
    return pos;
}

bool ReadUndoRecordForward(const std::string& bytes, size_t pos, size_t end, UndoRecord& rec, size_t& next) {
    return StepUndoForward(bytes, pos, end, rec, next) == UndoStep::Record;
}

bool ReadUndoRecordBackward(const std::string& bytes, size_t pos, size_t begin, UndoRecord& rec, size_t& prev) {
    return StepUndoBackward(bytes, pos, begin, rec, prev) == UndoStep::Record;
}

}  // namespace tessel::common
