// The process starter and the program runner.
#include "common/Processes.h"

#include <cwchar>
#include <utility>
#include <vector>

#include "common/ChildProcessJob.h"
#include "common/Handles.h"
#include "common/PathText.h"

namespace tessel::common {

namespace {

bool EndsWithNoCase(const std::wstring& text, const wchar_t* tail) {
    const size_t n = wcslen(tail);
    return text.size() >= n && _wcsicmp(text.c_str() + text.size() - n, tail) == 0;
}

// The path of a batch file (.bat, .cmd) without its quotes; empty for any other program.
std::wstring BatchPathOf(const std::wstring& program) {
    std::wstring bare = program;
    if (bare.size() >= 2 && bare.front() == L'"' && bare.back() == L'"') bare = bare.substr(1, bare.size() - 2);
    if (EndsWithNoCase(bare, L".bat") || EndsWithNoCase(bare, L".cmd")) return bare;
    return std::wstring();
}

}  // namespace

std::wstring CommandLineFor(const std::wstring& program, const std::wstring& params, const std::wstring& systemDir) {
    std::wstring line;
    const std::wstring batch = BatchPathOf(program);
    if (!batch.empty()) {
        // The system's own command processor, by its full path, and /d: no AutoRun
        // command of the user runs elevated. /s keeps the quoting of what follows
        // /c as it is, also for folder names holding "&" or parentheses.
        line = L"\"" + JoinPath(systemDir, L"cmd.exe") + L"\" /d /s /c \"\"" + batch + L"\"";
        if (!params.empty()) line += L" " + params;
        return line + L"\"";
    }
    // A program path with a blank is quoted, otherwise the system would take the
    // text up to the first blank as the program.
    if (program.find(L' ') != std::wstring::npos && program.front() != L'"')
        line = L"\"" + program + L"\"";
    else
        line = program;
    if (!params.empty()) line += L" " + params;
    return line;
}

namespace {

// The attribute list of a started program: the only handles it inherits, and
// the job it starts in. A Windows without job lists at creation (before
// Windows 10) gets none; the program then enters the job after its creation.
class StartAttributes {
public:
    StartAttributes() = default;
    ~StartAttributes() {
        if (ready_) DeleteProcThreadAttributeList(list());
    }
    StartAttributes(const StartAttributes&) = delete;
    StartAttributes& operator=(const StartAttributes&) = delete;
    // Makes the list (the handles must stay valid until the start); 0 or the Win32 error.
    [[nodiscard]] DWORD Set(std::vector<HANDLE> handles, HANDLE job) {
        handles_ = std::move(handles);
        job_ = job;
        const DWORD count = (handles_.empty() ? 0 : 1) + (job_ ? 1 : 0);
        if (count == 0) return 0;
        SIZE_T size = 0;
        (void)InitializeProcThreadAttributeList(nullptr, count, 0, &size);  // asks for the size only
        if (size == 0) return LastErrorOr(ERROR_INVALID_PARAMETER);
        buffer_.assign(size / sizeof(LONGLONG) + 1, 0);
        if (!InitializeProcThreadAttributeList(buffer(), count, 0, &size)) return LastErrorOr(ERROR_INVALID_PARAMETER);
        ready_ = true;
        if (!handles_.empty() &&
            !UpdateProcThreadAttribute(list(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                       handles_.size() * sizeof(HANDLE), nullptr, nullptr))
            return LastErrorOr(ERROR_INVALID_PARAMETER);
        // Refused by Windows before 10: the job is then entered after the creation.
        if (job_) (void)UpdateProcThreadAttribute(list(), 0, JobListAttribute, &job_, sizeof(job_), nullptr, nullptr);
        return 0;
    }
    // The list for STARTUPINFOEXW, or null when there is nothing to hand on.
    LPPROC_THREAD_ATTRIBUTE_LIST list() { return ready_ ? buffer() : nullptr; }

private:
    LPPROC_THREAD_ATTRIBUTE_LIST buffer() { return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data()); }
    // PROC_THREAD_ATTRIBUTE_JOB_LIST, which the headers declare only for Windows 10.
    static constexpr DWORD_PTR JobListAttribute = 0x0002000D;
    std::vector<LONGLONG> buffer_;  // aligned for the list
    std::vector<HANDLE> handles_;
    HANDLE job_ = nullptr;
    bool ready_ = false;
};

}  // namespace

DWORD StartProcess(const ProcessStart& start, UniqueKernelHandle& started) {
    started.reset();
    STARTUPINFOEXW extended{};
    STARTUPINFOW& startup = extended.StartupInfo;
    startup.cb = sizeof(extended);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    // The output handle alone is handed on, not whatever else this process
    // holds as inheritable (handles it inherited from its own parent among them).
    std::vector<HANDLE> inherited;
    if (start.Output) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = start.Output;
        startup.hStdError = start.Output;
        inherited.push_back(start.Output);
    }
    StartAttributes attributes;
    if (const DWORD error = attributes.Set(std::move(inherited), ChildProcessJob())) return error;
    extended.lpAttributeList = attributes.list();
    std::vector<wchar_t> line(start.CommandLine.begin(), start.CommandLine.end());
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    const wchar_t* folder = start.WorkingDir.empty() ? nullptr : start.WorkingDir.c_str();
    // Default security: the program runs as administrator, and a process that
    // everyone may open is one that anyone can inject code into. Handles are
    // inherited only for the output, and only that one (the list above).
    PROCESS_INFORMATION info{};
    // In this program's job from its creation where Windows can do that, else
    // suspended until it is in the job (below).
    const DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | (attributes.list() ? EXTENDED_STARTUPINFO_PRESENT : 0);
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, start.Output ? TRUE : FALSE, flags, nullptr, folder,
                           &startup, &info))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 3) return error;
        Sleep(200);
    }
    ProcessHandles process;
    process.Process.reset(info.hProcess);
    process.Thread.reset(info.hThread);
    // It ends with this program, never outliving a setup that was ended part way.
    if (const DWORD error = RunInsideChildJob(process.Process.get(), process.Thread.get())) {
        (void)TerminateProcess(process.Process.get(), error);
        return error;
    }
    started = std::move(process.Process);
    return 0;
}

ProcessEnd EndOf(HANDLE process) {
    ProcessEnd end;
    end.Finished = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    if (end.Finished && !GetExitCodeProcess(process, &end.ExitCode)) end.ExitCode = 0;
    return end;
}

DWORD StartAndWait(const ProcessStart& start, ProcessEnd& end) {
    end = ProcessEnd();
    UniqueKernelHandle process;
    if (const DWORD error = StartProcess(start, process)) return error;
    (void)WaitForSingleObject(process.get(), start.TimeoutMs);  // EndOf tells how the wait ended
    end = EndOf(process.get());
    return 0;
}

void WaitForProgram(HANDLE process, DWORD timeoutMs, const ProgramWait& wait) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT || waited >= timeoutMs) return;
        if (wait)
            wait(process, timeoutMs - waited);
        else
            (void)WaitForSingleObject(process, timeoutMs - waited);  // asked again above
    }
}

DWORD RunAndWait(const std::wstring& program, const std::wstring& params, const std::wstring& workingDir,
                 DWORD timeoutMs, const ProgramWait& wait) {
    wchar_t system[MAX_PATH] = {};
    const UINT len = GetSystemDirectoryW(system, MAX_PATH);
    if (len == 0 || len >= MAX_PATH) return len == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    // cmd.exe starts whether or not the batch file is there: a missing one is a failed start.
    const std::wstring batch = BatchPathOf(program);
    if (!batch.empty() && GetFileAttributesW(batch.c_str()) == INVALID_FILE_ATTRIBUTES) return GetLastError();
    ProcessStart start;
    start.CommandLine = CommandLineFor(program, params, std::wstring(system, len));
    start.WorkingDir = workingDir;
    start.TimeoutMs = timeoutMs;
    // A program still running after the wait is left to run: the install or
    // uninstall goes on as after its end rather than hang with it.
    UniqueKernelHandle process;
    if (const DWORD error = StartProcess(start, process)) return error;
    WaitForProgram(process.get(), timeoutMs, wait);
    return 0;
}

}  // namespace tessel::common
