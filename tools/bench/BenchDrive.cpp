// Runs the uninstaller with its dialog and presses Start, as a user would,
// timing how long the dialog takes to appear and how long the uninstall runs.
//
//   benchdrive <unqmv.exe> <uninst.log> [timeout seconds]
//
// Prints key=value lines (microseconds). Exit code 0 when the uninstaller
// showed its dialog and ended by itself after Start.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "common/Handles.h"
#include "tools/bench/BenchClock.h"

using namespace tessel::common;
using namespace tessel::changes;

namespace {

constexpr int StartButtonId = 1000;

struct Search {
    DWORD pid;
    HWND dialog;
};

// The uninstaller's dialog: a visible top-level window of the process with the Start button.
BOOL CALLBACK FindDialog(HWND wnd, LPARAM lp) {
    Search* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != s->pid || !IsWindowVisible(wnd)) return TRUE;
    HWND start = GetDlgItem(wnd, StartButtonId);
    if (start == nullptr || !IsWindowEnabled(start)) return TRUE;
    s->dialog = wnd;
    return FALSE;
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: benchdrive <unqmv.exe> <uninst.log> [timeout seconds]\n");
        return 2;
    }
    const DWORD timeoutMs = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) * 1000u : 300000u;
    std::wstring commandLine = Quoted(argv[1]) + L" " + Quoted(argv[2]);

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const int64_t t0 = BenchMicros();
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "benchdrive: cannot start %ls (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    ProcessHandles proc;
    proc.Process.reset(pi.hProcess);
    proc.Thread.reset(pi.hThread);

    // Wait for the dialog; poll often so that the figure is not rounded up much.
    Search search{pi.dwProcessId, nullptr};
    while (search.dialog == nullptr) {
        if (WaitForSingleObject(proc.Process.get(), 2) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "benchdrive: the uninstaller ended without showing its dialog\n");
            return 1;
        }
        if (BenchMicros() - t0 > static_cast<int64_t>(timeoutMs) * 1000) {
            std::fprintf(stderr, "benchdrive: no dialog within the time limit\n");
            TerminateProcess(proc.Process.get(), 1);
            return 1;
        }
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    }
    const int64_t tShown = BenchMicros();

    HWND start = GetDlgItem(search.dialog, StartButtonId);
    PostMessageW(search.dialog, WM_COMMAND, MAKEWPARAM(StartButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(start));
    const int64_t tPressed = BenchMicros();
    // The engine disables Cancel for the walk and enables it again when the walk
    // is over; then the dialog closes and the process ends. Closing is timed
    // apart: without a window manager (Xvfb) Wine waits for one when it hides
    // a window, which says nothing about the uninstaller.
    HWND cancel = GetDlgItem(search.dialog, IDCANCEL);
    bool walking = false;
    int64_t tWalked = 0, tClosed = 0;
    for (;;) {
        const DWORD wait = WaitForSingleObject(proc.Process.get(), 1);
        const int64_t now = BenchMicros();
        const bool alive = IsWindow(search.dialog) != FALSE;
        if (alive && !walking && !IsWindowEnabled(cancel)) walking = true;
        if (walking && tWalked == 0 && (!alive || IsWindowEnabled(cancel))) tWalked = now;
        if (tClosed == 0 && !alive) tClosed = now;
        if (wait == WAIT_OBJECT_0) break;
        if (now - tPressed > static_cast<int64_t>(timeoutMs) * 1000) {
            std::fprintf(stderr, "benchdrive: the uninstall did not end within the time limit\n");
            TerminateProcess(proc.Process.get(), 1);
            return 1;
        }
    }
    const int64_t tEnded = BenchMicros();
    if (tClosed == 0) tClosed = tEnded;
    if (tWalked == 0) tWalked = tClosed;  // the walk was too short to be seen

    BenchPut("dialog_us", tShown - t0);
    BenchPut("walk_seen", walking ? 1 : 0);
    BenchPut("walk_us", tWalked - tPressed);
    BenchPut("close_us", tClosed - tWalked);
    BenchPut("exit_us", tEnded - tClosed);
    BenchPut("total_us", tEnded - t0);
    return 0;
}
