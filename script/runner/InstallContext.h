// Everything one install works on besides the constant script: where it goes,
// what the user chose, how it runs and how a run ended. The setup's main block
// owns the one instance; the pages fill it in, the runner and its actions read
// it (and keep the current IDE in it while the rows run).
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/IdeDiscovery.h"
#include "common/Locations.h"
#include "script/actions/CompilerOutput.h"

namespace tessel::script {

struct InstallContext {
    // The install folder, and the IDE whose block runs with its package folder
    // (set by the IDE selection rows, cleared by nothing: the last block's stays).
    common::LocationContext Location;
    // The IDEs found on this machine: filled once, where the previous choices
    // are loaded (the IDE page's first showing, the unattended install).
    common::InstalledIdes Ides{};
    // The help folder, set by the help folder row and used by the help registration.
    std::wstring HelpDir;
    // The folder the rows after a folder row work in: the compile and run rows
    // find their files there and start their programs in it. Set by the folder
    // row (and the help batch row, to the help folder); empty until then.
    std::wstring WorkingDir;
    // Where rows find their programs and start them: the working folder, or
    // the install folder before any folder row. Never the setup's own current
    // folder, which whoever started the setup chose.
    const std::wstring& StartFolder() const { return WorkingDir.empty() ? Location.InstallDir : WorkingDir; }

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

    // Copy the files only: no compiling, no registration (switch /C).
    bool CopyOnly = false;
    // How long a compile row waits for the compiler (tests shorten it).
    DWORD CompileTimeoutMs = 45000;

    // Whether the last started run was refused (its install folder was not a
    // full path or could not hold the undo log, so no row changed anything), and
    // the Win32 error that refused it (0 otherwise). The finish page then says so
    // and stores no choices: there would be no installation for them to describe.
    DWORD RunRefusal = 0;
    bool RunRefused() const { return RunRefusal != 0; }
    // The Win32 error of an undo record that could not be written during the run
    // (0 when none). The row that needed it failed, no later row ran, and no
    // choices are stored: they would go into the product key unrecorded.
    DWORD RunStop = 0;
    bool RunStopped() const { return RunStop != 0; }
    // The earlier installation the run removed first was not removed whole (its
    // log could not be read, a record stopped its walk, or a step failed): what
    // is left of it stays on the machine. The run itself went on.
    bool PreviousRemovalFailed = false;
    // The rows of the last run that failed (the progress page and the
    // unattended run count them).
    int FailedRows = 0;
    // The choices could not be stored under the product key (the finish page's
    // or the unattended run's last step).
    DWORD StoreFailure = 0;

    // What the last compiler run said, kept until the check row after it: when
    // the package is missing, install.log explains why.
    CompileReport LastCompile;
    // The IDEs (InternalId bits) whose compiler refused to build from the command
    // line in this edition: the rest of their package rows are passed over, and
    // the user builds the packages in the IDE.
    common::IdeMask ManualBuildIdeMask;
};

}  // namespace tessel::script
