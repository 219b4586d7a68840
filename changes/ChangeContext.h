// What a change sees while the runner applies one row: the plan (read only),
// the run's working state, the undo log, and what it hands back besides its
// result.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "changes/InstallPlan.h"
#include "changes/RunUndoLog.h"
#include "changes/packages/CompilerOutput.h"
#include "common/Handles.h"
#include "common/Locations.h"
#include "common/Processes.h"

namespace tessel::changes {

// A file that a change wrote, named the way an undo record names it.
struct WrittenFile {
    uint32_t ResId;                 // payload id, 0 for copies
    common::LocationCode Location;  // the folder the text is relative to
    std::wstring Text;              // path relative to the location
};

// A folder of a recorded folder row of this run, lower-cased, and whether it
// existed before the run: files written into a folder that existed before get
// undo records of their own, so that an uninstall removes them and leaves the
// user's files and the folder itself.
struct RecordedDir {
    std::wstring Path;
    bool ExistedBefore;
};

// The run's working state: the runner owns it, the changes keep it up to date.
struct RunState {
    // The install folder, and the IDE whose block runs with its package folder
    // (set by the IDE selection rows, cleared by nothing: the last block's stays).
    common::LocationContext Location;
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
    // What the last compiler run said, kept until the check row after it: when
    // the package is missing, install.log explains why.
    packages::CompileReport LastCompile;
    // The IDEs whose compiler refused to build from the command line: the
    // rest of their package rows are passed over.
    common::IdeMask ManualBuildIdeMask;
    // The suffix the compiler gave the current IDE's packages when their
    // projects ask for the automatic one ("380"): learnt by the check row after
    // the first compile, put in for "$(Auto)" in the rows after it. Cleared
    // when an IDE is selected.
    std::wstring PackageSuffix;
    // The recorded folder rows so far, and whether the install folder was
    // there before the run (the runner creates it for the logs).
    std::vector<RecordedDir> RecordedDirs;
    bool InstallDirExisted = false;
    // How the rows wait for the programs they start (the progress page handles its messages meanwhile).
    common::ProgramWait ProgramWait;
    // The undo log of the run; its records are written before their changes.
    RunUndoLog UndoLog;
};

struct ChangeContext {
    ChangeContext(const InstallPlan& plan, RunState& run) : Plan(plan), Run(run) {}
    const InstallPlan& Plan;
    RunState& Run;
    std::wstring LogText;                 // the row's install-log entry; empty: nothing to report
    std::vector<std::wstring> LogDetail;  // further install-log lines under the entry (not in the error box)
    std::wstring FailureReason;           // one line that says why the row failed, for the error box; may be empty
    std::vector<WrittenFile> Written;     // files written, recorded after the change when needed
};

}  // namespace tessel::changes
