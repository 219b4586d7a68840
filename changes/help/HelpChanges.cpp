// Help: help-configuration lines, the WinHelp registration and the Help 2 batch.
#include "changes/help/HelpChanges.h"

#include "changes/ActionLogic.h"
#include "changes/ActionResult.h"
#include "changes/ChangeContext.h"
#include "changes/RecordPaths.h"
#include "changes/files/FileChanges.h"
#include "common/Handles.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Processes.h"
#include "common/Registry.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoRules.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes::help {

using namespace tessel::common;

namespace {

ActionResult AppendLine(const ScriptRow& row, ChangeContext& ctx) {
    // The file is one of the current IDE's help-configuration files, chosen by Param.
    const wchar_t* name = HelpFileOf(ctx.Run.Location.CurrentIde, row.Param);
    if (!name) return TextFileFailure::NotOpened;
    const std::wstring path = ResolvePath(ctx.Run.Location, row.Location, name);
    UniqueFile file;
    std::string content;
    const ActionResult opened = files::OpenAndReadAll(path, file, content);
    if (opened.Failed()) return opened;
    const std::string text = ToAnsi(Str(row.Text));
    ctx.LogText = L"Modifying file: " + path;
    if (!text.empty() && LowerAnsi(content).find(LowerAnsi(text)) != std::string::npos) {
        ctx.LogText += LogEnding::Already;
        return ActionResult();
    }
    // A write that does not reach the file is not reported as done.
    if (const DWORD err =
            files::WriteAllAt(file.get(), static_cast<int64_t>(content.size()), AppendedLineBytes(content, text))) {
        ctx.LogText += LogEnding::Fail;
        return ActionResult::FromWin32(err);
    }
    ctx.LogText += LogEnding::Success;
    return ActionResult();
}

ActionResult RegisterWinHelp(const ScriptRow& row, ChangeContext& ctx) {
    const std::wstring name = Str(row.Text);
    const bool ok = CreateRegKey(HKEY_LOCAL_MACHINE, WinHelpKey) == 0 &&
                    WriteRegString(HKEY_LOCAL_MACHINE, WinHelpKey, name, ctx.Run.HelpDir) == 0;
    ctx.LogText = L"Registering windows help: " + name + (ok ? LogEnding::Success : LogEnding::Fail);
    if (!ok) return WinHelpFailure::NotRegistered;
    return ActionResult();
}

ActionResult RunRegisterBatch(const ScriptRow& row, ChangeContext& ctx) {
    // The help batch runs in the help folder, which stays the working folder
    // for the rows after it.
    const std::wstring helpDir = JoinPath(ctx.Run.Location.InstallDir, HelpFolder);
    if (DirectoryExists(helpDir)) ctx.Run.WorkingDir = helpDir;
    const std::wstring command = JoinPath(ctx.Run.Location.InstallDir, Str(row.Text));
    const DWORD err = RunAndWait(command, std::wstring(), ctx.Run.StartFolder(), ProgramTimeoutMs, ctx.Run.ProgramWait);
    if (err != 0) return ActionResult::FromWin32(err);
    ctx.LogText = L"Register help: " + command + LogEnding::Success;
    return ActionResult();
}

// Takes the first occurrence of the appended text (case-insensitive, in the
// system's 8-bit code page) out of the IDE's help-configuration file. A file
// that cannot be read is taken for one that is not there.
DWORD RemoveLine(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    const wchar_t* helpName = HelpFileOf(at.CurrentIde, rec.Param);
    if (!helpName || !*helpName) return 0;
    const std::wstring file = RecordPath(at, rec.Location, helpName);
    const std::string needle = ToAnsi(text);
    std::string content;
    HeldFolders held;
    if (file.empty() || needle.empty()) return 0;
    if (const DWORD error = HoldRecordFolders(at, rec, helpName, held)) return IsNotThere(error) ? 0 : error;
    UniqueFile self;
    DWORD attrs = 0;
    if (OpenNoFollow(file, 0, self, attrs) == 0 && IsLinkAttributes(attrs)) return LinkInPathError;
    self.reset();
    if (ReadFileBytes(file, content) != 0) return 0;
    const size_t at_ = LowerAnsi(content).find(LowerAnsi(needle));
    if (at_ == std::string::npos) return 0;
    content.erase(at_, needle.size());
    return WriteFileBytes(file, content);
}

// Runs the help deregistration batch file from the install's help folder.
DWORD RunUnregisterBatch(const LocationContext& at) {
    if (!IsFullPath(at.InstallDir)) return 0;
    const std::wstring helpDir = JoinPath(at.InstallDir, HelpFolder);
    // Started in the help folder; the uninstaller's own current folder stays
    // where it is, never in the install folder, which goes last.
    return RunAndWait(JoinPath(helpDir, UnregisterBatch), L"", helpDir);
}

}  // namespace

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx) {
    switch (KindNumber(row.Kind())) {
    case KindNumber(RowKind::AppendText): return AppendLine(row, ctx);
    case KindNumber(RowKind::RegisterWinHelp): return RegisterWinHelp(row, ctx);
    case KindNumber(RowKind::RunInstallFile): return RunRegisterBatch(row, ctx);
    case KindNumber(RowKind::SetHelpDir):
        ctx.Run.HelpDir = ResolvePath(ctx.Run.Location, row.Location, Str(row.Text));
        return ActionResult();
    default: return ActionResult();  // AppendTextOld: no script has such a row
    }
}

DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text) {
    switch (KindNumber(rec.Kind())) {
    case KindNumber(RowKind::AppendText):
    case KindNumber(RowKind::AppendTextOld): return RemoveLine(at, rec, text);
    case KindNumber(RowKind::RegisterWinHelp): {
        if (text.empty()) return 0;
        const DWORD error = DeleteRegValue(HKEY_LOCAL_MACHINE, WinHelpKey, text);
        return IsNotThere(error) ? 0 : error;
    }
    case KindNumber(RowKind::RunInstallFile): return RunUnregisterBatch(at);
    default: return 0;
    }
}

}  // namespace tessel::changes::help
