// The undo log's byte format, its writer and the walkers over damaged input.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "common/UndoLog.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

using namespace tessel::common;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

std::string Signed(const std::vector<std::string>& records) {
    std::string log = "UNQMV02";
    for (const auto& r : records) log += r;
    return log;
}

std::wstring TempFolder(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return std::wstring(tmp) + name;
}

}  // namespace

TEST(UndoRecord, EncodesFieldsLittleEndianWithLengthOnBothSides) {
    // The direction marker: empty text gives a 16-byte record.
    EXPECT_EQ(EncodeUndoRecord(RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::Direction), 0, ""),
              Bytes({0x0E, 0x40, 0x01, 0x00, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 0}));
    EXPECT_EQ(EncodeUndoRecord(RowKind::CreateRegKey | RowFlag::Undo | RowFlag::KeepOnPartial, 0x80000002u, 0x01020304u,
                               "AB"),
              Bytes({0x0F, 0x00, 0x03, 0x00, 0x02, 0, 0, 0x80, 4, 3, 2, 1, 2, 0, 'A', 'B', 18, 0}));
    // Texts longer than the length fields can describe are never written.
    EXPECT_TRUE(EncodeUndoRecord(FirstWord(RowKind::CreateDir), 0, 3, std::string(UndoMaxText + 1, 'x')).empty());
    EXPECT_EQ(EncodeUndoRecord(FirstWord(RowKind::CreateDir), 0, 3, std::string(UndoMaxText, 'x')).size(), 0xFFFFu);
}

TEST(UndoRecord, NonAsciiTextCountsBytesAndReadsBackEqual) {
    const std::wstring dir = L"C:\\Programme\\Bibliothek f\u00FCr \u00C4rzte \u20AC";
    const std::string utf8 = ToUtf8(dir);
    ASSERT_GT(utf8.size(), dir.size());
    const std::string rec = EncodeUndoRecord(RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::InstallDir), 0, utf8);
    ASSERT_EQ(rec.size(), utf8.size() + 16);
    EXPECT_EQ(static_cast<unsigned char>(rec[12]) | (static_cast<unsigned char>(rec[13]) << 8), utf8.size());
    EXPECT_EQ(static_cast<unsigned char>(rec[14 + utf8.size()]), utf8.size() + 16);

    const std::string log = Signed({rec});
    UndoRecord r;
    size_t next = 0;
    ASSERT_TRUE(ReadUndoRecordForward(log, 7, log.size(), r, next));
    EXPECT_EQ(next, log.size());
    EXPECT_EQ(FromUtf8(r.Text), dir);
    EXPECT_EQ(r.Kind(), RowKind::Info);
    EXPECT_EQ(r.Flags(), RowFlag::Undo);
    EXPECT_EQ(r.Param, InfoParam(InfoCode::InstallDir));
    size_t prev = 0;
    ASSERT_TRUE(ReadUndoRecordBackward(log, log.size(), 7, r, prev));
    EXPECT_EQ(prev, 7u);
    EXPECT_EQ(FromUtf8(r.Text), dir);
}

TEST(UndoSignature, AcceptsAnyTwoDigitVersionOnly) {
    EXPECT_TRUE(IsValidUndoSignature("UNQMV02"));
    EXPECT_TRUE(IsValidUndoSignature("UNQMV10"));
    EXPECT_TRUE(IsValidUndoSignature("UNQMV99trailing"));
    EXPECT_FALSE(IsValidUndoSignature("UNQMV0A"));
    EXPECT_FALSE(IsValidUndoSignature("UNQMVA2"));
    EXPECT_FALSE(IsValidUndoSignature("UNQMV0"));
    EXPECT_FALSE(IsValidUndoSignature(""));
    EXPECT_FALSE(IsValidUndoSignature("unqmv02"));
    EXPECT_FALSE(IsValidUndoSignature("XNQMV02"));
}

TEST(UndoWalk, SignatureOnlyLogHasNoRecordsInEitherDirection) {
    const std::string log = "UNQMV02";
    UndoRecord r;
    size_t pos = 0;
    EXPECT_EQ(StepUndoForward(log, 7, log.size(), r, pos), UndoStep::End);
    EXPECT_EQ(StepUndoBackward(log, log.size(), 7, r, pos), UndoStep::End);
}

TEST(UndoWalk, DamagedLengthsStopWithoutReadingOutside) {
    const std::string good = EncodeUndoRecord(RowKind::CreateDir | RowFlag::Undo, 0, 3, "Source");
    UndoRecord r;
    size_t pos = 0;

    // Text length larger than what is left.
    std::string log = Signed({good});
    log[7 + 12] = 100;
    EXPECT_EQ(StepUndoForward(log, 7, log.size(), r, pos), UndoStep::Damaged);
    // Trailing length that disagrees with the leading one.
    log = Signed({good});
    log[log.size() - 2] = 17;
    EXPECT_EQ(StepUndoForward(log, 7, log.size(), r, pos), UndoStep::Damaged);
    EXPECT_EQ(StepUndoBackward(log, log.size(), 7, r, pos), UndoStep::Damaged);
    // Trailing length pointing before the range, and one below the minimum.
    log[log.size() - 2] = static_cast<char>(0xFF);
    log[log.size() - 1] = static_cast<char>(0xFF);
    EXPECT_EQ(StepUndoBackward(log, log.size(), 7, r, pos), UndoStep::Damaged);
    log[log.size() - 2] = 3;
    log[log.size() - 1] = 0;
    EXPECT_EQ(StepUndoBackward(log, log.size(), 7, r, pos), UndoStep::Damaged);
    // Truncated in the middle of a record: every cut is rejected, in both directions.
    const std::string full = Signed({good, good});
    for (size_t cut = 8; cut < full.size(); ++cut) {
        if (cut == 7 + good.size()) continue;
        const std::string part = full.substr(0, cut);
        size_t p = 7;
        UndoStep step;
        while ((step = StepUndoForward(part, p, part.size(), r, p)) == UndoStep::Record) {}
        EXPECT_EQ(step, UndoStep::Damaged) << cut;
        p = part.size();
        while ((step = StepUndoBackward(part, p, 7, r, p)) == UndoStep::Record) {}
        EXPECT_EQ(step, UndoStep::Damaged) << cut;
    }
    // A range end beyond the buffer is clamped to the buffer.
    log = Signed({good});
    EXPECT_EQ(StepUndoForward(log, 7, log.size() + 50, r, pos), UndoStep::Record);
    EXPECT_EQ(StepUndoForward(log, pos, log.size() + 50, r, pos), UndoStep::End);
    EXPECT_EQ(StepUndoBackward(log, log.size() + 50, 7, r, pos), UndoStep::Damaged);
}

TEST(UndoWriter, WritesSignatureAndRecordsAndWalksBothWays) {
    const std::wstring dir = TempFolder(L"undolog-writer\\a\\b");
    UniqueFile log;
    ASSERT_EQ(0u, OpenUndoLog(dir, log));
    ASSERT_TRUE(log.valid());
    // An information block like the script's, then a block of one IDE.
    struct Row {
        uint32_t word0, param, location;
        const wchar_t* text;
    };
    const Row rows[] = {
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductName), 0, L"Tessel library"},
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::ProductVersion), 0, L"4.09"},
        {RowKind::Info | RowFlag::Undo, InfoParam(InfoCode::Direction), 0, L""},
        {RowKind::SetIde | RowFlag::Undo, 9, 0, L"Delphi7"},
        {RowKind::CreateDir | RowFlag::Undo, 0, 3, L"Delphi7"},
        {RowKind::RegisterPackage | RowFlag::Undo, 0, 3, L"Delphi7\\dclqvl70.bpl"},
        {RowKind::SetIde | RowFlag::Undo, 9, 0, L"Delphi7"},
        {RowKind::CreateRegKey | RowFlag::Undo | RowFlag::KeepOnPartial, 0x80000002u, 0,
         L"Software\\Veltrane\\Tessel library"},
    };
    for (const auto& row : rows) EXPECT_EQ(0u, WriteUndoRecord(log, row.word0, row.param, row.location, row.text));
    CloseUndoLog(log);
    EXPECT_FALSE(log.valid());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE),
              WriteUndoRecord(log, FirstWord(RowKind::CreateDir), 0, 3, L"not written while closed"));

    std::string bytes;
    ASSERT_EQ(0u, ReadFileBytes(dir + L"\\uninst.log", bytes));
    ASSERT_EQ(bytes.substr(0, 7), "UNQMV02");
    size_t expected = 7;
    for (const auto& row : rows) expected += ToUtf8(row.text).size() + 16;
    EXPECT_EQ(bytes.size(), expected);

    // Backward from the end: the product key first, then the closing IDE select
    // record before the block's other records, ending at the direction marker.
    std::vector<UndoRecord> back;
    size_t p = bytes.size();
    UndoRecord r;
    while (StepUndoBackward(bytes, p, 7, r, p) == UndoStep::Record) back.push_back(r);
    EXPECT_EQ(p, 7u);
    ASSERT_EQ(back.size(), 8u);
    EXPECT_EQ(back[0].Kind(), RowKind::CreateRegKey);
    EXPECT_EQ(back[0].Flags(), RowFlag::Undo | RowFlag::KeepOnPartial);
    EXPECT_EQ(back[1].Kind(), RowKind::SetIde);
    EXPECT_EQ(back[2].Kind(), RowKind::RegisterPackage);
    EXPECT_EQ(back[5].Param, InfoParam(InfoCode::Direction));
    // Forward: the information records first, in order.
    p = 7;
    ASSERT_EQ(StepUndoForward(bytes, p, bytes.size(), r, p), UndoStep::Record);
    EXPECT_EQ(r.Text, "Tessel library");
    ASSERT_EQ(StepUndoForward(bytes, p, bytes.size(), r, p), UndoStep::Record);
    EXPECT_EQ(r.Text, "4.09");

    // Opening again replaces the old log.
    ASSERT_EQ(0u, OpenUndoLog(dir, log));
    CloseUndoLog(log);
    ASSERT_EQ(0u, ReadFileBytes(dir + L"\\uninst.log", bytes));
    EXPECT_EQ(bytes, "UNQMV02");
    (void)DeleteDirectoryTree(TempFolder(L"undolog-writer"), false);
}

TEST(UndoWriter, UncreatableLogReportsMinusOneWithSystemError) {
    // A file stands where the folder should be.
    const std::wstring blocker = TempFolder(L"undolog-blocker");
    UniqueFile f(
        CreateFileW(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(f.valid());
    f.reset();
    UniqueFile log;
    SetLastError(0);
    EXPECT_NE(0u, OpenUndoLog(blocker + L"\\sub", log));
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_FALSE(log.valid());
    DeleteFileW(blocker.c_str());
}

TEST(UndoWriter, RecordsThatDoNotReachTheFileAreReported) {
    const std::wstring dir = TempFolder(L"undolog-unwritable");
    UniqueFile log;
    ASSERT_EQ(0u, OpenUndoLog(dir, log));
    CloseUndoLog(log);
    const std::wstring name = dir + L"\\uninst.log";
    // A handle that cannot write, as a log whose volume went away leaves it,
    // and a text too long for a record's 16-bit length.
    UniqueFile readOnly(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(readOnly.valid());
    EXPECT_NE(0u, WriteUndoRecord(readOnly, FirstWord(RowKind::CreateDir) | RowFlag::Undo, 0, 3, L"Source"));
    readOnly.reset();
    ASSERT_EQ(0u, OpenUndoLog(dir, log));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE),
              WriteUndoRecord(log, FirstWord(RowKind::CreateDir) | RowFlag::Undo, 0, 3, std::wstring(70000, L'a')));
    CloseUndoLog(log);
    std::string bytes;
    ASSERT_EQ(0u, ReadFileBytes(name, bytes));
    EXPECT_EQ("UNQMV02", bytes) << "nothing of a failed record is written";
    (void)DeleteDirectoryTree(TempFolder(L"undolog-unwritable"), false);
}

namespace {

// The records of log from the signature on, with where each ends.
std::vector<size_t> RecordEnds(const std::string& log) {
    std::vector<size_t> ends;
    UndoRecord r;
    for (size_t pos = 7, next = 0; ReadUndoRecordForward(log, pos, log.size(), r, next); pos = next)
        ends.push_back(next);
    return ends;
}

// The records a backward walk from end meets, down to the signature.
std::vector<std::string> BackwardTexts(const std::string& log, size_t end) {
    std::vector<std::string> texts;
    UndoRecord r;
    for (size_t pos = end, prev = 0; ReadUndoRecordBackward(log, pos, 7, r, prev); pos = prev) texts.push_back(r.Text);
    return texts;
}

}  // namespace

// A setup killed while appending a record leaves 1 to its size minus 1 bytes
// of it. Cut from real logs after every record, for every such tail length:
// the whole records end where the torn one starts, and the walk back from
// there meets every record before it.
TEST(UndoWalk, EveryTornTailLengthLeavesTheWholeRecordsBeforeIt) {
    for (const wchar_t* name :
         {L"real-delphi3-delphi7.log", L"real-radstudio12.log", L"real-bds-cbuilder6.log", L"real-copyonly.log"}) {
        std::string log;
        ASSERT_EQ(0u, ReadFileBytes(TESSEL_SOURCE_DIR L"/fuzz/corpus/" + std::wstring(name), log));
        const std::vector<size_t> ends = RecordEnds(log);
        ASSERT_EQ(log.size(), ends.empty() ? 0 : ends.back()) << "the seed is whole";
        EXPECT_EQ(log.size(), WholeRecordsEnd(log));
        size_t start = 7;
        for (size_t end : ends) {
            const std::vector<std::string> before = BackwardTexts(log, start);
            for (size_t tail = 1; tail < end - start; ++tail) {
                const std::string cut = log.substr(0, start + tail);
                ASSERT_EQ(start, WholeRecordsEnd(cut)) << ToUtf8(name) << " record at " << start << ", tail " << tail;
                EXPECT_EQ(before, BackwardTexts(cut, start));
            }
            start = end;
        }
    }
}

// Damage that is no torn tail keeps the whole log: the walk meets it.
TEST(UndoWalk, DamageOtherThanATornTailIsNotCutOff) {
    const std::string a = EncodeUndoRecord(RowKind::CreateDir | RowFlag::Undo, 0, 3, "Source");
    const std::string b = EncodeUndoRecord(RowKind::ExtractFile | RowFlag::Undo, 0, 3, "Source\\x.pas");
    struct Case {
        const char* what;
        std::string log;
    };
    std::string middle = Signed({a, b, a});
    middle[7 + a.size() + 12] = 1;  // the middle record's text length
    std::string trailing = Signed({a, b});
    trailing[trailing.size() - 2] = 40;  // the last record's trailing length, whole in size
    std::string lengthInMiddle = Signed({a, b, a, a});
    lengthInMiddle[7 + a.size() + 12] = 100;  // claims more than the rest, but whole records follow
    std::string longTail = Signed({a}) + b.substr(0, 14);
    longTail[longTail.size() - 2] = 1;  // a tail that claims less than it holds
    longTail += std::string(4, 'x');
    for (const Case& c : {Case{"signature only", "UNQMV02"}, Case{"short", "UNQMV"}, Case{"middle", middle},
                          Case{"text length in the middle", lengthInMiddle}, Case{"trailing length", trailing},
                          Case{"tail longer than it claims", longTail}})
        EXPECT_EQ(c.log.size(), WholeRecordsEnd(c.log)) << c.what;
}
