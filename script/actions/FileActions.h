// Actions of the file, folder, text, help, process and uninstall-entry rows.
// Each reads its row, builds the log text in ctx and returns 0, a small
// negative failure code or a Win32 error code. None throws.
#pragma once
#include "script/actions/ActionContext.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using namespace tessel::common;

int DoCreateDir(const ScriptRow& row, ActionContext& ctx);
int DoExtractFile(const ScriptRow& row, ActionContext& ctx);
int DoExtractFileOnce(const ScriptRow& row, ActionContext& ctx);
int DoExtractFileIfNewer(const ScriptRow& row, ActionContext& ctx);
int DoClearDir(const ScriptRow& row, ActionContext& ctx);
int DoSetCurrentDir(const ScriptRow& row, ActionContext& ctx);
int DoRegisterUninstall(const ScriptRow& row, ActionContext& ctx);
int DoCopyFile(const ScriptRow& row, ActionContext& ctx);
int DoAppendText(const ScriptRow& row, ActionContext& ctx);
int DoDeleteFile(const ScriptRow& row, ActionContext& ctx);
int DoRegisterWinHelp(const ScriptRow& row, ActionContext& ctx);
int DoSetHelpDir(const ScriptRow& row, ActionContext& ctx);
int DoCreateRegKey(const ScriptRow& row, ActionContext& ctx);
int DoCheckFile(const ScriptRow& row, ActionContext& ctx);
int DoCopyFiles(const ScriptRow& row, ActionContext& ctx);
int DoDeleteFiles(const ScriptRow& row, ActionContext& ctx);
int DoMergeFiles(const ScriptRow& row, ActionContext& ctx);
int DoReplaceText(const ScriptRow& row, ActionContext& ctx);
int DoRunFile(const ScriptRow& row, ActionContext& ctx);
int DoRunInstallFile(const ScriptRow& row, ActionContext& ctx);

// Whether the payload for row (an RowKind::ExtractFileIfNewer row) is newer than the file at its target.
bool PayloadIsNewer(const ScriptRow& row);

}  // namespace tessel::script
