// The setup's command line: four mode switches, and the box that lists them.
#pragma once
#include <string>
#include <vector>

struct TModeFlags {
    bool CopyOnly = false;         // C
    bool EnableControls = false;   // E
    bool ShowDescription = false;  // H or ?
    bool ExtractMode = false;      // X
};

// The flags that the arguments (without the program name) select. Every
// switch sets all four flags at once, so the last switch alone decides.
TModeFlags ParseSwitches(const std::vector<std::wstring>& args);

// Splits the process's command line by the Windows rules and sets the
// globals CopyOnly, EnableControls, ShowDescription and ExtractMode.
void ParseCommandLine();

extern const wchar_t* const DescriptionCaption;  // L"Parameters description"
extern const wchar_t* const DescriptionText;     // five lines joined by CR LF
// The description box: no owner, OK only, no icon.
void ShowParametersDescription();
