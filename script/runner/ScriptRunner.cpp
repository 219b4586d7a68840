// The script runner: steps the install script row by row, writes "install.log"
// and the undo log, and removes an earlier installation before a new one.
#include "script/runner/ScriptRunner.h"

#include "common/UninstallEngine.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/SystemUtils.h"
#include "common/UndoLog.h"
#include "common/UndoRules.h"
#include "common/UndoSteps.h"
#include "script/actions/ActionContext.h"
#include "script/actions/ActionLogic.h"
#include "script/manifest/Manifest.h"
#include "script/runner/InstallContext.h"
#include "script/actions/FileActions.h"
#include "script/actions/PackageActions.h"

namespace tessel::script {

using namespace tessel::common;


namespace {

std::wstring Str(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

// The undo record text of an information row.
std::wstring InfoText(const InstallContext& install, uint32_t code) {
    switch (code) {
        case infoProductName: return ProductName;
        case infoProductVersion: return ProductVersion;
        case infoInstallDir: return install.Location.InstallDir;
        case infoProductRegKey: return ProductRegKey;
        case infoProductIntName: return ProductIntName;
        default: return std::wstring();
    }
}

bool BlockTestHolds(const InstallContext& install, RowKind kind, uint32_t param) {
    switch (kind) {
        case RowKind::IfIde: return (param & install.SelectedIdeMask) != 0;
        case RowKind::IfItem: return (param & install.SelectedItemMask) != 0;
        case RowKind::IfOption: return (param & install.CustomizeMask) != 0;
        case RowKind::IfNotOption: return (param & install.CustomizeMask) == 0;
        default: return true;
    }
}

const ScriptRow kNoRow = {0, nullptr, 0, 0, nullptr, nullptr, 0, 0, nullptr};

// Copy-only mode passes over the IDE rows, and with the compile rows the copies
// of the packages they would have built: the package folder holds nothing
// else to copy. The product key row is the product's, not an IDE's: it runs,
// so that the choices the finish page stores are recorded and an uninstall
// removes them.
bool PassedOverInCopyOnly(const common::LocationContext& at, const ScriptRow& row) {
    if (row.Kind() == RowKind::CreateRegKey) return Str(row.Text) != ProductRegKey;
    if (row.Kind() != RowKind::CopyOneFile) return IsIdeRowKind(row.Kind());
    if (!IsIdeIndex(at.CurrentIde) || at.IdeFolder.empty()) return false;
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
    DWORD error = CreateDirectoryPath(dir);
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

ScriptRunner::ScriptRunner(InstallContext& install) : FInstall(install) {}

ScriptRunner::~ScriptRunner() { Stop(); }

void ScriptRunner::UseRows(const ScriptRow* rows, int count) {
    FRows = rows;
    FRowCount = rows ? count : 0;
}

int ScriptRunner::Count() const { return FRows ? FRowCount : ScriptCount(); }

int ScriptRunner::ProgressCount() const { return Count(); }

const ScriptRow& ScriptRunner::GetItem() const {
    if (FCurrent < 0 || FCurrent >= Count()) return kNoRow;
    return FRows ? FRows[FCurrent] : ScriptRowAt(FCurrent);
}

void ScriptRunner::ItemText(std::wstring& caption) const {
    switch (GetItem().Kind()) {
        case RowKind::CompilePackage: caption = L"Compiling package"; break;
        case RowKind::CreateDir: caption = L"Creating directory"; break;
        case RowKind::ExtractFile: caption = L"Copying file"; break;
        default: break;
    }
}

void ScriptRunner::UninstallPrevious() {
    // The removal is silent: whatever goes wrong below (a damaged old log, no
    // memory) only means that there is nothing to remove.
    try {
        const std::wstring key = std::wstring(UninstallRootKey) + ProductIntName;
        std::wstring name, command;
        if (ReadRegString(HKEY_LOCAL_MACHINE, key, L"DisplayName", name) &&
            ReadRegString(HKEY_LOCAL_MACHINE, key, L"UninstallString", command)) {
            const std::wstring path = UndoLogPathFromUninstallString(command);
            if (!path.empty()) {
                UninstallEngine engine;
                if (engine.PrepareUninstFile(path) == UndoLogLoad::Loaded) {
                    engine.PrepareDeinstall();
                    engine.DoDeinstall();
                }
                FLogText += L"...Success";
            }
        }
    } catch (...) {
    }
}

void ScriptRunner::Start() {
    FLogText.clear();
    FRecordedDirs.clear();
    FCurrent = 0;
    // An empty or relative folder would put the files, the logs and the IDE
    // registry entries wherever the current folder happens to be, and a folder
    // that cannot hold the undo log would give changes that nothing can take
    // back. Both are known before anything is touched, so such a run leaves
    // the previous installation as it is.
    const std::wstring& installDir = FInstall.Location.InstallDir;
    FInstall.RunRefusal = IsFullPath(installDir) ? ProbeUndoLogFolder(installDir) : static_cast<DWORD>(ERROR_BAD_PATHNAME);
    if (FInstall.RunRefusal != 0) return;

    UninstallPrevious();
    FLogText.clear();
    // Whether the install folder was there before: Start creates it for the
    // logs, so the folder row of the script cannot tell any more.
    FInstallDirExisted = DirectoryExists(installDir);
    if (FLogEnable) OpenLog();
    if (!OpenUndoLog(installDir, FBinLogHandle)) {
        const DWORD err = GetLastError();
        if (FLogEnable) {
            FLogText = SystemErrorText(err);
            WriteLog(FLogText);
        }
        // Without the undo log no change of the run could be taken back. Only
        // a folder that changed since the probe above gets here.
        FInstall.RunRefusal = err != 0 ? err : static_cast<DWORD>(ERROR_CANNOT_MAKE);
    }
}

void ScriptRunner::OpenLog() {
    const std::wstring& installDir = FInstall.Location.InstallDir;
    CreateDirectoryPath(installDir);
    FLogHandle.reset(CreateFileW(JoinPath(installDir, L"install.log").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!FLogHandle) {
        FLogEnable = false;
        return;
    }
    FLogEnable = true;
    WriteLog(std::wstring(L"Start installation for ") + ProductName + L" v" + ProductVersion);
    WriteLog(L"RootPath: " + installDir);
    std::wstring products;
    for (int i = 1; i <= IdeCount; ++i) {
        if ((IdeTable[i].InternalId & FInstall.SelectedIdeMask & FInstall.PreselectedIdeMask) == 0) continue;
        if (!products.empty()) products += L",";
        products += IdeTable[i].Name;
    }
    WriteLog(L"Borland products: " + products);
}

void ScriptRunner::WriteLog(const std::wstring& text) {
    if (!FLogEnable || !FLogHandle) return;
    const std::wstring line = text + L"\r\n";
    DWORD written = 0;
    WriteFile(FLogHandle.get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
}

void ScriptRunner::CloseLog() { FLogHandle.reset(); }

void ScriptRunner::Stop() {
    CloseUndoLog(FBinLogHandle);
    if (FLogEnable) CloseLog();
}

void ScriptRunner::WriteRowUndoRecord(const ScriptRow& row, uint32_t param) {
    if (row.Kind() == RowKind::Info) {
        WriteUndoRecord(FBinLogHandle, row.Word0, param, row.Location, InfoText(FInstall, row.Param));
    } else if (row.Kind() == RowKind::CopyOneFile && row.Target) {
        WriteUndoRecord(FBinLogHandle, row.Word0, param, row.Target->Location, Str(row.Target->FileName));
    } else {
        WriteUndoRecord(FBinLogHandle, row.Word0, param, row.Location, Str(row.Text));
    }
}

bool ScriptRunner::InsidePreexistingDir(const std::wstring& path) const {
    const std::wstring lower = LowerWide(path);
    const RecordedDir* nearest = nullptr;
    for (const RecordedDir& dir : FRecordedDirs)
        if (PathIsInside(dir.Path, lower) && (!nearest || dir.Path.size() > nearest->Path.size())) nearest = &dir;
    return nearest && nearest->ExistedBefore;
}

void ScriptRunner::RecordWrittenFiles(const ActionContext& ctx) {
    for (const WrittenFile& file : ctx.Written)
        if (InsidePreexistingDir(ResolvePath(FInstall.Location, file.Location, file.Text)))
            WriteUndoRecord(FBinLogHandle, RowKind::ExtractFile | sfUndo, file.ResId, file.Location, file.Text);
}

int ScriptRunner::Dispatch(const ScriptRow& row, ActionContext& ctx) {
    switch (row.Kind()) {
        case RowKind::IfIde:
        case RowKind::IfItem:
        case RowKind::IfOption:
        case RowKind::IfNotOption:
            if (!BlockTestHolds(FInstall, row.Kind(), row.Param)) {
                FSkipTypeId = static_cast<uint16_t>(row.Kind()) + 1;
                FSkipCode = static_cast<int32_t>(row.Param);
            }
            return 0;
        case RowKind::IfFileExists:
            if (DoCheckFile(row, ctx) != 0) {
                FSkipTypeId = static_cast<uint16_t>(RowKind::EndIfFileExists);
                FSkipCode = static_cast<int32_t>(row.Param);
            }
            return 0;
        case RowKind::SetIde:
            SelectIde(FInstall.Location, FInstall.Ides, static_cast<int>(row.Param), Str(row.Text));
            return 0;
        case RowKind::UninstallPrevious:
            UninstallPrevious();
            ctx.LogText = FLogText;
            return 0;
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
        default: return 0;  // end markers, information rows and kinds without an action
    }
}

int ScriptRunner::ItemDoScript() {
    if (FInstall.RunRefusal != 0) {
        // A refused run passes over every row; the first one shows why, worded
        // like a folder row that failed.
        FLogText.clear();
        if (FCurrent != 0) return 0;
        FLogText = L"Creating directory: " + FInstall.Location.InstallDir + L"...Fail. " + SystemErrorText(FInstall.RunRefusal);
        return static_cast<int>(FInstall.RunRefusal);
    }
    const ScriptRow& row = GetItem();
    if (FSkipTypeId > 0) {
        if (static_cast<uint16_t>(row.Kind()) == FSkipTypeId && static_cast<int32_t>(row.Param) == FSkipCode) {
            FSkipTypeId = 0;
            FSkipCode = 0;
        }
        return 0;
    }
    FLogText.clear();
    if (FInstall.CopyOnly && PassedOverInCopyOnly(FInstall.Location, row)) return 0;

    // A folder row notes whether its folder was there before the run. Folder rows
    // without a record of their own get one when they lie in a recorded folder
    // that existed before: that folder is not removed as a whole by an uninstall.
    const bool dirRow = row.Kind() == RowKind::CreateDir;
    std::wstring dirPath;
    bool existedBefore = false;
    bool recordedDir = false;
    if (dirRow) {
        dirPath = ResolvePath(FInstall.Location, row.Location, Str(row.Text));
        const bool isInstallDir = LowerWide(dirPath) == LowerWide(FInstall.Location.InstallDir);
        existedBefore = isInstallDir ? FInstallDirExisted : DirectoryExists(dirPath);
        recordedDir = row.HasFlag(sfUndo) || InsidePreexistingDir(dirPath);
    }

    ActionContext ctx;
    ctx.Install = &FInstall;
    int result = 0;
    try {
        result = Dispatch(row, ctx);
    } catch (...) {
        result = ERROR_NOT_ENOUGH_MEMORY;  // only allocation can fail this way
    }
    FLogText = ctx.LogText;
    if (FLogEnable && !FLogText.empty()) WriteLog(FLogText);

    if (row.HasFlag(sfUndo))
        WriteRowUndoRecord(row, dirRow && existedBefore ? undoDirExisted : row.Param);
    else if (recordedDir)
        WriteUndoRecord(FBinLogHandle, RowKind::CreateDir | sfUndo, existedBefore ? undoDirExisted : 0, row.Location,
                        Str(row.Text));
    if (recordedDir) {
        FRecordedDirs.push_back({LowerWide(dirPath), existedBefore});
        // The logs were written into an install folder that was already there.
        if (existedBefore && LowerWide(dirPath) == LowerWide(FInstall.Location.InstallDir)) {
            WriteUndoRecord(FBinLogHandle, RowKind::ExtractFile | sfUndo, 0, locInstall, L"install.log");
            WriteUndoRecord(FBinLogHandle, RowKind::ExtractFile | sfUndo, 0, locInstall, L"uninst.log");
        }
    }
    RecordWrittenFiles(ctx);
    return result;
}

int RunRemainingRows(ScriptRunner& script, const std::function<void(int result)>& afterRow) {
    int failed = 0;
    while (script.FCurrent < script.Count()) {
        const int result = script.ItemDoScript();
        if (result != 0) ++failed;
        if (afterRow) afterRow(result);
        script.FCurrent += 1;
    }
    return failed;
}

}  // namespace tessel::script
