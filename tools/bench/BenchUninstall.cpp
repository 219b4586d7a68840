// The uninstall engine without a dialog, as the setup uses it to remove an
// earlier installation, with a clock around each of its steps.
//
//   benchuninst <uninst.log>
//
// Prints key=value lines (microseconds), and the number of records that the
// walk meets, which sets the floor of an uninstall with the dialog.
#include <windows.h>
#include <cstdio>
#include <string>
#include "changes/UninstallEngine.h"
#include "common/ProcessGlobals.h"
#include "common/WholeFile.h"
#include "common/RowKinds.h"
#include "common/UndoLog.h"
#include "tools/bench/BenchClock.h"

using namespace tessel::common;
using namespace tessel::changes;

namespace {

// Records after the product information block, i.e. the ones the walk undoes.
struct LogCounts {
    long long info = 0;
    long long changes = 0;
};

LogCounts CountRecords(const std::string& bytes) {
    LogCounts counts;
    if (!IsValidUndoSignature(bytes)) return counts;
    size_t pos = UndoSignatureSize;
    bool inInfo = true;
    UndoRecord rec;
    size_t next = 0;
    while (ReadUndoRecordForward(bytes, pos, bytes.size(), rec, next)) {
        if (inInfo && rec.Kind() == RowKind::Info) {
            ++counts.info;
        } else {
            inInfo = false;
            ++counts.changes;
        }
        pos = next;
    }
    return counts;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: benchuninst <uninst.log>\n");
        return 2;
    }
    InitPlatformId();
    std::string bytes;
    if (ReadFileBytes(argv[1], bytes, FILE_SHARE_READ) != 0) {
        std::fprintf(stderr, "benchuninst: cannot read %ls\n", argv[1]);
        return 2;
    }
    const LogCounts counts = CountRecords(bytes);

    UninstallEngine engine;
    const int64_t t0 = BenchMicros();
    const UndoLogLoad loaded = engine.Load(argv[1]);
    const int64_t t1 = BenchMicros();
    const int64_t t2 = t1;  // Load reads the product information too
    // 0 when every step succeeded, the failed step's error, or -1 (not loaded, damaged).
    int walked = -1;
    if (loaded == UndoLogLoad::Loaded) {
        const WalkResult walk = engine.Undo();
        if (walk.End != WalkEnd::Damaged) walked = static_cast<int>(walk.StepError);
    }
    const int64_t t3 = BenchMicros();

    BenchPut("log_bytes", static_cast<long long>(bytes.size()));
    BenchPut("info_records", counts.info);
    BenchPut("records", counts.changes);
    BenchPut("load_result", static_cast<int>(loaded));
    BenchPut("walk_result", walked);
    BenchPut("load_us", t1 - t0);
    BenchPut("prepare_us", t2 - t1);
    BenchPut("walk_us", t3 - t2);
    BenchPut("total_us", t3 - t0);
    return walked == 0 ? 0 : 1;
}
