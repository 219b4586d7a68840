// The words of a command line, split as Windows splits them for programs.
#pragma once
#include <string>
#include <vector>

namespace tessel::common {

// The words of commandLine, the program's name first, by the rules of
// CommandLineToArgvW: the name ends at its closing quote, or unquoted at the
// first space or tab; in the words after it, spaces and tabs outside quotes
// separate, 2n backslashes before a quote give n backslashes and the quote
// opens or closes a quoted part, 2n+1 give n and a literal quote, and a
// doubled quote inside a quoted part is a literal quote. Other backslashes
// are kept as they are. Pure: no Win32 calls.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// The words of this process's command line after the program's name. Done
// here rather than by CommandLineToArgvW: that one lives in shell32, whose
// loading costs the modes that show no window most of their start-up.
std::vector<std::wstring> ProgramArguments();

}  // namespace tessel::common
