// A complete install without any window, as the progress page runs it, with
// a clock around every row. Every item that the IDE page would let the user
// tick on this machine is ticked.
//
//   benchinstall <setup.exe> <install folder> <rows.csv> [<empty console program>]
//
// The payload is read from setup.exe loaded as a data file. Prints key=value
// lines (microseconds) and writes one line per row: index,kind,result,us.
// With an empty console program it also times starting that program the way
// the install starts a compiler, which prices the rows that start processes.
#include <windows.h>
#include <cstdio>
#include <algorithm>
#include <map>
#include <string>
#include <vector>
#include "common/IdeDiscovery.h"
#include "common/ProcessGlobals.h"
#include "common/RowKinds.h"
#include "common/Handles.h"
#include "common/Processes.h"
#include "script/runner/InstallContext.h"
#include "script/manifest/Manifest.h"
#include "script/runner/ScriptRunner.h"
#include "setup/InstallChoices.h"
#include "setup/WizardLogic.h"
#include "tools/bench/BenchClock.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

struct RowTime {
    int index;
    RowKind kind;
    int result;
    int64_t us;
};

const char* KindName(RowKind kind) { return Describe(kind).LogName; }

bool WriteRows(const std::wstring& fileName, const std::vector<RowTime>& rows) {
    UniqueFile out(
        CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    std::string text = "index,kind,result,us\n";
    char line[96];
    for (const RowTime& r : rows) {
        std::snprintf(line, sizeof line, "%d,%s,%d,%lld\n", r.index, KindName(r.kind), r.result,
                      static_cast<long long>(r.us));
        text += line;
    }
    DWORD written = 0;
    return WriteFile(out.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// Median time of starting a program that does nothing and waiting for it.
int64_t MedianStartUs(const std::wstring& program) {
    std::vector<int64_t> times;
    for (int i = 0; i < 9; ++i) {
        const int64_t a = BenchMicros();
        if (RunAndWait(program, L"", L"") != 0) return -1;
        times.push_back(BenchMicros() - a);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: benchinstall <setup.exe> <install folder> <rows.csv> [<empty program>]\n");
        return 2;
    }
    UniqueModule payload(LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!payload) {
        std::fprintf(stderr, "benchinstall: cannot load %ls (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    PayloadModule = payload.get();
    InitPlatformId();

    const int64_t t0 = BenchMicros();
    tessel::script::InstallContext install;
    install.Plan.Ides = FindInstalledIdes();
    // Every IDE found and every line it offers ticked, as the IDE page starts
    // on a machine without stored choices.
    tessel::setup::ApplyPreviousSelection(install, 0, 0);
    tessel::setup::SelectCheckedItems(install);
    install.Plan.InstallDir = argv[2];
    const int64_t tDiscovered = BenchMicros();

    std::vector<RowTime> rows;
    int64_t tStarted = 0, tRan = 0;
    {
        ScriptRunner script(install.Plan);
        script.Start();
        tStarted = BenchMicros();
        rows.reserve(static_cast<size_t>(script.Count()));
        std::wstring caption;
        int64_t compileStart = 0;  // a compile row is timed from its start to its end (one job: nothing between)
        while (script.Current() < script.Count()) {
            caption = script.CurrentCaption();
            const int64_t a = script.Collecting() ? compileStart : BenchMicros();
            const int result = script.RunCurrentRow().Code();
            const int64_t b = BenchMicros();
            if (script.RowPending())
                compileStart = a;
            else
                rows.push_back({script.Current(), script.CurrentRow().Kind(), result, b - a});
            script.Advance();
        }
        tRan = BenchMicros();
    }  // the runner closes both logs here
    const int64_t tStopped = BenchMicros();

    // Totals per kind, and the rows that start a child process.
    std::map<std::string, std::pair<long long, long long>> perKind;  // count, us
    long long failed = 0, processUs = 0, processRows = 0;
    for (const RowTime& r : rows) {
        auto& k = perKind[KindName(r.kind)];
        ++k.first;
        k.second += r.us;
        if (r.result != 0) ++failed;
        // A row in a skipped block takes microseconds; one that starts a process, milliseconds.
        const bool startsProcess =
            r.kind == RowKind::CompilePackage || r.kind == RowKind::RunInstallFile || r.kind == RowKind::RunFile;
        if (startsProcess && r.us >= 1000) {
            ++processRows;
            processUs += r.us;
        }
    }
    long long ides = 0;
    for (int i = 1; i <= IdeCount; ++i) ides += install.Plan.Ides[i].Exists ? 1 : 0;

    BenchPut("ides_found", ides);
    BenchPut("item_mask", install.Plan.SelectedItemMask.Bits());
    BenchPut("rows", static_cast<long long>(rows.size()));
    BenchPut("rows_failed", failed);
    BenchPut("discovery_us", tDiscovered - t0);
    BenchPut("start_us", tStarted - tDiscovered);
    BenchPut("rows_us", tRan - tStarted);
    BenchPut("stop_us", tStopped - tRan);
    BenchPut("total_us", tStopped - t0);
    BenchPut("process_rows", processRows);
    BenchPut("process_us", processUs);
    for (const auto& [name, v] : perKind) {
        std::printf("kind.%s.count=%lld\nkind.%s.us=%lld\n", name.c_str(), v.first, name.c_str(), v.second);
    }
    for (const RowTime& r : rows) {
        if (r.result != 0) std::printf("failed_row=%d kind=%s result=%d\n", r.index, KindName(r.kind), r.result);
    }
    if (argc == 5) BenchPut("process_start_us", MedianStartUs(argv[4]));
    if (!WriteRows(argv[3], rows)) std::fprintf(stderr, "benchinstall: cannot write %ls\n", argv[3]);
    return failed == 0 ? 0 : 1;
}
