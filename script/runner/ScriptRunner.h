// The script runner: steps the install script one row at a time for the
// progress page, and owns "install.log" and the undo log while it runs.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "common/Handles.h"
#include "common/UninstallEngine.h"
#include "script/actions/ActionResult.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

struct ActionContext;
struct InstallContext;

class ScriptRunner {
public:
    // Runs the script for install: its folder, choices and modes, into which the
    // run's outcome (refused or not) and its current IDE are written.
    explicit ScriptRunner(InstallContext& install);
    virtual ~ScriptRunner();  // closes both logs (Stop)
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Removes an earlier installation and opens both logs. When the install
    // folder is not a full path or the undo log cannot be created there, the run
    // is refused before the earlier installation is touched: every row is passed
    // over, row 0 reports the reason (see RunCurrentRow), and the context says so.
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
    void Advance() { ++current_; }
    const std::wstring& LogText() const { return logText_; }
    // Why the current row failed in one line (a compiler's first error line); empty when unknown.
    const std::wstring& FailureReason() const { return failureReason_; }
    // The current row; an empty row when Current() is past the end.
    const ScriptRow& CurrentRow() const;
    // Runs rows of the caller's instead of the product's script (tests); nullptr: the script.
    void UseRows(const ScriptRow* rows, int count);
    // Writes the remaining undo records to log instead of the one Start opened
    // (tests: a handle that cannot write stands for a volume that filled up).
    void UseUndoLog(common::UniqueFile log) { undoLog_ = std::move(log); }
    // Removes the earlier installations: an undo log in the install folder that
    // the Windows uninstall entry does not name (a run stopped before it
    // registered the entry), then the one the entry names. Each removal gives
    // one install-log line ending "...Success" or "...Fail"; a failed one sets
    // InstallContext::PreviousRemovalFailed. Never throws; the uninstall engine
    // works on its own locations, so the run's stay.
    void UninstallPrevious();

private:
    InstallContext& install_;
    int current_ = 0;
    // Skip mode: passing over rows up to the end row of skipEnd_ whose Param is skipCode_.
    bool skipping_ = false;
    RowKind skipEnd_ = RowKind::EndIfItem;
    uint32_t skipCode_ = 0;
    std::wstring logText_;
    std::wstring failureReason_;
    // The install-log lines of the removal of earlier installations, written
    // once the install log is open (the removal comes first).
    std::vector<std::wstring> removalLines_;
    common::UniqueFile logFile_;
    bool logEnabled_ = true;
    common::UniqueFile undoLog_;

    // Folders of the recorded RowKind::CreateDir rows of this run, lower-cased, and
    // whether each existed before the run: files written into a folder that
    // existed before get undo records of their own, so that an uninstall
    // removes them and leaves the user's files and the folder itself.
    struct RecordedDir {
        std::wstring Path;
        bool ExistedBefore;
    };
    std::vector<RecordedDir> recordedDirs_;
    bool installDirExisted_ = false;
    const ScriptRow* rows_ = nullptr;
    int rowCount_ = 0;

    void OpenLog();
    void WriteLog(const std::wstring& text);
    void CloseLog();
    ActionResult Dispatch(const ScriptRow& row, ActionContext& ctx);
    void SkipTo(RowKind endKind, uint32_t code);
    // A block start row: unless holds, the rows up to its end row are passed over.
    ActionResult SkipBlockUnless(const ScriptRow& row, bool holds);
    // A check row that finds no package gets the last compiler's report under its line.
    void ExplainMissingPackage(ActionResult result, ActionContext& ctx);
    // Each: 0 or the Win32 error of the record that did not reach the undo log.
    DWORD WriteRowUndoRecord(const ScriptRow& row, uint32_t param);
    // The records a row needs before its change: its own, and for a folder row
    // the ones that keep a folder which existed before. 0 or the Win32 error.
    [[nodiscard]] DWORD RecordBeforeChange(const ScriptRow& row);
    // Runs the row's action and logs it; then records the files it wrote.
    ActionResult RunAction(const ScriptRow& row);
    DWORD RecordWrittenFiles(const ActionContext& ctx);
    // The current row fails with error, an undo record it needed not written:
    // the install log and the row's text say so, and every later row is passed
    // over (InstallContext::RunStop).
    ActionResult StopRun(DWORD error);
    // True when the deepest recorded folder holding path existed before the run.
    bool InsidePreexistingDir(const std::wstring& path) const;
};

// The undo log of the installation that a run removes first, as the Windows
// uninstall entry names it; empty when there is none.
std::wstring PreviousUndoLogPath();
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
std::wstring RemovalLogLine(const std::wstring& log, common::UndoLogLoad load, const common::WalkResult& walk);

// Steps the rows from the current one to the last: beforeRow() runs before each
// row, afterRow(result) after it, before the runner moves on. Returns the number
// of rows that failed. The progress page and the unattended install both run
// their rows through here.
int RunRemainingRows(ScriptRunner& script, const std::function<void(ActionResult result)>& afterRow = nullptr,
                     const std::function<void()>& beforeRow = nullptr);

}  // namespace tessel::script
