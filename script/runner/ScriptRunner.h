// The script runner: steps the install script one row at a time for the
// progress page and hands each row to the module of its kind (changes/). It
// owns the run's working state and both logs while it runs, and returns how
// the run ended.
//
// The IDE blocks run side by side (RunLanes.h): up to the plan's CompileJobs
// lanes at once, each with its own working state (IDE, working folder, last
// compile, skipped block), their compilers running at the same time, in one
// thread: a compile row starts its compiler and the runner goes on with the
// rows of other lanes, and comes back to the compile row, its result and its
// line, once that compiler ended. The order is fixed by the script and the
// rows' results alone: lanes take their turns in script order, and the runner
// waits for the compilers in the order they started. With one job the rows
// run exactly in script order.
//
// install.log: with more than one job, every row line of an IDE block starts
// with the IDE's caption in brackets, so that each IDE's lines read in row
// order (grep for "[Delphi 7] "); a failed check's indented compiler report
// stays right under its row's line, unprefixed (a row's lines are written
// together). The other rows' lines have no prefix. With one job the log is as
// it always was.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/InstallPlan.h"
#include "changes/UninstallEngine.h"
#include "common/Handles.h"
#include "script/logs/InstallLog.h"
#include "script/rows/ScriptRow.h"
#include "script/runner/RunLanes.h"

namespace tessel::script {

using changes::ActionResult;
using changes::InstallPlan;
using changes::RunOutcome;
using changes::RunState;

class ScriptRunner {
public:
    // Runs the script for plan: its folder, choices and modes. The plan is
    // only read, and must outlive the runner.
    explicit ScriptRunner(const InstallPlan& plan);
    virtual ~ScriptRunner();  // closes both logs (Stop)
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Removes an earlier installation and opens both logs. When the install
    // folder is not a full path or the undo log cannot be created there, the run
    // is refused before the earlier installation is touched: every row is passed
    // over, row 0 reports the reason (see RunCurrentRow), and the outcome says so.
    void Start();
    int Count() const;  // number of rows
    // The progress page's caption for the current row; empty when its kind has
    // none of its own (the page keeps the previous one).
    std::wstring CurrentCaption() const;
    // Runs the current row. Its undo records are written before its change (those
    // of the files a copy wrote, right after it); when one cannot be written the
    // row fails with that error and the rows after it are passed over.
    ActionResult RunCurrentRow();
    void Stop();  // closes both logs
    // Appends one line to the install log (nothing when it is not open).
    void WriteLogLine(const std::wstring& text) { WriteLog(text); }

    // The current row's index; Start sets it to 0, the caller moves it on.
    int Current() const { return current_; }
    // Moves on to the next row to run: the next of the first lane (in script
    // order) that can go on, or, when every lane waits for its compiler, the
    // compile row of the compiler started first, once it ended or its wait ran
    // out (waiting through the ProgramWait). Count() after the last row.
    void Advance();
    // The current row started its compiler, which runs on: the row has no result
    // yet; Advance brings it back (Collecting) when the compiler is done.
    bool RowPending() const { return pending_; }
    // The current row is a compile row whose compiler is done: RunCurrentRow
    // gives its result and line.
    bool Collecting() const { return collecting_; }
    // How the runner waits for the programs that rows start (common/Processes.h).
    using ProgramWait = common::ProgramWait;
    void UseWait(ProgramWait wait) { state_.ProgramWait = wait_ = std::move(wait); }
    // The captions of the IDEs whose compilers run, in the order they started,
    // joined by ", "; empty when none runs.
    std::wstring BuildingIdes() const;
    const std::wstring& LogText() const { return logText_; }
    // Why the current row failed in one line (a compiler's first error line); empty when unknown.
    const std::wstring& FailureReason() const { return failureReason_; }
    // The current row; an empty row when Current() is past the end.
    const ScriptRow& CurrentRow() const;
    // Runs rows of the caller's instead of the product's script (tests); nullptr: the script.
    void UseRows(const ScriptRow* rows, int count);
    // Writes the remaining undo records to log instead of the one Start opened
    // (tests: a handle that cannot write stands for a volume that filled up).
    void UseUndoLog(common::UniqueFile log) { state_.UndoLog.File = std::move(log); }
    // How the run went so far (all of it once the last row ran).
    RunOutcome Outcome() const {
        RunOutcome outcome = outcome_;
        outcome.ManualBuildIdeMask = state_.ManualBuildIdeMask;
        return outcome;
    }
    // The run's working state: the current IDE, the folders it works in.
    const RunState& State() const { return state_; }
    // Removes the earlier installations: an undo log in the install folder that
    // the Windows uninstall entry does not name (a run stopped before it
    // registered the entry), then the one the entry names. Each removal gives
    // one install-log line ending "...Success" or "...Fail"; a failed one sets
    // RunOutcome::PreviousRemovalFailed. Never throws; the uninstall engine
    // works on its own locations, so the run's stay.
    void UninstallPrevious();

private:
    // Skip mode: passing over rows up to the end row of End whose Param is Code.
    struct SkipState {
        bool Active = false;
        RowKind End = RowKind::EndIfItem;
        uint64_t Code = 0;  // BlockCode of the end row
    };
    // What each lane has of its own while another lane's rows run.
    struct LaneState {
        common::LocationContext Location;
        std::wstring WorkingDir;
        changes::packages::CompileReport LastCompile;
        std::wstring PackageSuffix;
        SkipState Skip;
    };
    enum class LaneStage { Waiting, Busy, Compiling, Done };
    struct Lane {
        LaneSpan Span;
        int Next = 0;  // its next row
        LaneStage Stage = LaneStage::Waiting;
        changes::IdeRecord Ide;  // its block's IDE record; none outside the blocks
        std::wstring Caption;    // its IDE's caption; empty outside the blocks
        LaneState Saved;         // its state while another lane's is loaded
        changes::packages::RunningCompiler Compiler;
    };

    const InstallPlan& plan_;
    RunState state_;
    RunOutcome outcome_;
    int current_ = 0;
    SkipState skip_;
    std::vector<Lane> lanes_;
    int loaded_ = -1;       // the lane whose state is in state_ and skip_
    int begun_ = 0;         // lanes begun so far, in order
    LaneState carried_;     // what a lane begins with: the state the last lane that ended left
    std::deque<int> compiling_;  // lanes whose compiler runs, in the order they started
    bool pending_ = false;
    bool collecting_ = false;
    bool interleaved_ = false;  // more than one lane may run at once
    ProgramWait wait_;
    std::wstring logText_;
    std::wstring failureReason_;
    // The install-log lines of the removal of earlier installations, written
    // once the install log is open (the removal comes first).
    std::vector<std::wstring> removalLines_;
    InstallLog log_;
    const ScriptRow* rows_ = nullptr;
    int rowCount_ = 0;

    void OpenLog();
    // One entry of the current lane (its lines get the lane's prefix when lanes interleave).
    void WriteLog(const std::wstring& text);
    const ScriptRow& RowAt(int index) const;
    int Jobs() const { return plan_.CompileJobs > 1 ? plan_.CompileJobs : 1; }
    // Cuts the rows into lanes and begins the first.
    void PrepareLanes();
    void SwitchTo(int lane);
    void BeginLanes();
    // The row the runner goes on with (see Advance).
    int NextRow();
    // Whether the loaded lane's row would start a compiler when run now.
    bool StartsCompiler(const ScriptRow& row) const;
    void WaitForCompiler(const changes::packages::RunningCompiler& compiler);
    // The current row's compiler is done: its result, logged.
    ActionResult CollectCompile();
    // Logs what the row's change said and records the files it wrote.
    ActionResult EndAction(changes::ChangeContext& ctx, ActionResult result);
    // The control rows: blocks, the IDE selection, product information and
    // the removal of an earlier installation.
    ActionResult RunControlRow(const ScriptRow& row, changes::ChangeContext& ctx);
    void SkipTo(RowKind endKind, uint64_t code);
    // A block start row: unless holds, the rows up to its end row are passed over.
    ActionResult SkipBlockUnless(const ScriptRow& row, bool holds);
    // The record of an information row: the product fact its Param names.
    DWORD RecordInfo(const ScriptRow& row);
    // Runs the row's change and logs it; then records the files it wrote.
    ActionResult RunAction(const ScriptRow& row);
    // The current row fails with error, an undo record it needed not written:
    // the install log and the row's text say so, and every later row is passed
    // over (RunOutcome::RunStop).
    ActionResult StopRun(DWORD error);
};

// Whether the undo log of that installation says that it created dir (the
// same folder, and its folder row not marked as one that existed before).
bool PreviousInstallCreated(const std::wstring& dir);
// Whether dir may take the install: 0 when it is missing (the run creates it
// so that only administrators can change it), the previous installation
// created it, or only administrators can change it as it is; otherwise
// FolderOpenToUsersError (common/FolderSecurity.h), or the error that kept its
// list from being read.
[[nodiscard]] DWORD InstallFolderRefusal(const std::wstring& dir, bool createdByProduct);
// The undo logs a run into installDir removes first, in that order: the one
// in installDir when there is one and entryLog (the entry's) names another
// file, then entryLog when it is not empty. Paths compare without regard to
// case and trailing separators.
std::vector<std::wstring> PreviousUndoLogs(const std::wstring& installDir, const std::wstring& entryLog,
                                           bool folderHoldsLog);
// The install-log line of one removal: "Removing previous installation: <log>...Success"
// or "...Fail", the reason after the ending when it failed.
std::wstring RemovalLogLine(const std::wstring& log, changes::UndoLogLoad load, const changes::WalkResult& walk);

// Steps the rows from the current one to the last: beforeRow() runs before each
// row, afterRow(result) after it, before the runner moves on. Returns the number
// of rows that failed. The progress page and the unattended install both run
// their rows through here.
int RunRemainingRows(ScriptRunner& script, const std::function<void(ActionResult result)>& afterRow = nullptr,
                     const std::function<void()>& beforeRow = nullptr);

}  // namespace tessel::script
