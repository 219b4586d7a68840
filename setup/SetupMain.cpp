// The setup's main block: read the switches, then run exactly one mode.
#include <windows.h>
#include <exception>
#include "common/CommandLineWords.h"
#include "common/DllSearch.h"
#include "common/ProcessGlobals.h"
#include "script/runner/InstallContext.h"
#include "setup/CommandLine.h"
#include "setup/DeploymentSwitches.h"
#include "setup/PayloadExtract.h"
#include "setup/UnattendedInstall.h"
#include "setup/Wizard.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;
using namespace tessel::setup;

namespace {

// The wizard, then the copy of its install.log that /LOG= asks for. The
// wizard's exit code is 0 whatever happened, so a copy that cannot be written
// is reported nowhere but by its absence.
void RunWizardWithLogCopy(InstallContext& install, const DeploymentSwitches& deployment) {
    RunWizard(install, deployment);
    if (!deployment.LogPath.empty() && !install.Plan.InstallDir.empty())
        (void)CopyInstallLog(install.Plan.InstallDir, deployment.LogPath);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL on our behalf. Without the limit the setup
    // does not run: /X and /S say so with the refusal's exit code alone.
    if (LimitDllSearchToSystemFolder() != 0) {
        const ModeFlags flags = ParseCommandLine();
        const bool list = ParseDeploymentSwitches(ProgramArguments()).List;
        RefuseToRunWithOpenDllSearch(flags.Unattended || flags.ExtractMode || list,
                                     static_cast<UINT>(UnattendedExit::Refused));
    }
    // The exit code is 0 in every mode but the unattended install and the
    // extract mode, also if something unexpected is thrown; those report their outcome.
    bool unattended = false;
    try {
        InitPlatformId();
        const ModeFlags flags = ParseCommandLine();
        const DeploymentSwitches deployment = ParseDeploymentSwitches(ProgramArguments());
        unattended = flags.Unattended || flags.ExtractMode || deployment.List;
        // The one install of this process: the pages or the unattended run fill it in.
        tessel::script::InstallContext install;
        install.Plan.CopyOnly = flags.CopyOnly;
        if (deployment.List)
            return ListInstalledIdes(deployment);  // changes nothing, whatever else the command line says
        install.Plan.CompileJobs = CompileJobsOfCommandLine();
        if (flags.ShowDescription)
            ShowParametersDescription();
        else if (flags.ExtractMode)
            return ExtractPayload() == 0 ? 0 : 1;  // a folder or file that could not be written
        else if (flags.Unattended)
            return static_cast<int>(RunUnattendedInstall(install, flags.Folder, deployment));
        else
            RunWizardWithLogCopy(install, deployment);
    } catch (const std::exception&) {
        // Out of memory: the install did not reach its end, and the exit code says so.
        if (unattended) return static_cast<int>(UnattendedExit::RowsFailed);
    }
    return 0;
}
