// What an install is asked to do: the folder, the IDEs found and chosen, the
// install items and how the run goes. The setup's pages (or the unattended
// install) build it; the runner and the changes only read it.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/IdeDiscovery.h"
#include "common/IdeNumbers.h"

namespace tessel::changes {

struct InstallPlan {
    std::wstring InstallDir;
    // The IDEs found on this machine: filled once, where the previous choices
    // are loaded (the IDE page's first showing, the unattended install).
    common::InstalledIdes Ides{};

    // The user's choices: the IDEs (InternalId bits) and install items ticked, and
    // the customise options (starts at 5).
    common::IdeMask SelectedIdeMask;
    common::ItemMask SelectedItemMask;
    uint32_t CustomizeMask = 5;
    // Where the IDE page starts: the IDEs preselected (InternalId bits: found, and
    // chosen last time when a choice was stored), and its ticked lines (bit i =
    // install item i). The install log's header names the IDEs in both masks.
    common::IdeMask PreselectedIdeMask;
    common::LineMask CheckedLines;

    // The registry profile whose per-user keys the IDEs' settings go into
    // (setup.exe /PROFILE=, a valid name); empty: the IDEs' own keys.
    std::wstring Profile;

    // Copy the files only: no compiling, no registration (switch /C).
    bool CopyOnly = false;
    // How long a compile row waits for the compiler (tests shorten it).
    DWORD CompileTimeoutMs = 45000;
    // At most this many compilers run at once, each IDE's block in a lane of
    // its own (switch /J=<n>; the setup's default is the number of logical
    // processors). 1: the rows run one after another in script order.
    int CompileJobs = 1;
};

// How a run ended, as the runner hands it back.
struct RunOutcome {
    // The run was refused (its install folder was not a full path, could not
    // hold the undo log, or others can change it), so no row changed anything:
    // the Win32 error that refused it, 0 otherwise. The finish page then says
    // so and stores no choices: there would be no installation for them to describe.
    DWORD RunRefusal = 0;
    bool RunRefused() const { return RunRefusal != 0; }
    // The Win32 error of an undo record that could not be written during the
    // run (0 when none). The row that needed it failed, no later row ran, and no
    // choices are stored: they would go into the product key unrecorded.
    DWORD RunStop = 0;
    bool RunStopped() const { return RunStop != 0; }
    // The earlier installation the run removed first was not removed whole (its
    // log could not be read, a record stopped its walk, or a step failed): what
    // is left of it stays on the machine. The run itself went on.
    bool PreviousRemovalFailed = false;
    // The rows of the run that failed.
    int FailedRows = 0;
    // The IDEs (InternalId bits) whose compiler refused to build from the
    // command line in this edition: the user builds their packages in the IDE.
    common::IdeMask ManualBuildIdeMask;
};

}  // namespace tessel::changes
