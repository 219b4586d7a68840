// The setup's command-line switches.
#include "setup/CommandLine.h"

#include <windows.h>
#include "common/CommandLineWords.h"
#include "script/manifest/Manifest.h"
#include "common/WindowLibraries.h"
#include "setup/DeploymentSwitches.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

namespace {

bool IsSwitchChar(wchar_t c) { return c == L'/' || c == L'-' || c == L'\\'; }

}  // namespace

ModeFlags ParseSwitches(const std::vector<std::wstring>& args) {
    ModeFlags flags;
    for (const std::wstring& arg : args) {
        // /IDE=, /LOG= and the other deployment switches are read by
        // ParseDeploymentSwitches; they neither set a mode nor name a folder.
        if (IsDeploymentSwitch(arg)) continue;
        // Exactly a switch character and a letter; "/cx", "-copy" and plain
        // words (file names) are no switches and change no flag. After /S such
        // an argument names the install folder (a UNC path starts with "\").
        if (arg.size() != 2 || !IsSwitchChar(arg[0])) {
            if (flags.Unattended && !arg.empty()) flags.Folder = arg;
            continue;
        }
        wchar_t letter = arg[1];
        if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
        flags.CopyOnly = letter == L'C';
        flags.EnableControls = letter == L'E';
        flags.ShowDescription = letter == L'H' || letter == L'?';
        flags.ExtractMode = letter == L'X';
        flags.Unattended = letter == L'S';
        flags.Folder.clear();
    }
    return flags;
}

ModeFlags ParseCommandLine() { return ParseSwitches(ProgramArguments()); }

void ShowParametersDescription() { gui::MessageBoxW(nullptr, DescriptionText, DescriptionCaption, MB_OK); }

}  // namespace tessel::setup
