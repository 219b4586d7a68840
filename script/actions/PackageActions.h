// Actions of the IDE rows: compiling packages with the IDE's command-line
// tools, registering design-time packages and extending the IDE's path lists.
// Registry settings are written under HKEY_CURRENT_USER below the IDE's key.
#pragma once
#include <windows.h>
#include "script/actions/ActionContext.h"
#include "script/actions/ActionResult.h"
#include "script/rows/ScriptRow.h"

namespace tessel::script {

ActionResult DoCompilePackage(const ScriptRow& row, ActionContext& ctx);
ActionResult DoRegisterPackage(const ScriptRow& row, ActionContext& ctx);
ActionResult DoAddSearchPath(const ScriptRow& row, ActionContext& ctx);
ActionResult DoAddIdePath(const ScriptRow& row, ActionContext& ctx);

}  // namespace tessel::script
