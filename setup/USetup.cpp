// The setup's main block: read the switches, then run exactly one mode.
#include <windows.h>
#include "common/UGlobals.h"
#include "script/UConst.h"
#include "setup/UCommandLine.h"
#include "setup/UExtract.h"
#include "setup/UUnattended.h"
#include "setup/UWizard.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The exit code is 0 in every mode but the unattended install, also if
    // something unexpected is thrown; that one reports its outcome.
    bool unattended = false;
    try {
        InitPlatformId();
        const TModeFlags flags = ParseCommandLine();
        unattended = flags.Unattended;
        if (ShowDescription)
            ShowParametersDescription();
        else if (ExtractMode)
            ExtractPayload();
        else if (flags.Unattended)
            return RunUnattendedInstall(flags.Folder);
        else
            RunWizard();
    } catch (...) {
        // The install did not reach its end.
        if (unattended) return unattendedRowsFailed;
    }
    return 0;
}
