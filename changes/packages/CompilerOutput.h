// What a compiler run said: its exit code and its output, caught in a file of
// the setup's own, so that a package that was not built is explained in
// install.log, and an edition that cannot compile from the command line is
// recognised by its answer. The reading of the output is plain logic.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "common/Handles.h"

namespace tessel::changes::packages {

struct CompileReport {
    bool Ran = false;       // the compiler was started (the fields below are its)
    std::wstring Tool;      // its file name, e.g. "dcc32.exe"
    bool Finished = false;  // it ended within the wait; ExitCode is its
    DWORD ExitCode = 0;
    std::vector<std::wstring> Lines;  // its output lines, standard output and error together
};

// The compiler's refusal in editions without command-line compiling.
inline constexpr const wchar_t* NoCommandLineCompiling =
    L"This version of the product does not support command line compiling.";
// At most this many output lines go into install.log under a failed row.
constexpr size_t ReportLineLimit = 30;

// The output's lines (system ANSI code page; CR LF, LF or CR ends a line), the
// empty ones left out.
std::vector<std::wstring> OutputLines(const std::string& bytes);
// Index of the first line that reports an error ("Error", "Fatal" as a word
// followed by ":" or a blank, as dcc, bcc and make write them); -1 when none.
int FirstErrorLine(const std::vector<std::wstring>& lines);
// True when the output holds the refusal of an edition that cannot compile.
bool RefusesCommandLineCompiling(const std::vector<std::wstring>& lines);
// The lines that install.log gets under the row that found the package missing:
// the tool and its exit code (or that it was still running), then up to
// ReportLineLimit output lines, the first error line among them.
std::vector<std::wstring> ReportLines(const CompileReport& report, DWORD timeoutMs);
// The first error line of the report, empty when there is none.
std::wstring FirstErrorText(const CompileReport& report);

// Runs commandLine hidden in workingDir with its standard output and error in
// a new file of its own in outputFolder (created there, never an existing one,
// and gone once the compiler and the setup have let go of it), waits up to
// timeoutMs and fills report. 0 when it was started, otherwise the Win32 error code.
[[nodiscard]] DWORD RunCompilerCaptured(const std::wstring& commandLine, const std::wstring& workingDir,
                                        const std::wstring& outputFolder, DWORD timeoutMs, CompileReport& report);

// A compiler started by StartCompilerCaptured and not yet collected: while it
// runs, the setup goes on with other rows (other IDEs' blocks, its window's messages).
struct RunningCompiler {
    common::UniqueKernelHandle Process;  // empty: none running
    common::UniqueFile Output;           // its output file, held until it is read
    std::wstring OutputName;
    DWORD StartTick = 0;  // GetTickCount at the start
    DWORD TimeoutMs = 0;  // how long it is waited for from StartTick
};
// RunCompilerCaptured in two steps: StartCompilerCaptured starts the compiler
// (0, or the Win32 error of its start; running then holds nothing), and
// CollectCompiler fills report once it ended or its wait ran out, and lets go
// of running. A compiler still running then is left to run, as above.
[[nodiscard]] DWORD StartCompilerCaptured(const std::wstring& commandLine, const std::wstring& workingDir,
                                          const std::wstring& outputFolder, DWORD timeoutMs, RunningCompiler& running);
void CollectCompiler(RunningCompiler& running, CompileReport& report);
// How much of running's wait is left at tick now (0 when it ran out).
DWORD RemainingWaitMs(const RunningCompiler& running, DWORD now);

}  // namespace tessel::changes::packages
