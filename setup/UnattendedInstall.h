// setup.exe /S [folder]: the install without any window, for build agents and
// deployment tools. It starts from the choices the wizard would start from
// (or those the deployment switches name) and runs the same runner over the
// same rows; its result is the exit code.
#pragma once
#include <string>
#include <vector>
#include "script/runner/InstallContext.h"
#include "script/runner/ScriptRunner.h"
#include "setup/DeploymentSwitches.h"

namespace tessel::setup {

// The exit code of setup.exe /S.
enum class UnattendedExit : int {
    Success = 0,      // every row succeeded
    RowsFailed = 1,   // some rows failed, an IDE's packages are left to be built in the IDE, or the
                      // choices were not stored (see install.log); a row whose undo record could
                      // not be written also ends the run there
    Refused = 2,      // the folder cannot take an install; nothing was changed
    BadSwitch = 2,    // a name /IDE= or /ITEMS= does not know, an invalid /PROFILE= name, or a /LOG=
                      // file that cannot be written; nothing was changed
    NothingToDo = 3,  // no IDE found and nothing else chosen; nothing was changed
    IdeMissing = 3,   // an IDE /IDE= names is not installed (or has no key of the /PROFILE=); nothing
                      // was changed, the names are in install.log
    IdeRunning = 4,   // an IDE the install touches is running; nothing was changed
};

// Installs into folder, or into the folder the directory page would propose
// when folder is empty. Never shows a window: a failed row is written to the
// install log with the text the wizard would show, and the run goes on.
UnattendedExit RunUnattendedInstall(script::InstallContext& install, const std::wstring& folder,
                                    const DeploymentSwitches& switches = DeploymentSwitches());

// The run itself, with the choices as install holds them (masks, copy-only
// mode, install folder): every row, failed rows into the install log, the
// choices stored unless the run was refused or stopped. Never NothingToDo.
UnattendedExit RunChosenInstall(script::InstallContext& install);

// After the last row of a run that was neither refused nor stopped: the
// uninstall entry's values that describe the finished install
// (uninstall_entry::CompleteEntry). A failure is a line of install.log and false.
bool CompleteInstalledEntry(script::ScriptRunner& script);

// What the deployment switches change in the choices that install starts
// from (discovery and the stored choices already loaded): the profile, and
// the ticked lines that /IDE= and /ITEMS= name. lines receives install.log's
// lines when the names are refused; the result is then BadSwitch or
// IdeMissing, otherwise Success.
UnattendedExit ApplyDeploymentChoices(script::InstallContext& install, const DeploymentSwitches& switches,
                                      std::vector<std::wstring>& lines);

// 0 when /LOG='s file can be written (a file made for the test is removed
// again), otherwise the Win32 error; a path that is not a full one, or that
// reaches its file through a link (a junction, symbolic link or mount point on
// the way, or the file itself a link), is refused.
[[nodiscard]] DWORD ProbeLogPath(const std::wstring& path);
// The copy of install.log in installDir at path, byte for byte; 0 or the Win32 error.
[[nodiscard]] DWORD CopyInstallLog(const std::wstring& installDir, const std::wstring& path);

// setup.exe /LIST: one line per IDE found (setup/DeploymentSwitches.h,
// IdeListLine), to the console the setup was started from, or to the /LOG
// file when there is one. Changes nothing else. 0, or 2 when the lines
// could be written nowhere.
int ListInstalledIdes(const DeploymentSwitches& switches);

}  // namespace tessel::setup
