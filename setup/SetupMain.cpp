// The setup's main block: read the switches, then run exactly one mode.
#include <windows.h>
#include <exception>
#include "common/DllSearch.h"
#include "common/ProcessGlobals.h"
#include "script/runner/InstallContext.h"
#include "setup/CommandLine.h"
#include "setup/PayloadExtract.h"
#include "setup/UnattendedInstall.h"
#include "setup/Wizard.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;
using namespace tessel::setup;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL on our behalf. Without the limit the setup
    // does not run: /X and /S say so with the refusal's exit code alone.
    if (LimitDllSearchToSystemFolder() != 0) {
        const ModeFlags flags = ParseCommandLine();
        RefuseToRunWithOpenDllSearch(flags.Unattended || flags.ExtractMode, static_cast<UINT>(UnattendedExit::Refused));
    }
    // The exit code is 0 in every mode but the unattended install and the
    // extract mode, also if something unexpected is thrown; those report their outcome.
    bool unattended = false;
    try {
        InitPlatformId();
        const ModeFlags flags = ParseCommandLine();
        unattended = flags.Unattended || flags.ExtractMode;
        // The one install of this process: the pages or the unattended run fill it in.
        tessel::script::InstallContext install;
        install.Plan.CopyOnly = flags.CopyOnly;
        install.Plan.CompileJobs = CompileJobsOfCommandLine();
        if (flags.ShowDescription)
            ShowParametersDescription();
        else if (flags.ExtractMode)
            return ExtractPayload() == 0 ? 0 : 1;  // a folder or file that could not be written
        else if (flags.Unattended)
            return static_cast<int>(RunUnattendedInstall(install, flags.Folder));
        else
            RunWizard(install);
    } catch (const std::exception&) {
        // Out of memory: the install did not reach its end, and the exit code says so.
        if (unattended) return static_cast<int>(UnattendedExit::RowsFailed);
    }
    return 0;
}
