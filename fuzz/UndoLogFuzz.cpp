// Fuzz target for the undo-log reader and the uninstall engine's walk.
//
// Built natively (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
// from the production files common/UndoLogFormat.cpp, common/UndoRules.cpp,
// common/UndoRecordCheck.cpp, common/PathText.cpp and common/UninstallEngine.cpp;
// the few Windows types they name come from fuzz/shim. What stands in for the rest of the programs is
// below: the file read hands the engine the fuzz input, and the undo step only
// writes down which record it was given, so the walk itself is what runs.
//
// Besides "no crash, no read outside the buffer", every input is checked for:
//  - the engine's load result matches the file's length and signature;
//  - the walk undoes nothing that is not a record of the file, never more
//    records than the file can hold, and a second walk repeats the first;
//  - the progress hears one begin and one end around one step per record
//    reached, and the steps never add up to more than the total;
//  - a log whose records tile the file exactly is walked the same way forward
//    and backward, and the engine undoes exactly its change records, in order,
//    last first after a direction marker (all but the kept ones when partial);
//  - the path-list edit removes exactly one whole entry;
//  - a path record that the record check lets through stays below its folder.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "changes/UninstallEngine.h"
#include "common/IdeDiscovery.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "changes/pathlists/PathList.h"
#include "common/PathText.h"
#include "common/UndoLogFormat.h"
#include "changes/RecordCheck.h"
#include "common/UndoRules.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::changes::pathlists;

// ---- What the engine needs from the rest of the program -------------------

namespace {

std::string gInput;               // the "file" the engine reads
bool gFileMissing = false;        // the read fails as for a missing file
std::vector<UndoRecord> gUndone;  // records given to the undo step, in order

#define FUZZ_CHECK(cond)                                                           \
    do {                                                                           \
        if (!(cond)) {                                                             \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #cond, __LINE__); \
            std::abort();                                                          \
        }                                                                          \
    } while (0)

// Counts what the engine reports; checks the order of the calls as they come.
struct CountingProgress final : tessel::changes::UninstallProgress {
    int begins = 0, ends = 0;
    size_t statuses = 0, steps = 0, total = 0, stepped = 0;
    void Begin(size_t size) override {
        FUZZ_CHECK(begins == 0 && ends == 0);
        ++begins;
        total = size;
    }
    void Status(const std::wstring&) override {
        FUZZ_CHECK(begins == 1 && ends == 0 && statuses == steps);
        ++statuses;
    }
    void Step(size_t size) override {
        FUZZ_CHECK(begins == 1 && ends == 0 && statuses == steps + 1);
        ++steps;
        stepped += size;
    }
    void End() override {
        FUZZ_CHECK(ends == 0);
        ++ends;
    }
};

std::wstring AsciiLower(std::wstring s) {
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

std::vector<std::wstring> Entries(const std::wstring& list) {
    std::vector<std::wstring> out;
    size_t start = 0;
    for (;;) {
        const size_t stop = list.find(L';', start);
        out.push_back(list.substr(start, stop == std::wstring::npos ? std::wstring::npos : stop - start));
        if (stop == std::wstring::npos) return out;
        start = stop + 1;
    }
}

// The pure rules the undo steps apply to a record's text.
void ExerciseRules(const std::wstring& text) {
    const std::wstring lower = AsciiLower(text);
    IsRemovableTreePath(lower, L"c:\\windows", L"c:\\windows\\system32");
    std::wstring key, name;
    if (SplitRegValuePath(text, key, name)) FUZZ_CHECK(key.size() + 1 + name.size() == text.size());
    FUZZ_CHECK(FolderOfPath(text).size() <= text.size());

    // Taking out an entry that is in the list removes exactly its first occurrence.
    const std::vector<std::wstring> before = Entries(lower);
    const std::wstring folder = before[before.size() / 2];
    std::wstring value = text;
    const bool removed = RemovePathListEntry(value, lower, folder);
    FUZZ_CHECK(removed == !folder.empty());
    if (!removed) {
        FUZZ_CHECK(value == text);
        return;
    }
    std::vector<std::wstring> expected = before;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] == folder) {
            expected.erase(expected.begin() + static_cast<long>(i));
            break;
        }
    }
    const std::vector<std::wstring> after = value.empty() ? std::vector<std::wstring>() : Entries(AsciiLower(value));
    if (!(expected.size() == 1 && expected[0].empty() && after.empty())) FUZZ_CHECK(after == expected);
}

bool NamesAPath(RowKind kind) {
    for (RowKind named : {RowKind::CreateDir, RowKind::DeleteOneFile, RowKind::ExtractFile, RowKind::ExtractFileOnce,
                          RowKind::CopyOneFile, RowKind::RegisterPackage, RowKind::AddSearchPath})
        if (kind == named) return true;
    return false;
}

}  // namespace

namespace tessel::common {

InstalledIdes FindInstalledIdes(const std::wstring&) { return InstalledIdes{}; }
// The IDE a backward walk starts with (a log that ends inside an IDE block):
// the harness's steps resolve nothing against it.
void SelectIde(LocationContext& context, const InstalledIdes&, IdeIndex index, const std::wstring& folder, uint32_t) {
    context.CurrentIde = index;
    context.IdeFolder = folder;
}

DWORD ReadFileBytes(const std::wstring&, std::string& bytes, DWORD, DWORD) {
    if (gFileMissing) return ERROR_FILE_NOT_FOUND;
    bytes = gInput;
    return 0;
}

// Bytes widened one by one: the harness only needs some text per record.
std::wstring FromUtf8(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out.push_back(static_cast<wchar_t>(c));
    return out;
}

// The harness touches no file system.
void RemoveCompilerOutputLeftovers(const std::wstring&) {}

}  // namespace tessel::common

namespace tessel::changes {

UndoScope MakeUndoScope(const std::wstring&, const std::wstring&, const std::wstring& productIntName) {
    return UndoScope{true, productIntName};
}

// The IDE of a stopped block's selection record, as SelectIde above takes it.
void SelectRecordedIde(tessel::common::LocationContext& at, const InstalledIdes& ides, const UndoRecord& rec,
                       const std::wstring& text) {
    SelectIde(at, ides, IdeIndex(static_cast<int>(rec.Param)), text);
}

DWORD UndoChange(tessel::common::LocationContext&, const InstalledIdes&, const UndoRecord& rec,
                 const std::wstring& text, const UndoScope& scope) {
    gUndone.push_back(rec);
    if (text.size() <= 512) ExerciseRules(text);
    // A path record the rules let through never leaves its folder.
    if (IsUndoableRecord(rec, text, scope) && NamesAPath(rec.Kind())) {
        FUZZ_CHECK(text.find_first_of(L":/") == std::wstring::npos && (text.empty() || text[0] != L'\\'));
        const std::wstring framed = L"\\" + text + L"\\";
        FUZZ_CHECK(framed.find(L"\\..\\") == std::wstring::npos && framed.find(L"\\.\\") == std::wstring::npos);
    }
    // The help batch step is the one step that can fail: let the input choose it.
    return rec.Kind() == RowKind::RunInstallFile && rec.Param == 0xFFFFFFFFu ? 2 : 0;
}

}  // namespace tessel::changes

// ---- Checks ----------------------------------------------------------------

namespace {

bool SameRecord(const UndoRecord& a, const UndoRecord& b) {
    return a.Word0 == b.Word0 && a.Param == b.Param && a.Location == b.Location && a.Text == b.Text;
}

// The records that tile bytes from offset 7 to the end, walking forward; false
// when some record is damaged or leaves the file.
bool ForwardTiling(const std::string& bytes, std::vector<UndoRecord>& records) {
    size_t pos = UndoSignatureSize;
    for (;;) {
        UndoRecord rec;
        size_t next = 0;
        const UndoStep step = StepUndoForward(bytes, pos, bytes.size(), rec, next);
        if (step == UndoStep::End) return true;
        if (step == UndoStep::Damaged) return false;
        FUZZ_CHECK(next > pos && next <= bytes.size());
        records.push_back(rec);
        pos = next;
    }
}

void CheckWalks(const std::string& bytes, std::vector<UndoRecord>& tiling, bool& clean) {
    clean = bytes.size() >= UndoSignatureSize && ForwardTiling(bytes, tiling);
    if (!clean) return;
    // A log that tiles forward is read back record by record from its end.
    size_t pos = bytes.size();
    size_t i = tiling.size();
    for (;;) {
        UndoRecord rec;
        size_t prev = 0;
        const UndoStep step = StepUndoBackward(bytes, pos, UndoSignatureSize, rec, prev);
        if (step == UndoStep::End) break;
        FUZZ_CHECK(step == UndoStep::Record);
        FUZZ_CHECK(i > 0 && SameRecord(rec, tiling[i - 1]));
        FUZZ_CHECK(prev < pos);
        pos = prev;
        --i;
    }
    FUZZ_CHECK(i == 0 && pos == UndoSignatureSize);
}

// What the engine must undo for a log that tiles cleanly.
std::vector<UndoRecord> ExpectedUndo(const std::vector<UndoRecord>& tiling, bool partial) {
    size_t first = 0;
    bool backward = false;
    while (first < tiling.size() && tiling[first].Kind() == RowKind::Info) {
        const bool marker = tiling[first].Param == InfoParam(InfoCode::Direction);
        ++first;
        if (marker) {
            backward = true;
            break;
        }
    }
    // A log of information records alone, without a marker, is walked from its
    // first record: those records undo nothing.
    if (!backward && first == tiling.size()) first = 0;
    std::vector<UndoRecord> order(tiling.begin() + static_cast<long>(first), tiling.end());
    if (backward) std::reverse(order.begin(), order.end());
    std::vector<UndoRecord> out;
    for (const UndoRecord& rec : order) {
        if (partial && HasFlag(rec.Word0, RowFlag::KeepOnPartial)) continue;
        out.push_back(rec);
    }
    return out;
}

void RunEngine(const std::string& bytes, bool partial, const std::vector<UndoRecord>& tiling, bool clean) {
    gInput = bytes;
    gUndone.clear();
    UninstallEngine engine;
    engine.PartialUninstall = partial;

    const UndoLogLoad loaded = engine.Load(L"uninst.log");
    const bool signature = bytes.size() >= 7 && std::memcmp(bytes.data(), "UNQMV", 5) == 0 && bytes[5] >= '0' &&
                           bytes[5] <= '9' && bytes[6] >= '0' && bytes[6] <= '9';
    FUZZ_CHECK(loaded == (bytes.empty() ? UndoLogLoad::Empty
                          : signature   ? UndoLogLoad::Loaded
                                        : UndoLogLoad::NotUndoLog));
    if (loaded != UndoLogLoad::Loaded) return;
    FUZZ_CHECK(engine.FileVersion() == bytes.substr(5, 2));

    CountingProgress progress;
    const WalkResult result = engine.Undo(progress);
    FUZZ_CHECK(progress.begins == 1 && progress.ends == 1);
    // Skipped records (partial) are steps too, but not undone.
    FUZZ_CHECK(partial ? progress.steps >= gUndone.size() : progress.steps == gUndone.size());
    FUZZ_CHECK(progress.statuses == progress.steps);
    FUZZ_CHECK(progress.stepped <= progress.total && progress.total <= bytes.size() - UndoSignatureSize);
    // A walk that reached its end stepped over the whole range.
    if (result.End != WalkEnd::Damaged) FUZZ_CHECK(progress.stepped == progress.total);
    // A failed step never reads as success, and does not end the walk.
    bool stepFails = false;
    for (const UndoRecord& rec : gUndone)
        stepFails |= rec.Kind() == RowKind::RunInstallFile && rec.Param == 0xFFFFFFFFu;
    if (result.End != WalkEnd::Damaged)
        FUZZ_CHECK(result.End == (stepFails ? WalkEnd::StepFailed : WalkEnd::Complete) &&
                   result.StepError == (stepFails ? 2u : 0u));
    const std::vector<UndoRecord> first = gUndone;

    FUZZ_CHECK(first.size() <= (bytes.size() - UndoSignatureSize) / UndoRecordOverhead);
    for (const UndoRecord& rec : first) {
        FUZZ_CHECK(rec.Text.size() <= UndoMaxText);
        if (partial) FUZZ_CHECK(!HasFlag(rec.Word0, RowFlag::KeepOnPartial));
        // Nothing out of thin air: the record's bytes stand in the file.
        if (bytes.size() <= 8192) {
            const std::string encoded = EncodeUndoRecord(rec.Word0, rec.Param, rec.Location, rec.Text);
            FUZZ_CHECK(bytes.find(encoded, UndoSignatureSize) != std::string::npos);
        }
    }
    if (clean) {
        FUZZ_CHECK(result.End != WalkEnd::Damaged);
        const std::vector<UndoRecord> expected = ExpectedUndo(tiling, partial);
        FUZZ_CHECK(first.size() == expected.size());
        for (size_t i = 0; i < first.size(); ++i) FUZZ_CHECK(SameRecord(first[i], expected[i]));
    }

    // A second walk covers the same range again.
    gUndone.clear();
    const WalkResult again = engine.Undo();
    FUZZ_CHECK(again.End == result.End && again.StepError == result.StepError);
    FUZZ_CHECK(gUndone.size() == first.size());
    for (size_t i = 0; i < first.size(); ++i) FUZZ_CHECK(SameRecord(gUndone[i], first[i]));
}

// A record built from the input's first bytes decodes to the same fields in
// both directions, inside a log and at its end.
void CheckRoundTrip(const uint8_t* data, size_t size) {
    if (size < 12) return;
    uint32_t w[3];
    std::memcpy(w, data, sizeof w);
    const std::string text(reinterpret_cast<const char*>(data) + 12, size - 12);
    const std::string rec = EncodeUndoRecord(w[0], w[1], w[2], text);
    if (text.size() > UndoMaxText) {
        FUZZ_CHECK(rec.empty());
        return;
    }
    FUZZ_CHECK(rec.size() == text.size() + UndoRecordOverhead);
    const std::string log = std::string(UndoSignature, UndoSignatureSize) + rec;
    UndoRecord forward, backward;
    size_t next = 0, prev = 0;
    FUZZ_CHECK(ReadUndoRecordForward(log, UndoSignatureSize, log.size(), forward, next) && next == log.size());
    FUZZ_CHECK(ReadUndoRecordBackward(log, log.size(), UndoSignatureSize, backward, prev) && prev == UndoSignatureSize);
    FUZZ_CHECK(forward.Word0 == w[0] && forward.Param == w[1] && forward.Location == w[2] && forward.Text == text);
    FUZZ_CHECK(SameRecord(forward, backward));
    // One byte short, the record is damaged in both directions, never read past the end.
    const std::string cut = log.substr(0, log.size() - 1);
    FUZZ_CHECK(StepUndoForward(cut, UndoSignatureSize, cut.size(), forward, next) == UndoStep::Damaged);
    FUZZ_CHECK(StepUndoBackward(cut, cut.size(), UndoSignatureSize, backward, prev) != UndoStep::Record ||
               prev >= UndoSignatureSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<UndoRecord> tiling;
    bool clean = false;
    CheckWalks(bytes, tiling, clean);
    const size_t whole = WholeRecordsEnd(bytes);
    FUZZ_CHECK(whole <= bytes.size());
    if (whole < bytes.size()) {
        // A torn tail: never in a log that tiles, the records before it tile
        // cleanly, and the engine must walk the log as just those.
        FUZZ_CHECK(!clean && whole >= UndoSignatureSize);
        tiling.clear();
        CheckWalks(bytes.substr(0, whole), tiling, clean);
        FUZZ_CHECK(clean);
    }
    RunEngine(bytes, false, tiling, clean);
    RunEngine(bytes, true, tiling, clean);

    // A log that cannot be opened is reported as such, whatever its contents.
    gFileMissing = true;
    {
        UninstallEngine engine;
        FUZZ_CHECK(engine.Load(L"uninst.log") == UndoLogLoad::CannotOpen);
    }
    gFileMissing = false;

    CheckRoundTrip(data, size);
    return 0;
}
