// Actions of the file, folder, text, help, process and uninstall-entry rows.
// Each reads its row, builds the log text in ctx and returns its result:
// success, a Win32 error code or a failure point of its own. None throws.
#pragma once
#include "script/actions/ActionContext.h"
#include "script/actions/ActionResult.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

ActionResult DoCreateDir(const ScriptRow& row, ActionContext& ctx);
ActionResult DoExtractFile(const ScriptRow& row, ActionContext& ctx);
ActionResult DoExtractFileOnce(const ScriptRow& row, ActionContext& ctx);
ActionResult DoExtractFileIfNewer(const ScriptRow& row, ActionContext& ctx);
ActionResult DoClearDir(const ScriptRow& row, ActionContext& ctx);
ActionResult DoSetCurrentDir(const ScriptRow& row, ActionContext& ctx);
ActionResult DoRegisterUninstall(const ScriptRow& row, ActionContext& ctx);
ActionResult DoCopyFile(const ScriptRow& row, ActionContext& ctx);
ActionResult DoAppendText(const ScriptRow& row, ActionContext& ctx);
ActionResult DoDeleteFile(const ScriptRow& row, ActionContext& ctx);
ActionResult DoRegisterWinHelp(const ScriptRow& row, ActionContext& ctx);
ActionResult DoSetHelpDir(const ScriptRow& row, ActionContext& ctx);
ActionResult DoCreateRegKey(const ScriptRow& row, ActionContext& ctx);
ActionResult DoCheckFile(const ScriptRow& row, ActionContext& ctx);
ActionResult DoCopyFiles(const ScriptRow& row, ActionContext& ctx);
ActionResult DoDeleteFiles(const ScriptRow& row, ActionContext& ctx);
ActionResult DoMergeFiles(const ScriptRow& row, ActionContext& ctx);
ActionResult DoReplaceText(const ScriptRow& row, ActionContext& ctx);
ActionResult DoRunFile(const ScriptRow& row, ActionContext& ctx);
ActionResult DoRunInstallFile(const ScriptRow& row, ActionContext& ctx);

}  // namespace tessel::script
