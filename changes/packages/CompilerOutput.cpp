// Running a compiler with its output caught in a file, and reading that output.
#include "changes/packages/CompilerOutput.h"

#include <algorithm>

#include "common/Handles.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Processes.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

namespace tessel::changes::packages {

using namespace tessel::common;

namespace {

// Output beyond this is not read: the report shows the first lines anyway.
constexpr DWORD OutputReadLimit = 256 * 1024;

bool IsErrorWordAt(const std::wstring& line, size_t pos, size_t length) {
    if (pos > 0 && (line[pos - 1] == L'\0' || !wcschr(L" )]:\t", line[pos - 1]))) return false;
    const size_t end = pos + length;
    return end < line.size() && line[end] != L'\0' && wcschr(L": ]", line[end]) != nullptr;
}

bool IsErrorLine(const std::wstring& line) {
    for (const wchar_t* word : {L"Error", L"Fatal"})
        for (size_t pos = line.find(word); pos != std::wstring::npos; pos = line.find(word, pos + 1))
            if (IsErrorWordAt(line, pos, wcslen(word))) return true;
    return false;
}

// A file for the compiler's output that nobody else has: a new name in folder,
// created (never opened) by this process, inheritable, and deleted by the
// system once the last handle to it is closed.
UniqueFile CreateOutputFile(const std::wstring& folder, std::wstring& name) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const std::wstring stem = CompilerOutputPrefix + std::to_wstring(GetCurrentProcessId()) + L"-";
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = JoinPath(folder, stem + std::to_wstring(++counter) + L".tmp");
        // No write sharing: only this handle, which the compiler inherits, can
        // write the output that decides how the package rows go on.
        UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return UniqueFile();
}

std::string ReadFromStart(HANDLE file) {
    std::string bytes;
    // Output that cannot be read is no output: the report then shows none.
    (void)ReadOpenFile(file, bytes, OutputReadLimit);
    return bytes;
}

}  // namespace

std::vector<std::wstring> OutputLines(const std::string& bytes) {
    std::vector<std::wstring> lines;
    const std::wstring text = FromAnsi(bytes);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos) end = text.size();
        if (end > pos) lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

int FirstErrorLine(const std::vector<std::wstring>& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (IsErrorLine(lines[i])) return static_cast<int>(i);
    return -1;
}

bool RefusesCommandLineCompiling(const std::vector<std::wstring>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::wstring& line) {
        return line.find(NoCommandLineCompiling) != std::wstring::npos;
    });
}

std::vector<std::wstring> ReportLines(const CompileReport& report, DWORD timeoutMs) {
    std::vector<std::wstring> out;
    if (report.Finished)
        out.push_back(report.Tool + L" exit code: " + std::to_wstring(static_cast<long>(report.ExitCode)));
    else
        out.push_back(report.Tool + L" was still running after " + std::to_wstring(timeoutMs / 1000) + L" s");
    // The first lines, unless the first error lies beyond them: then the lines
    // from a little before it, so that it is shown with what led to it.
    const int error = FirstErrorLine(report.Lines);
    size_t first = 0;
    if (error >= static_cast<int>(ReportLineLimit))
        first = std::min(static_cast<size_t>(error) - 5, report.Lines.size() - ReportLineLimit);
    const size_t last = std::min(report.Lines.size(), first + ReportLineLimit);
    for (size_t i = first; i < last; ++i) out.push_back(report.Lines[i]);
    return out;
}

std::wstring FirstErrorText(const CompileReport& report) {
    const int error = FirstErrorLine(report.Lines);
    return error < 0 ? std::wstring() : report.Lines[static_cast<size_t>(error)];
}

DWORD StartCompilerCaptured(const std::wstring& commandLine, const std::wstring& workingDir,
                            const std::wstring& outputFolder, DWORD timeoutMs, RunningCompiler& running) {
    running = RunningCompiler();
    running.Output = CreateOutputFile(outputFolder, running.OutputName);
    if (!running.Output) return LastErrorOr(ERROR_CANNOT_MAKE);

    ProcessStart start;
    start.CommandLine = commandLine;
    start.WorkingDir = workingDir;
    start.TimeoutMs = timeoutMs;
    start.Output = running.Output.get();
    running.TimeoutMs = timeoutMs;
    running.StartTick = GetTickCount();
    if (const DWORD error = StartProcess(start, running.Process)) {
        running = RunningCompiler();
        return error;
    }
    return 0;
}

DWORD RemainingWaitMs(const RunningCompiler& running, DWORD now) {
    const DWORD waited = now - running.StartTick;  // unsigned: right across the tick count's wrap
    return waited >= running.TimeoutMs ? 0 : running.TimeoutMs - waited;
}

void CollectCompiler(RunningCompiler& running, CompileReport& report) {
    report = CompileReport();
    if (!running.Process) return;
    const ProcessEnd end = EndOf(running.Process.get());
    report.Ran = true;
    // A compiler still running afterwards is left alone; the check row reports the missing package.
    report.Finished = end.Finished;
    report.ExitCode = end.ExitCode;
    report.Lines = OutputLines(ReadFromStart(running.Output.get()));
    const std::wstring name = running.OutputName;
    running = RunningCompiler();
    // The file goes with the last handle. An ended compiler's handles can close
    // a moment after its end is signalled (so under Wine), so wait for that
    // rather than leave the file behind for whoever looks right after the run.
    for (int waited = 0;
         report.Finished && waited < 2000 && GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; waited += 10)
        Sleep(10);
}

DWORD RunCompilerCaptured(const std::wstring& commandLine, const std::wstring& workingDir,
                          const std::wstring& outputFolder, DWORD timeoutMs, CompileReport& report) {
    report = CompileReport();
    RunningCompiler running;
    if (const DWORD error = StartCompilerCaptured(commandLine, workingDir, outputFolder, timeoutMs, running))
        return error;
    (void)WaitForSingleObject(running.Process.get(), timeoutMs);  // CollectCompiler tells how it ended
    CollectCompiler(running, report);
    return 0;
}

}  // namespace tessel::changes::packages
