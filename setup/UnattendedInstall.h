// setup.exe /S [folder]: the install without any window, for build agents and
// deployment tools. It starts from the choices the wizard would start from and
// runs the same runner over the same rows; its result is the exit code.
#pragma once
#include <string>
#include "script/runner/InstallContext.h"

namespace tessel::setup {

// The exit code of setup.exe /S.
enum class UnattendedExit : int {
    Success = 0,      // every row succeeded
    RowsFailed = 1,   // some rows failed, an IDE's packages are left to be built in the IDE, or the
                      // choices were not stored (see install.log); a row whose undo record could
                      // not be written also ends the run there
    Refused = 2,      // the folder cannot take an install; nothing was changed
    NothingToDo = 3,  // no IDE found and nothing else chosen; nothing was changed
    IdeRunning = 4,   // an IDE the install touches is running; nothing was changed
};

// Installs into folder, or into the folder the directory page would propose
// when folder is empty. Never shows a window: a failed row is written to the
// install log with the text the wizard would show, and the run goes on.
UnattendedExit RunUnattendedInstall(script::InstallContext& install, const std::wstring& folder);

// The run itself, with the choices as install holds them (masks, copy-only
// mode, install folder): every row, failed rows into the install log, the
// choices stored unless the run was refused or stopped. Never NothingToDo.
UnattendedExit RunChosenInstall(script::InstallContext& install);

}  // namespace tessel::setup
