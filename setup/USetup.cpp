// The setup's main block: read the switches, then run exactly one mode.
#include <windows.h>
#include "common/UGlobals.h"
#include "script/UConst.h"
#include "setup/UCommandLine.h"
#include "setup/UExtract.h"
#include "setup/UWizard.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The exit code is 0 on every path, also if something unexpected is thrown.
    try {
        InitPlatformId();
        ParseCommandLine();
        if (ShowDescription)
            ShowParametersDescription();
        else if (ExtractMode)
            ExtractPayload();
        else
            RunWizard();
    } catch (...) {
    }
    return 0;
}
