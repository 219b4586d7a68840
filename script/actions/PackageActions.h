// Actions of the IDE rows: compiling packages with the IDE's command-line
// tools, registering design-time packages and extending the IDE's path lists.
// Registry settings are written under HKEY_CURRENT_USER below the IDE's key.
#pragma once
#include <windows.h>
#include "script/actions/ActionContext.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using namespace tessel::common;

int DoCompilePackage(const TScriptItem& row, TActionContext& ctx);
int DoRegisterPackage(const TScriptItem& row, TActionContext& ctx);
int DoAddSearchPath(const TScriptItem& row, TActionContext& ctx);
int DoAddIdePath(const TScriptItem& row, TActionContext& ctx);

}  // namespace tessel::script
