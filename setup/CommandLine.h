// The setup's command line: the mode switches, the folder of an unattended
// install, and the box that lists the switches.
#pragma once
#include <string>
#include <vector>

namespace tessel::setup {

struct ModeFlags {
    bool CopyOnly = false;         // C
    bool EnableControls = false;   // E
    bool ShowDescription = false;  // H or ?
    bool ExtractMode = false;      // X
    bool Unattended = false;       // S: install without any window
    // The last argument after /S that is no switch: the install folder of the
    // unattended install; empty: the folder the directory page would propose.
    std::wstring Folder;
};

// The flags that the arguments (without the program name) select. Every
// switch sets all the flags at once and forgets the folder, so the last switch
// alone decides; arguments that are no switches change no flag. The
// deployment switches (setup/DeploymentSwitches.h) are passed over.
ModeFlags ParseSwitches(const std::vector<std::wstring>& args);

// Splits the process's command line by the Windows rules and returns the flags.
ModeFlags ParseCommandLine();

// /J=<n>: at most n compilers at once, n from 1 to MaxCompileJobs. It is no
// mode switch: it changes no flag above and is no folder, wherever it stands.
inline constexpr int MaxCompileJobs = 64;
bool IsCompileJobsSwitch(const std::wstring& arg);
// The n of the last /J=<n> whose n is valid; 0 when there is none (an n of
// anything but digits, 0, or above MaxCompileJobs is not taken).
int ParseCompileJobs(const std::vector<std::wstring>& args);
// The process's /J=<n>, else the default: the number of logical processors
// (at most MaxCompileJobs).
int CompileJobsOfCommandLine();

// The description box: its caption and its five lines joined by CR LF.
inline constexpr const wchar_t* DescriptionCaption = L"Parameters description";
// "/H" is accepted as well but deliberately not listed.
inline constexpr const wchar_t* DescriptionText =
    L"Veltrane setup parameters description:\r\n"
    L"  /C - Copy files only. No package,help registration;\r\n"
    L"  /E - Enable controls even if previous version installed;\r\n"
    L"  /X - Extract files to the current directory. No dialog. No package,help registration;\r\n"
    L"  /? - Parameters description.";
// The description box: no owner, OK only, no icon.
void ShowParametersDescription();

}  // namespace tessel::setup
