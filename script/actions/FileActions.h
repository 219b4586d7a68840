// Actions of the file, folder, text, help, process and uninstall-entry rows.
// Each reads its row, builds the log text in ctx and returns 0, a small
// negative failure code or a Win32 error code. None throws.
#pragma once
#include "script/actions/ActionContext.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using namespace tessel::common;

int DoCreateDir(const TScriptItem& row, TActionContext& ctx);
int DoExtractFile(const TScriptItem& row, TActionContext& ctx);
int DoExtractFileOnce(const TScriptItem& row, TActionContext& ctx);
int DoExtractFileIfNewer(const TScriptItem& row, TActionContext& ctx);
int DoClearDir(const TScriptItem& row, TActionContext& ctx);
int DoSetCurrentDir(const TScriptItem& row, TActionContext& ctx);
int DoRegisterUninstall(const TScriptItem& row, TActionContext& ctx);
int DoCopyFile(const TScriptItem& row, TActionContext& ctx);
int DoAppendText(const TScriptItem& row, TActionContext& ctx);
int DoDeleteFile(const TScriptItem& row, TActionContext& ctx);
int DoRegisterWinHelp(const TScriptItem& row, TActionContext& ctx);
int DoSetHelpDir(const TScriptItem& row, TActionContext& ctx);
int DoCreateRegKey(const TScriptItem& row, TActionContext& ctx);
int DoCheckFile(const TScriptItem& row, TActionContext& ctx);
int DoCopyFiles(const TScriptItem& row, TActionContext& ctx);
int DoDeleteFiles(const TScriptItem& row, TActionContext& ctx);
int DoMergeFiles(const TScriptItem& row, TActionContext& ctx);
int DoReplaceText(const TScriptItem& row, TActionContext& ctx);
int DoRunFile(const TScriptItem& row, TActionContext& ctx);
int DoRunInstallFile(const TScriptItem& row, TActionContext& ctx);

// Whether the payload for row (an skExtractFileIfNewer row) is newer than the file at its target.
bool PayloadIsNewer(const TScriptItem& row);

}  // namespace tessel::script
