// The script runner: steps the install script row by row, writes "install.log"
// and the undo log, and removes an earlier installation before a new one.
#include "script/runner/ScriptRunner.h"

#include <new>
#include "changes/ActionLogic.h"
#include "changes/Changes.h"
#include "changes/RecordPaths.h"
#include "changes/files/FileChanges.h"
#include "changes/packages/ManualBuild.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/FolderSecurity.h"
#include "common/IdeTable.h"
#include "common/LogNames.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/Product.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/SystemText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoLog.h"
#include "common/UndoRules.h"
#include "script/manifest/Manifest.h"

namespace tessel::script {

using namespace tessel::common;
using namespace tessel::changes;

namespace {

// The undo record text of an information row.
std::wstring InfoText(const InstallPlan& plan, uint32_t param) {
    switch (static_cast<InfoCode>(param)) {
    case InfoCode::ProductName: return ProductName;
    case InfoCode::ProductVersion: return ProductVersion;
    case InfoCode::InstallDir: return plan.InstallDir;
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
        const std::wstring name = JoinPath(dir, UndoLogFileName);
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

bool PreviousInstallCreated(const std::wstring& dir) {
    const std::wstring path = uninstall_entry::PreviousUndoLogPath();
    if (path.empty() || !IsFullPath(dir)) return false;
    UninstallEngine engine;
    return engine.Load(path) == UndoLogLoad::Loaded &&
           IsSameFolder(LowerWide(engine.Location().InstallDir), LowerWide(dir)) &&
           files::LogCreatedInstallFolder(engine.LogBytes());
}

DWORD InstallFolderRefusal(const std::wstring& dir, bool createdByProduct) {
    if (createdByProduct || !DirectoryExists(dir)) return 0;
    UniqueLocal descriptor, self;
    if (const DWORD error = ReadFolderDescriptor(dir, descriptor)) return error;
    if (const DWORD error = CurrentUserSid(self)) return error;
    return OnlyAdministratorsCanChange(descriptor.get(), self.get()) ? 0 : FolderOpenToUsersError;
}

ScriptRunner::ScriptRunner(const InstallPlan& plan) : plan_(plan) { PrepareLanes(); }

ScriptRunner::~ScriptRunner() { Stop(); }

void ScriptRunner::UseRows(const ScriptRow* rows, int count) {
    rows_ = rows;
    rowCount_ = rows ? count : 0;
    PrepareLanes();
}

int ScriptRunner::Count() const { return rows_ ? rowCount_ : ScriptCount(); }

const ScriptRow& ScriptRunner::RowAt(int index) const {
    if (index < 0 || index >= Count()) return kNoRow;
    return rows_ ? rows_[index] : ScriptRowAt(index);
}

const ScriptRow& ScriptRunner::CurrentRow() const { return RowAt(current_); }

void ScriptRunner::PrepareLanes() {
    lanes_.clear();
    compiling_.clear();
    pending_ = collecting_ = false;
    interleaved_ = Jobs() > 1;
    state_.UndoLog.Interleaved = interleaved_;
    state_.UndoLog.Writer = state_.UndoLog.Open = IdeRecord();
    for (const LaneSpan& span : SplitIntoLanes([this](int i) -> const ScriptRow& { return RowAt(i); }, Count())) {
        Lane lane;
        lane.Span = span;
        lane.Next = span.First;
        if (span.IdeRow >= 0) {
            const ScriptRow& row = RowAt(span.IdeRow);
            lane.Ide = IdeRecordOf(row, plan_);
            const IdeIndex ide(static_cast<int>(row.Param));
            if (ide.IsValid()) lane.Caption = IdeCaption(ide, FoundOf(plan_.Ides, ide).BdsVersion);
        }
        lanes_.push_back(std::move(lane));
    }
    // The first lane runs on the state the run starts with.
    begun_ = lanes_.empty() ? 0 : 1;
    loaded_ = lanes_.empty() ? -1 : 0;
    if (!lanes_.empty()) lanes_[0].Stage = LaneStage::Busy;
    current_ = 0;
}

void ScriptRunner::SwitchTo(int lane) {
    if (lane == loaded_) return;
    auto exchange = [this](LaneState& other) {
        std::swap(state_.Location, other.Location);
        std::swap(state_.WorkingDir, other.WorkingDir);
        std::swap(state_.LastCompile, other.LastCompile);
        std::swap(state_.PackageSuffix, other.PackageSuffix);
        std::swap(skip_, other.Skip);
    };
    if (loaded_ >= 0) exchange(lanes_[static_cast<size_t>(loaded_)].Saved);
    loaded_ = lane;
    exchange(lanes_[static_cast<size_t>(lane)].Saved);
    state_.UndoLog.Writer = lanes_[static_cast<size_t>(lane)].Ide;
}

void ScriptRunner::BeginLanes() {
    while (begun_ < static_cast<int>(lanes_.size())) {
        BusyLanes busy;
        for (int k = 0; k < begun_; ++k) {
            const Lane& lane = lanes_[static_cast<size_t>(k)];
            if (lane.Stage == LaneStage::Done) continue;
            ++busy.Count;
            if (lane.Span.SharesFolders) ++busy.Sharing;
            busy.Barrier = busy.Barrier || lane.Span.Barrier;
        }
        Lane& next = lanes_[static_cast<size_t>(begun_)];
        if (!LaneMayBegin(next.Span, busy, Jobs())) return;
        next.Saved = carried_;
        next.Stage = LaneStage::Busy;
        ++begun_;
    }
}

bool ScriptRunner::StartsCompiler(const ScriptRow& row) const {
    if (row.Kind() != RowKind::CompilePackage || skip_.Active || outcome_.RunRefused() || outcome_.RunStopped())
        return false;
    if (plan_.CopyOnly && PassedOverInCopyOnly(state_.Location, row)) return false;
    return !packages::PassedOverForManualBuild(state_, row);
}

void ScriptRunner::WaitForCompiler(const packages::RunningCompiler& compiler) {
    if (compiler.Process)
        WaitForProgram(compiler.Process.get(), packages::RemainingWaitMs(compiler, GetTickCount()), wait_);
}

int ScriptRunner::NextRow() {
    for (;;) {
        BeginLanes();
        const bool slotFree = static_cast<int>(compiling_.size()) < Jobs();
        for (int k = 0; k < begun_; ++k) {
            if (lanes_[static_cast<size_t>(k)].Stage != LaneStage::Busy) continue;
            SwitchTo(k);
            const int next = lanes_[static_cast<size_t>(k)].Next;
            if (slotFree || !StartsCompiler(RowAt(next))) return next;
        }
        if (compiling_.empty()) return Count();  // every lane has ended
        // Every lane waits for a compiler: the one started first is collected first.
        const int k = compiling_.front();
        Lane& lane = lanes_[static_cast<size_t>(k)];
        WaitForCompiler(lane.Compiler);
        compiling_.pop_front();
        lane.Stage = LaneStage::Busy;
        SwitchTo(k);
        collecting_ = true;
        return lane.Next;
    }
}

void ScriptRunner::Advance() {
    if (current_ >= Count() || loaded_ < 0) {
        current_ = Count();
        return;
    }
    Lane& lane = lanes_[static_cast<size_t>(loaded_)];
    if (pending_) {
        lane.Stage = LaneStage::Compiling;
        compiling_.push_back(loaded_);
        pending_ = false;
    } else if (++lane.Next >= lane.Span.End) {
        lane.Stage = LaneStage::Done;
        carried_ = LaneState{state_.Location, state_.WorkingDir, state_.LastCompile, state_.PackageSuffix, skip_};
    }
    collecting_ = false;
    current_ = NextRow();
}

std::wstring ScriptRunner::BuildingIdes() const {
    std::wstring names;
    for (int k : compiling_) {
        const std::wstring& caption = lanes_[static_cast<size_t>(k)].Caption;
        if (caption.empty()) continue;
        if (!names.empty()) names += L", ";
        names += caption;
    }
    return names;
}

void ScriptRunner::WriteLog(const std::wstring& text) {
    const std::wstring& caption = loaded_ >= 0 ? lanes_[static_cast<size_t>(loaded_)].Caption : std::wstring();
    if (!interleaved_ || caption.empty()) {
        log_.Write(text);
        return;
    }
    const std::wstring prefix = L"[" + caption + L"] ";
    std::wstring lines = prefix + text;
    for (size_t at = lines.find(L"\r\n"); at != std::wstring::npos; at = lines.find(L"\r\n", at + 2 + prefix.size()))
        lines.insert(at + 2, prefix);
    log_.Write(lines);
}

std::wstring ScriptRunner::CurrentCaption() const {
    const wchar_t* caption = Describe(CurrentRow().Kind()).Caption;
    return caption ? caption : std::wstring();
}

std::vector<std::wstring> PreviousUndoLogs(const std::wstring& installDir, const std::wstring& entryLog,
                                           bool folderHoldsLog) {
    std::vector<std::wstring> logs;
    const std::wstring here = JoinPath(installDir, UndoLogFileName);
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
    const std::wstring& installDir = plan_.InstallDir;
    const std::wstring entryLog = uninstall_entry::PreviousUndoLogPath();
    for (const std::wstring& log :
         PreviousUndoLogs(installDir, entryLog, PathExists(JoinPath(installDir, UndoLogFileName)))) {
        UninstallEngine engine;
        const UndoLogLoad load = engine.Load(log);
        // An entry that names a log no longer there has no installation left to remove.
        if (load == UndoLogLoad::CannotOpen && !PathExists(log)) continue;
        const WalkResult walk = load == UndoLogLoad::Loaded ? engine.Undo() : WalkResult{};
        const bool removed = load == UndoLogLoad::Loaded && walk.End == WalkEnd::Complete;
        if (!removed) outcome_.PreviousRemovalFailed = true;
        removalLines_.push_back(RemovalLogLine(log, load, walk));
    }
}

void ScriptRunner::Start() {
    logText_.clear();
    removalLines_.clear();
    skip_ = SkipState();
    outcome_ = RunOutcome();
    state_ = RunState();
    state_.Location.InstallDir = plan_.InstallDir;
    state_.Location.Profile = plan_.Profile;
    state_.ProgramWait = wait_;
    carried_ = LaneState();
    PrepareLanes();
    // An empty or relative folder would put the files, the logs and the IDE
    // registry entries wherever the current folder happens to be, and a folder
    // that cannot hold the undo log would give changes that nothing can take
    // back. Both are known before anything is touched, so such a run leaves
    // the previous installation as it is.
    const std::wstring& installDir = plan_.InstallDir;
    outcome_.RunRefusal =
        IsFullPath(installDir) ? ProbeUndoLogFolder(installDir) : static_cast<DWORD>(ERROR_BAD_PATHNAME);
    if (outcome_.RunRefusal != 0) return;
    // An existing folder that others can change is refused as well: they could
    // replace the uninstaller, a package or the undo log. Its install log says why.
    const bool createdByProduct = PreviousInstallCreated(installDir);
    outcome_.RunRefusal = InstallFolderRefusal(installDir, createdByProduct);
    if (outcome_.RunRefusal != 0) {
        OpenLog();
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
    state_.InstallDirExisted = DirectoryExists(installDir);
    OpenLog();
    for (const std::wstring& line : removalLines_) WriteLog(line);
    if (const DWORD err = OpenUndoLog(installDir, state_.UndoLog.File)) {
        logText_ = SystemErrorText(err);
        WriteLog(logText_);
        // Without the undo log no change of the run could be taken back. Only
        // a folder that changed since the probe above gets here.
        outcome_.RunRefusal = err;
    }
}

void ScriptRunner::OpenLog() {
    log_.Open(plan_.InstallDir);
    WriteLog(std::wstring(L"Start installation for ") + ProductName + L" v" + ProductVersion);
    WriteLog(L"RootPath: " + plan_.InstallDir);
    std::wstring products;
    for (int i = 1; i <= IdeCount; ++i) {
        if (!plan_.SelectedIdeMask.Has(IdeTable[i].InternalId & plan_.PreselectedIdeMask)) continue;
        if (!products.empty()) products += L",";
        products += IdeTable[i].Name;
    }
    WriteLog(L"Borland products: " + products);
    // Only an install with a registry profile says so; the others' log stays as it always was.
    if (!plan_.Profile.empty()) WriteLog(L"Registry profile: " + plan_.Profile);
}

void ScriptRunner::Stop() {
    CloseUndoLog(state_.UndoLog.File);
    log_.Close();
}

DWORD ScriptRunner::RecordInfo(const ScriptRow& row) {
    return WriteUndoRecord(state_.UndoLog, row.Word0, row.Param, StoredLocation(row.Location),
                           InfoText(plan_, row.Param));
}

ActionResult ScriptRunner::StopRun(DWORD error) {
    outcome_.RunStop = error;
    const std::wstring line = L"Writing undo log: " + JoinPath(plan_.InstallDir, UndoLogFileName) + LogEnding::Fail +
                              L". " + SystemErrorText(error);
    WriteLog(line);
    logText_ = logText_.empty() ? line : logText_ + L"\r\n" + line;
    return ActionResult::FromWin32(error);
}

void ScriptRunner::SkipTo(RowKind endKind, uint64_t code) { skip_ = SkipState{true, endKind, code}; }

ActionResult ScriptRunner::SkipBlockUnless(const ScriptRow& row, bool holds) {
    if (!holds) SkipTo(BlockEndOf(row.Kind()), BlockCode(row));
    return ActionResult();
}

ActionResult ScriptRunner::RunControlRow(const ScriptRow& row, ChangeContext& ctx) {
    const uint32_t bits = row.Param;
    switch (KindNumber(row.Kind())) {
    case KindNumber(RowKind::IfIde): return SkipBlockUnless(row, plan_.SelectedIdeMask.Has(IdeMask(bits)));
    case KindNumber(RowKind::IfItem):
        return SkipBlockUnless(row, plan_.SelectedItemMask.Has(ItemMaskOf(bits, row.Options)));
    case KindNumber(RowKind::IfOption): return SkipBlockUnless(row, (bits & plan_.CustomizeMask) != 0);
    case KindNumber(RowKind::IfNotOption): return SkipBlockUnless(row, (bits & plan_.CustomizeMask) == 0);
    case KindNumber(RowKind::If64BitIde): {
        const IdeIndex ide = state_.Location.CurrentIde;
        return SkipBlockUnless(row, ide.IsValid() && FoundOf(plan_.Ides, ide).Has64BitIde);
    }
    case KindNumber(RowKind::IfFileExists): return SkipBlockUnless(row, packages::Check(row, ctx).Succeeded());
    case KindNumber(RowKind::SetIde): {
        const IdeIndex ide(static_cast<int>(row.Param));
        SelectIde(state_.Location, plan_.Ides, ide, Str(row.Text), ide.IsValid() ? FoundOf(plan_.Ides, ide).BdsVersion : 0);
        state_.PackageSuffix.clear();
        return ActionResult();
    }
    case KindNumber(RowKind::IfModernCpp): {
        const IdeIndex ide = state_.Location.CurrentIde;
        return SkipBlockUnless(row, ide.IsValid() && FoundOf(plan_.Ides, ide).HasModernCpp);
    }
    case KindNumber(RowKind::UninstallPrevious): {
        removalLines_.clear();
        UninstallPrevious();
        for (const std::wstring& line : removalLines_) ctx.LogText += (ctx.LogText.empty() ? L"" : L"\r\n") + line;
        return outcome_.PreviousRemovalFailed ? ActionResult::FromWin32(ERROR_INSTALL_FAILURE) : ActionResult();
    }
    default: return ActionResult();  // block ends and information rows change nothing
    }
}

ActionResult ScriptRunner::RunCurrentRow() {
    if (collecting_) return CollectCompile();
    if (outcome_.RunRefusal != 0) {
        // A refused run passes over every row; the first one shows why, worded
        // like a folder row that failed.
        logText_.clear();
        if (current_ != 0) return ActionResult();
        logText_ = L"Creating directory: " + plan_.InstallDir + L"...Fail. " + SystemErrorText(outcome_.RunRefusal);
        return ActionResult::FromWin32(outcome_.RunRefusal);
    }
    if (outcome_.RunStopped()) {
        // A change that could not be recorded stopped the run: nothing after
        // it may change the machine unrecorded. The stopping row reported it.
        logText_.clear();
        return ActionResult();
    }
    const ScriptRow& row = CurrentRow();
    failureReason_.clear();
    if (skip_.Active) {
        if (row.Kind() == skip_.End && BlockCode(row) == skip_.Code) skip_.Active = false;
        return ActionResult();
    }
    logText_.clear();
    if (plan_.CopyOnly && PassedOverInCopyOnly(state_.Location, row)) return ActionResult();
    if (packages::PassedOverForManualBuild(state_, row)) {
        // Nothing is changed, so nothing is recorded for the uninstall either.
        logText_ = packages::SkippedRowText(state_, row);
        WriteLog(logText_);
        return ActionResult();
    }

    // Package names with the automatic suffix: the check after the first
    // compile learns it; until then no other row may act on such a name.
    if (packages::NamesAutoSuffix(row)) {
        if (!state_.PackageSuffix.empty()) {
            const packages::RowWithSuffix named(row, state_.PackageSuffix);
            return RunAction(named.Row());
        }
        if (row.Kind() != RowKind::CheckFile) return ActionResult(changes::CheckFailure::Missing);
    }

    // The records are written before the change, so that no change is left
    // without one: a failed action is recorded like a successful one.
    return RunAction(row);
}

ActionResult ScriptRunner::RunAction(const ScriptRow& row) {
    ChangeContext ctx(plan_, state_);
    const bool isChange = Describe(row.Kind()).Module != ChangeModule::None;
    DWORD recordError = 0;
    if (isChange)
        recordError = RecordChange(row, ctx);
    else if (row.Kind() == RowKind::Info)
        recordError = RecordInfo(row);
    else if (row.Kind() == RowKind::SetIde && row.HasFlag(RowFlag::Undo))
        recordError = WriteIdeRecord(row, ctx);
    else if (row.HasFlag(RowFlag::Undo))
        recordError = WriteRowRecord(row, row.Param, ctx);
    if (recordError != 0) return StopRun(recordError);

    ActionResult result;
    try {
        if (row.Kind() == RowKind::CompilePackage) {
            // Its compiler runs on while other rows run; CollectCompile ends the row.
            packages::RunningCompiler& compiler = lanes_[static_cast<size_t>(loaded_)].Compiler;
            result = packages::StartCompile(row, ctx, compiler);
            if (compiler.Process) {
                pending_ = true;
                return result;
            }
        } else {
            result = isChange ? ApplyChange(row, ctx) : RunControlRow(row, ctx);
        }
    } catch (const std::bad_alloc&) {
        result = ActionResult::FromWin32(ERROR_NOT_ENOUGH_MEMORY);  // the only exception a change lets out
    }
    return EndAction(ctx, result);
}

ActionResult ScriptRunner::CollectCompile() {
    const ScriptRow& row = CurrentRow();
    failureReason_.clear();
    logText_.clear();
    packages::RunningCompiler& compiler = lanes_[static_cast<size_t>(loaded_)].Compiler;
    if (outcome_.RunStopped()) {
        // The stopping row reported it; what this compiler did is not reported.
        compiler = packages::RunningCompiler();
        return ActionResult();
    }
    ChangeContext ctx(plan_, state_);
    ActionResult result;
    try {
        result = packages::FinishCompile(row, ctx, compiler);
    } catch (const std::bad_alloc&) {
        result = ActionResult::FromWin32(ERROR_NOT_ENOUGH_MEMORY);
    }
    return EndAction(ctx, result);
}

ActionResult ScriptRunner::EndAction(ChangeContext& ctx, ActionResult result) {
    logText_ = ctx.LogText;
    failureReason_ = ctx.FailureReason;
    if (!logText_.empty()) WriteLog(logText_);
    // The report lines stand right under the row's line, in every lane: no prefix.
    for (const std::wstring& line : ctx.LogDetail) log_.Write(line);

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
        if (beforeRow && !script.Collecting()) beforeRow();
        const ActionResult result = script.RunCurrentRow();
        // A compile row whose compiler runs on ends when Advance brings it back.
        if (!script.RowPending()) {
            if (result.Failed()) ++failed;
            if (afterRow) afterRow(result);
        }
        script.Advance();
    }
    return failed;
}

}  // namespace tessel::script
