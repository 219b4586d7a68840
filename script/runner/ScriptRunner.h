// The script runner: steps the install script one row at a time for the
// progress page, and owns "install.log" and the undo log while it runs.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "common/Handles.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using namespace tessel::common;

struct ActionContext;
struct InstallContext;

class ScriptRunner {
public:
    // Runs the script for install: its folder, choices and modes, into which the
    // run's outcome (refused or not) and its current IDE are written.
    explicit ScriptRunner(InstallContext& install);
    virtual ~ScriptRunner();   // Destroy: calls Stop
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Removes an earlier installation and opens both logs. When the install
    // folder is not a full path or the undo log cannot be created there, the run
    // is refused before the earlier installation is touched: every row is passed
    // over, row 0 reports the reason (see ItemDoScript), and the context says so.
    void Start();
    int Count() const;                    // number of rows
    int ProgressCount() const;            // = Count()
    void ItemText(std::wstring& caption) const;
    int ItemDoScript();                   // runs row FCurrent; 0 or the action's error code
    int ItemProgressStep() const { return 1; }
    void Stop();                          // closes both logs
    // Appends one line to the install log (nothing when it is not open).
    void WriteLogLine(const std::wstring& text) { WriteLog(text); }

    int32_t FCurrent = 0;                 // advanced by the caller
    const std::wstring& LogText() const { return FLogText; }
    const ScriptRow& GetItem() const;
    // Runs rows of the caller's instead of the product's script (tests); nullptr: the script.
    void UseRows(const ScriptRow* rows, int count);
    // Removes an earlier installation named by the Windows uninstall entry. Never
    // throws; the uninstall engine works on its own locations, so the run's stay.
    void UninstallPrevious();

private:
    InstallContext& FInstall;
    int32_t FSkipTypeId = 0;
    int32_t FSkipCode = 0;
    std::wstring FLogText;
    UniqueFile FLogHandle;
    bool FLogEnable = true;
    UniqueFile FBinLogHandle;

    // Folders of the recorded RowKind::CreateDir rows of this run, lower-cased, and
    // whether each existed before the run: files written into a folder that
    // existed before get undo records of their own, so that an uninstall
    // removes them and leaves the user's files and the folder itself.
    struct RecordedDir {
        std::wstring Path;
        bool ExistedBefore;
    };
    std::vector<RecordedDir> FRecordedDirs;
    bool FInstallDirExisted = false;
    const ScriptRow* FRows = nullptr;
    int FRowCount = 0;

    void OpenLog();
    void WriteLog(const std::wstring& text);
    void CloseLog();
    int Dispatch(const ScriptRow& row, ActionContext& ctx);
    void WriteRowUndoRecord(const ScriptRow& row, uint32_t param);
    void RecordWrittenFiles(const ActionContext& ctx);
    // True when the deepest recorded folder holding path existed before the run.
    bool InsidePreexistingDir(const std::wstring& path) const;
    friend struct ScriptRunnerAccess;          // the actions work on the runner's state
};

// Steps the rows from FCurrent to the last one, with no window and no input:
// afterRow(result) runs after each row, before FCurrent moves on. Returns the
// number of rows whose result was not 0.
int RunRemainingRows(ScriptRunner& script, const std::function<void(int result)>& afterRow = nullptr);

}  // namespace tessel::script
