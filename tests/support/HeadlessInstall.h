// A complete install without a window: the selection variables are set as the
// IDE and directory pages would set them, then the runner is stepped through
// every row exactly as the progress page does.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

struct HeadlessOptions {
    std::wstring setupExe;        // the payload source; empty: TESSEL_BUILD_DIR "/setup/setup.exe"
    std::wstring installDir;      // InstallDir
    std::vector<int> ides;        // IDE indexes (1..30) the user ticks
    uint32_t extraItems = 0x380;  // help files and both demo sets; added to the IDEs' items
    bool copyOnly = false;        // CopyOnly
    uint32_t customizeMask = 5;
    DWORD compileTimeoutMs = 45000;  // how long a compiler may run
    int compileJobs = 1;             // CompileJobs (/J=<n>); 1: the rows in script order
    // Stops before this row as a killed setup stops: the rows before it ran
    // and wrote their records, nothing after it runs, both logs stay (-1: none).
    int stopBeforeRow = -1;
};

// One row whose result was not 0.
struct HeadlessRowResult {
    int index;
    int code;
    uint32_t word0;
    std::wstring logText;
};

struct HeadlessRun {
    bool started = false;  // the payload could be loaded and the run took place
    int rows = 0;          // rows stepped
    std::vector<HeadlessRowResult> failures;
    bool previousRemovalFailed = false;  // an earlier installation it removed first was not removed whole
};

// The install-item bits that belong to the given IDE indexes.
uint64_t ItemMaskForIdes(const std::vector<int>& ides);
HeadlessRun RunHeadlessInstall(const HeadlessOptions& options);

// Removes the installation that the uninstall entry names, with the engine as
// the uninstaller uses it. False when there is no uninstall entry. A log that
// the engine refuses is a test failure, unless the caller damages logs on
// purpose (refusedIsFailure false).
bool RemoveThroughEntryWithEngine(bool refusedIsFailure = true);

// A machine as an install finds it the first time: whatever an earlier test
// installed taken back the way the uninstaller does it, no stand-in IDEs, no
// installDir, no uninstall entry or product key, and the WinHelp registrations'
// key that every Windows has.
void ResetInstallPlaces(const std::wstring& installDir);
