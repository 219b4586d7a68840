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
        if (IsCompileJobsSwitch(arg)) continue;
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

bool IsCompileJobsSwitch(const std::wstring& arg) {
    return arg.size() >= 3 && IsSwitchChar(arg[0]) && (arg[1] == L'J' || arg[1] == L'j') && arg[2] == L'=';
}

int ParseCompileJobs(const std::vector<std::wstring>& args) {
    int jobs = 0;
    for (const std::wstring& arg : args) {
        if (!IsCompileJobsSwitch(arg)) continue;
        const std::wstring digits = arg.substr(3);
        // Digits only, and few enough of them to stay far below an overflow.
        if (digits.empty() || digits.size() > 3 || digits.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        const int n = std::stoi(digits);
        if (n >= 1 && n <= MaxCompileJobs) jobs = n;
    }
    return jobs;
}

int CompileJobsOfCommandLine() {
    if (const int jobs = ParseCompileJobs(ProgramArguments())) return jobs;
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const int processors = static_cast<int>(info.dwNumberOfProcessors);
    return processors < 1 ? 1 : (processors > MaxCompileJobs ? MaxCompileJobs : processors);
}

void ShowParametersDescription() { gui::MessageBoxW(nullptr, DescriptionText, DescriptionCaption, MB_OK); }

}  // namespace tessel::setup
