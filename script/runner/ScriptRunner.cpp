// The script runner: steps the install script row by row, writes "install.log"
// and the undo log, and removes an earlier installation before a new one.
#include "script/runner/ScriptRunner.h"

#include <new>
#include "common/UninstallEngine.h"
#include "common/FolderSecurity.h"
#include "common/UndoRecordCheck.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/RowKindInfo.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoLog.h"
#include "common/UndoRecordCheck.h"
#include "common/UndoRules.h"
#include "common/UndoSteps.h"
#include "script/actions/ActionContext.h"
#include "script/actions/ActionLogic.h"
#include "script/actions/ManualBuild.h"
#include "script/manifest/Manifest.h"
#include "script/runner/InstallContext.h"
#include "script/actions/FileActions.h"
#include "script/actions/PackageActions.h"

namespace tessel::script {

using namespace tessel::common;

namespace {

// The undo record text of an information row.
std::wstring InfoText(const InstallContext& install, uint32_t param) {
    switch (static_cast<InfoCode>(param)) {
    case InfoCode::ProductName: return ProductName;
    case InfoCode::ProductVersion: return ProductVersion;
    case InfoCode::InstallDir: return install.Location.InstallDir;
    case InfoCode::ProductRegKey: return ProductRegKey;
    case InfoCode::ProductIntName: return ProductIntName;
    case InfoCode::Direction: break;
    }
    return std::wstring();  // Direction, and numbers that name no code
}

const ScriptRow kNoRow{};

// Copy-only mode passes over the IDE rows, and with the compile rows the copies
// of the packages they would have built: the package folder holds nothing
// else to copy. The product key row is the product's, not an IDE's: it runs,
// so that the choices the finish page stores are recorded and an uninstall
// removes them.
bool PassedOverInCopyOnly(const common::LocationContext& at, const ScriptRow& row) {
    if (row.Kind() == RowKind::CreateRegKey) return Str(row.Text) != ProductRegKey;
    if (row.Kind() != RowKind::CopyOneFile) return Describe(row.Kind()).Class == RowClass::Ide;
    if (!at.CurrentIde.IsValid() || at.IdeFolder.empty()) return false;
    return PathIsInside(LowerWide(JoinPath(at.InstallDir, at.IdeFolder)),
                        LowerWide(ResolvePath(at, row.Location, Str(row.Text))));
}

// Whether a run could create its undo log in dir, found out without changing
// anything: folders made for the test and a log file created for it are
// removed again; an existing log (the previous installation's) is opened for
// writing but neither truncated nor written. 0 or the Win32 error that refuses
// the run.
DWORD ProbeUndoLogFolder(const std::wstring& dir) {
    std::vector<std::wstring> missing;  // deepest first
    for (std::wstring path = dir; !path.empty() && !DirectoryExists(path);) {
        missing.push_back(path);
        const size_t cut = path.find_last_of(L"\\/");
        if (cut == std::wstring::npos) break;
        path.resize(cut);
    }
    DWORD error = CreateProtectedFolder(dir);
    if (error == 0) {
        const std::wstring name = JoinPath(dir, L"uninst.log");
        UniqueFile probe(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        const DWORD openError = GetLastError();
        if (!probe) error = openError != 0 ? openError : static_cast<DWORD>(ERROR_CANNOT_MAKE);
        probe.reset();
        if (!error && openError != ERROR_ALREADY_EXISTS) DeleteFileW(name.c_str());
    }
    // Only empty folders can go, so nothing of anyone else's is lost here.
    for (const std::wstring& folder : missing) RemoveDirectoryW(folder.c_str());
    return error;
}

}  // namespace

std::wstring PreviousUndoLogPath() {
    const std::wstring key = std::wstring(UninstallRootKey) + ProductIntName;
    std::wstring name, command;
    if (ReadRegString(HKEY_LOCAL_MACHINE, key, L"DisplayName", name) != 0 ||
        ReadRegString(HKEY_LOCAL_MACHINE, key, L"UninstallString", command) != 0)
        return std::wstring();
    return UndoLogPathFromUninstallString(command);
}

bool PreviousInstallCreated(const std::wstring& dir) {
    const std::wstring path = PreviousUndoLogPath();
    if (path.empty() || !IsFullPath(dir)) return false;
    UninstallEngine engine;
    return engine.Load(path) == UndoLogLoad::Loaded &&
           IsSameFolder(LowerWide(engine.Location().InstallDir), LowerWide(dir)) &&
           LogCreatedInstallFolder(engine.LogBytes());
}

DWORD InstallFolderRefusal(const std::wstring& dir, bool createdByProduct) {
    if (createdByProduct || !DirectoryExists(dir)) return 0;
    UniqueLocal descriptor, self;
    if (const DWORD error = ReadFolderDescriptor(dir, descriptor)) return error;
    if (const DWORD error = CurrentUserSid(self)) return error;
    return OnlyAdministratorsCanChange(descriptor.get(), self.get()) ? 0 : FolderOpenToUsersError;
}

ScriptRunner::ScriptRunner(InstallContext& install) : install_(install) {}

ScriptRunner::~ScriptRunner() { Stop(); }

void ScriptRunner::UseRows(const ScriptRow* rows, int count) {
    rows_ = rows;
    rowCount_ = rows ? count : 0;
}

int ScriptRunner::Count() const { return rows_ ? rowCount_ : ScriptCount(); }

const ScriptRow& ScriptRunner::CurrentRow() const {
    if (current_ < 0 || current_ >= Count()) return kNoRow;
    return rows_ ? rows_[current_] : ScriptRowAt(current_);
}

std::wstring ScriptRunner::CurrentCaption() const {
    const wchar_t* caption = Describe(CurrentRow().Kind()).Caption;
    return caption ? caption : std::wstring();
}

std::vector<std::wstring> PreviousUndoLogs(const std::wstring& installDir, const std::wstring& entryLog,
                                           bool folderHoldsLog) {
    std::vector<std::wstring> logs;
    const std::wstring here = JoinPath(installDir, L"uninst.log");
    // The run that wrote it registers the entry early; a log the entry does
    // not name is the record of a run stopped before that, and of changes
    // nothing else can find. It goes before the new log replaces it.
    if (folderHoldsLog && !IsSameFolder(LowerWide(here), LowerWide(entryLog))) logs.push_back(here);
    if (!entryLog.empty()) logs.push_back(entryLog);
    return logs;
}

std::wstring RemovalLogLine(const std::wstring& log, UndoLogLoad load, const WalkResult& walk) {
    std::wstring line = L"Removing previous installation: " + log;
    switch (load) {
    case UndoLogLoad::Loaded: break;
    case UndoLogLoad::CannotOpen: return line + LogEnding::Fail + L". The undo log cannot be opened.";
    case UndoLogLoad::Empty:
    case UndoLogLoad::NotUndoLog: return line + LogEnding::Fail + L". The file is no undo log.";
    }
    const wchar_t* torn = walk.TornTail ? L" Its last record was incomplete; nothing of it was made." : L"";
    switch (walk.End) {
    case WalkEnd::Complete: return line + LogEnding::Success + (walk.TornTail ? std::wstring(L".") + torn : L"");
    case WalkEnd::Damaged:
        return line + LogEnding::Fail + L". A damaged record stopped the removal; what it records before stays." + torn;
    case WalkEnd::StepFailed: break;
    }
    return line + LogEnding::Fail + L". A step failed: " + SystemErrorText(walk.StepError) + torn;
}

void ScriptRunner::UninstallPrevious() {
    const std::wstring& installDir = install_.Location.InstallDir;
    const std::wstring entryLog = PreviousUndoLogPath();
    for (const std::wstring& log :
         PreviousUndoLogs(installDir, entryLog, PathExists(JoinPath(installDir, L"uninst.log")))) {
        UninstallEngine engine;
        const UndoLogLoad load = engine.Load(log);
        // An entry that names a log no longer there has no installation left to remove.
        if (load == UndoLogLoad::CannotOpen && !PathExists(log)) continue;
        const WalkResult walk = load == UndoLogLoad::Loaded ? engine.Undo() : WalkResult{};
        const bool removed = load == UndoLogLoad::Loaded && walk.End == WalkEnd::Complete;
        if (!removed) install_.PreviousRemovalFailed = true;
        removalLines_.push_back(RemovalLogLine(log, load, walk));
    }
}

void ScriptRunner::Start() {
    logText_.clear();
    recordedDirs_.clear();
    removalLines_.clear();
    current_ = 0;
    install_.RunStop = 0;
    install_.PreviousRemovalFailed = false;
    // An empty or relative folder would put the files, the logs and the IDE
    // registry entries wherever the current folder happens to be, and a folder
    // that cannot hold the undo log would give changes that nothing can take
    // back. Both are known before anything is touched, so such a run leaves
    // the previous installation as it is.
    const std::wstring& installDir = install_.Location.InstallDir;
    install_.RunRefusal =
        IsFullPath(installDir) ? ProbeUndoLogFolder(installDir) : static_cast<DWORD>(ERROR_BAD_PATHNAME);
    if (install_.RunRefusal != 0) return;
    // An existing folder that others can change is refused as well: they could
    // replace the uninstaller, a package or the undo log. Its install log says why.
    const bool createdByProduct = PreviousInstallCreated(installDir);
    install_.RunRefusal = InstallFolderRefusal(installDir, createdByProduct);
    if (install_.RunRefusal != 0) {
        if (logEnabled_) OpenLog();
        return;
    }

    UninstallPrevious();
    // A folder that an earlier version created with its parent's list, and
    // that the removal left (the user's files are in it), gets the install's list.
    // Best effort: a list that cannot be set leaves the folder as that version made it.
    if (createdByProduct && DirectoryExists(installDir)) (void)ProtectFolder(installDir);
    RemoveCompilerOutputLeftovers(installDir);
    logText_.clear();
    // Whether the install folder was there before: Start creates it for the
    // logs, so the folder row of the script cannot tell any more.
    installDirExisted_ = DirectoryExists(installDir);
    if (logEnabled_) OpenLog();
    for (const std::wstring& line : removalLines_) WriteLog(line);
    if (const DWORD err = OpenUndoLog(installDir, undoLog_)) {
        if (logEnabled_) {
            logText_ = SystemErrorText(err);
            WriteLog(logText_);
        }
        // Without the undo log no change of the run could be taken back. Only
        // a folder that changed since the probe above gets here.
        install_.RunRefusal = err;
    }
}

void ScriptRunner::OpenLog() {
    const std::wstring& installDir = install_.Location.InstallDir;
    (void)CreateProtectedFolder(installDir);  // a failure shows as the log's failed create
    logFile_.reset(CreateFileW(JoinPath(installDir, L"install.log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!logFile_) {
        logEnabled_ = false;
        return;
    }
    logEnabled_ = true;
    WriteLog(std::wstring(L"Start installation for ") + ProductName + L" v" + ProductVersion);
    WriteLog(L"RootPath: " + installDir);
    std::wstring products;
    for (int i = 1; i <= IdeCount; ++i) {
        if (!install_.SelectedIdeMask.Has(IdeTable[i].InternalId & install_.PreselectedIdeMask)) continue;
        if (!products.empty()) products += L",";
        products += IdeTable[i].Name;
    }
    WriteLog(L"Borland products: " + products);
}

void ScriptRunner::WriteLog(const std::wstring& text) {
    if (!logEnabled_ || !logFile_) return;
    const std::wstring line = text + L"\r\n";
    // The install log is for reading only: a line it cannot take does not stop
    // the install (the undo log, which the uninstall needs, is checked).
    (void)WriteAll(logFile_.get(), line.data(), line.size() * sizeof(wchar_t));
}

void ScriptRunner::CloseLog() { logFile_.reset(); }

void ScriptRunner::Stop() {
    CloseUndoLog(undoLog_);
    if (logEnabled_) CloseLog();
}

DWORD ScriptRunner::WriteRowUndoRecord(const ScriptRow& row, uint32_t param) {
    if (row.Kind() == RowKind::Info)
        return WriteUndoRecord(undoLog_, row.Word0, param, StoredLocation(row.Location), InfoText(install_, row.Param));
    if (row.Kind() == RowKind::CopyOneFile && row.Target)
        return WriteUndoRecord(undoLog_, row.Word0, param, StoredLocation(row.Target->Location),
                               Str(row.Target->FileName));
    return WriteUndoRecord(undoLog_, row.Word0, param, StoredLocation(row.Location), Str(row.Text));
}

bool ScriptRunner::InsidePreexistingDir(const std::wstring& path) const {
    const std::wstring lower = LowerWide(path);
    const RecordedDir* nearest = nullptr;
    for (const RecordedDir& dir : recordedDirs_)
        if (PathIsInside(dir.Path, lower) && (!nearest || dir.Path.size() > nearest->Path.size())) nearest = &dir;
    return nearest && nearest->ExistedBefore;
}

DWORD ScriptRunner::RecordWrittenFiles(const ActionContext& ctx) {
    for (const WrittenFile& file : ctx.Written) {
        if (!InsidePreexistingDir(ResolvePath(install_.Location, file.Location, file.Text))) continue;
        const DWORD err = WriteUndoRecord(undoLog_, RowKind::ExtractFile | RowFlag::Undo, file.ResId,
                                          StoredLocation(file.Location), file.Text);
        if (err != 0) return err;
    }
    return 0;
}

ActionResult ScriptRunner::StopRun(DWORD error) {
    install_.RunStop = error;
    const std::wstring line = L"Writing undo log: " + JoinPath(install_.Location.InstallDir, L"uninst.log") +
                              LogEnding::Fail + L". " + SystemErrorText(error);
    if (logEnabled_) WriteLog(line);
    logText_ = logText_.empty() ? line : logText_ + L"\r\n" + line;
    return ActionResult::FromWin32(error);
}

void ScriptRunner::ExplainMissingPackage(ActionResult result, ActionContext& ctx) {
    // A check row follows each compile row and tells whether the package was
    // built; the compiler's report belongs to that check alone.
    CompileReport report = std::move(install_.LastCompile);
    install_.LastCompile = CompileReport();
    if (result.Succeeded() || !report.Ran) return;
    for (const std::wstring& line : ReportLines(report, install_.CompileTimeoutMs))
        ctx.LogDetail.push_back(L"    " + line);
    ctx.FailureReason = FirstErrorText(report);
}

void ScriptRunner::SkipTo(RowKind endKind, uint32_t code) {
    skipping_ = true;
    skipEnd_ = endKind;
    skipCode_ = code;
}

ActionResult ScriptRunner::SkipBlockUnless(const ScriptRow& row, bool holds) {
    if (!holds) SkipTo(BlockEndOf(row.Kind()), row.Param);
    return ActionResult();
}

ActionResult ScriptRunner::Dispatch(const ScriptRow& row, ActionContext& ctx) {
    const uint32_t bits = row.Param;
    switch (row.Kind()) {
    case RowKind::IfIde: return SkipBlockUnless(row, install_.SelectedIdeMask.Has(IdeMask(bits)));
    case RowKind::IfItem: return SkipBlockUnless(row, install_.SelectedItemMask.Has(ItemMask(bits)));
    case RowKind::IfOption: return SkipBlockUnless(row, (bits & install_.CustomizeMask) != 0);
    case RowKind::IfNotOption: return SkipBlockUnless(row, (bits & install_.CustomizeMask) == 0);
    case RowKind::If64BitIde: {
        const IdeIndex ide = install_.Location.CurrentIde;
        return SkipBlockUnless(row, ide.IsValid() && FoundOf(install_.Ides, ide).Has64BitIde);
    }
    case RowKind::IfFileExists: return SkipBlockUnless(row, DoCheckFile(row, ctx).Succeeded());
    case RowKind::SetIde:
        SelectIde(install_.Location, install_.Ides, IdeIndex(static_cast<int>(row.Param)), Str(row.Text));
        return ActionResult();
    case RowKind::UninstallPrevious: {
        removalLines_.clear();
        UninstallPrevious();
        for (const std::wstring& line : removalLines_) ctx.LogText += (ctx.LogText.empty() ? L"" : L"\r\n") + line;
        return install_.PreviousRemovalFailed ? ActionResult::FromWin32(ERROR_INSTALL_FAILURE) : ActionResult();
    }
    case RowKind::CompilePackage: return DoCompilePackage(row, ctx);
    case RowKind::RegisterPackage: return DoRegisterPackage(row, ctx);
    case RowKind::AddSearchPath: return DoAddSearchPath(row, ctx);
    case RowKind::AddIdePath: return DoAddIdePath(row, ctx);
    case RowKind::AppendText: return DoAppendText(row, ctx);
    case RowKind::DeleteOneFile: return DoDeleteFile(row, ctx);
    case RowKind::RegisterWinHelp: return DoRegisterWinHelp(row, ctx);
    case RowKind::SetHelpDir: return DoSetHelpDir(row, ctx);
    case RowKind::CreateRegKey: return DoCreateRegKey(row, ctx);
    case RowKind::CheckFile: return DoCheckFile(row, ctx);
    case RowKind::CopyFiles: return DoCopyFiles(row, ctx);
    case RowKind::DeleteFiles: return DoDeleteFiles(row, ctx);
    case RowKind::MergeFiles: return DoMergeFiles(row, ctx);
    case RowKind::ReplaceText: return DoReplaceText(row, ctx);
    case RowKind::RunFile: return DoRunFile(row, ctx);
    case RowKind::RunInstallFile: return DoRunInstallFile(row, ctx);
    case RowKind::CreateDir: return DoCreateDir(row, ctx);
    case RowKind::ExtractFile: return DoExtractFile(row, ctx);
    case RowKind::ClearDir: return DoClearDir(row, ctx);
    case RowKind::SetCurrentDir: return DoSetCurrentDir(row, ctx);
    case RowKind::ExtractFileOnce: return DoExtractFileOnce(row, ctx);
    case RowKind::ExtractFileIfNewer: return DoExtractFileIfNewer(row, ctx);
    case RowKind::RegisterUninstall: return DoRegisterUninstall(row, ctx);
    case RowKind::CopyOneFile: return DoCopyFile(row, ctx);
    // Block ends and information rows change nothing; no script has an AppendTextOld row.
    case RowKind::EndIfIde:
    case RowKind::EndIfItem:
    case RowKind::EndIfOption:
    case RowKind::EndIfNotOption:
    case RowKind::EndIfFileExists:
    case RowKind::EndIf64BitIde:
    case RowKind::Info:
    case RowKind::AppendTextOld: return ActionResult();
    }
    return ActionResult();  // a number that names no kind
}

ActionResult ScriptRunner::RunCurrentRow() {
    if (install_.RunRefusal != 0) {
        // A refused run passes over every row; the first one shows why, worded
        // like a folder row that failed.
        logText_.clear();
        if (current_ != 0) return ActionResult();
        logText_ = L"Creating directory: " + install_.Location.InstallDir + L"...Fail. " +
                   SystemErrorText(install_.RunRefusal);
        return ActionResult::FromWin32(install_.RunRefusal);
    }
    if (install_.RunStopped()) {
        // A change that could not be recorded stopped the run: nothing after
        // it may change the machine unrecorded. The stopping row reported it.
        logText_.clear();
        return ActionResult();
    }
    const ScriptRow& row = CurrentRow();
    failureReason_.clear();
    if (skipping_) {
        if (row.Kind() == skipEnd_ && row.Param == skipCode_) skipping_ = false;
        return ActionResult();
    }
    logText_.clear();
    if (install_.CopyOnly && PassedOverInCopyOnly(install_.Location, row)) return ActionResult();
    if (PassedOverForManualBuild(install_, row)) {
        // Nothing is changed, so nothing is recorded for the uninstall either.
        logText_ = SkippedRowText(install_, row);
        WriteLog(logText_);
        return ActionResult();
    }

    // The records are written before the change, so that no change is left
    // without one: a failed action is recorded like a successful one.
    if (const DWORD recordError = RecordBeforeChange(row)) return StopRun(recordError);
    return RunAction(row);
}

DWORD ScriptRunner::RecordBeforeChange(const ScriptRow& row) {
    if (row.Kind() != RowKind::CreateDir) return row.HasFlag(RowFlag::Undo) ? WriteRowUndoRecord(row, row.Param) : 0;
    // A folder row notes whether its folder was there before the run. Folder rows
    // without a record of their own get one when they lie in a recorded folder
    // that existed before: that folder is not removed as a whole by an uninstall.
    const std::wstring dirPath = ResolvePath(install_.Location, row.Location, Str(row.Text));
    const bool isInstallDir = LowerWide(dirPath) == LowerWide(install_.Location.InstallDir);
    const bool existedBefore = isInstallDir ? installDirExisted_ : DirectoryExists(dirPath);
    DWORD error = 0;
    if (row.HasFlag(RowFlag::Undo))
        error = WriteRowUndoRecord(row, existedBefore ? DirExistedBefore : row.Param);
    else if (InsidePreexistingDir(dirPath))
        error = WriteUndoRecord(undoLog_, RowKind::CreateDir | RowFlag::Undo, existedBefore ? DirExistedBefore : 0,
                                StoredLocation(row.Location), Str(row.Text));
    else
        return 0;
    if (error != 0) return error;
    recordedDirs_.push_back({LowerWide(dirPath), existedBefore});
    if (!existedBefore || !isInstallDir) return 0;
    // The logs were written into an install folder that was already there.
    const uint32_t install = StoredLocation(LocationCode::Install);
    for (const wchar_t* log : {L"install.log", L"uninst.log"})
        if (const DWORD logError = WriteUndoRecord(undoLog_, RowKind::ExtractFile | RowFlag::Undo, 0, install, log))
            return logError;
    return 0;
}

ActionResult ScriptRunner::RunAction(const ScriptRow& row) {
    ActionContext ctx;
    ctx.Install = &install_;
    ActionResult result;
    try {
        result = Dispatch(row, ctx);
    } catch (const std::bad_alloc&) {
        result = ActionResult::FromWin32(ERROR_NOT_ENOUGH_MEMORY);  // the only exception an action lets out
    }
    if (row.Kind() == RowKind::CheckFile) ExplainMissingPackage(result, ctx);
    logText_ = ctx.LogText;
    failureReason_ = ctx.FailureReason;
    if (logEnabled_ && !logText_.empty()) WriteLog(logText_);
    for (const std::wstring& line : ctx.LogDetail) WriteLog(line);

    // Which files a copy wrote into a folder that existed before is known only
    // now (a mask, a file that was already there); their records follow the
    // change, and one that fails still stops the run here.
    const DWORD writtenError = RecordWrittenFiles(ctx);
    if (writtenError != 0) return StopRun(writtenError);
    return result;
}

int RunRemainingRows(ScriptRunner& script, const std::function<void(ActionResult result)>& afterRow,
                     const std::function<void()>& beforeRow) {
    int failed = 0;
    while (script.Current() < script.Count()) {
        if (beforeRow) beforeRow();
        const ActionResult result = script.RunCurrentRow();
        if (result.Failed()) ++failed;
        if (afterRow) afterRow(result);
        script.Advance();
    }
    return failed;
}

}  // namespace tessel::script
