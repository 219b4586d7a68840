// Actions of the IDE rows: compiling packages with the IDE's command-line
// tools, registering design-time packages and extending the IDE's path lists.
// Registry settings are written under HKEY_CURRENT_USER below the IDE's key.
#pragma once
#include <windows.h>
#include "script/actions/ActionContext.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

using namespace tessel::common;

int DoCompilePackage(const ScriptRow& row, ActionContext& ctx);
int DoRegisterPackage(const ScriptRow& row, ActionContext& ctx);
int DoAddSearchPath(const ScriptRow& row, ActionContext& ctx);
int DoAddIdePath(const ScriptRow& row, ActionContext& ctx);

}  // namespace tessel::script
