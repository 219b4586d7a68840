// Finding the IDEs that run now among those an install or uninstall touches.
#include "common/RunningIdes.h"

#include <tlhelp32.h>

#include "common/Handles.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/TextConversion.h"
#include "common/UndoLogFormat.h"
#include "common/WindowLibraries.h"

namespace tessel::common {

std::vector<std::wstring> IdeProgramPaths(const std::wstring& rootDir) {
    if (rootDir.empty()) return {};
    return {JoinPath(rootDir, L"bin\\delphi32.exe"), JoinPath(rootDir, L"bin\\bcb.exe"),
            JoinPath(rootDir, L"bin\\bds.exe"), JoinPath(rootDir, L"bin64\\bds.exe")};
}

std::wstring FinalPathOf(const std::wstring& path) {
    if (path.empty()) return std::wstring();
    // Opened for nothing but its name: any file can be, whoever holds it.
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::wstring();
    std::wstring name(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetFinalPathNameByHandleW(file.get(), &name[0], static_cast<DWORD>(name.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return std::wstring();
        if (n < name.size()) return name.substr(0, n);
        name.assign(n + 1, L'\0');
    }
    return std::wstring();
}

std::wstring ComparablePath(const std::wstring& finalPath) {
    std::wstring path = finalPath;
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        path = L"\\" + path.substr(7);
    else if (path.compare(0, 4, L"\\\\?\\") == 0)
        path = path.substr(4);
    return LowerWide(path);
}

namespace {

std::wstring ProgramKey(const std::wstring& path, const PathResolver& resolve) {
    const std::wstring resolved = resolve(path);
    return ComparablePath(resolved.empty() ? path : resolved);
}

}  // namespace

bool SameProgramPath(const std::wstring& a, const std::wstring& b, const PathResolver& resolve) {
    return ProgramKey(a, resolve) == ProgramKey(b, resolve);
}

std::vector<IdeIndex> RunningIdesAmong(const InstalledIdes& ides, IdeMask ideMask,
                                       const std::vector<std::wstring>& images, const PathResolver& resolve) {
    std::vector<std::wstring> keys;
    keys.reserve(images.size());
    for (const std::wstring& image : images) keys.push_back(ProgramKey(image, resolve));
    std::vector<IdeIndex> running;
    for (IdeIndex index(1); index.IsValid(); ++index.Value) {
        if (!ideMask.Has(IdeOf(index).InternalId)) continue;
        bool found = false;
        for (const std::wstring& program : IdeProgramPaths(FoundOf(ides, index).RootDir)) {
            const std::wstring key = ProgramKey(program, resolve);
            for (const std::wstring& image : keys) found = found || image == key;
        }
        if (found) running.push_back(index);
    }
    return running;
}

IdeMask IdeMaskOfUndoLog(const std::string& bytes) {
    IdeMask mask;
    if (!IsValidUndoSignature(bytes)) return mask;
    UndoRecord rec;
    for (size_t pos = UndoSignatureSize, next = 0;
         StepUndoForward(bytes, pos, bytes.size(), rec, next) == UndoStep::Record; pos = next) {
        const IdeIndex index(static_cast<int>(rec.Param));
        const bool selects = rec.Kind() == RowKind::SetIde || rec.Kind() == RowKind::SetIdeProfile;
        if (selects && index.IsValid()) mask |= MaskOf(index);
    }
    return mask;
}

std::vector<RunningProcess> RunningProcesses() {
    std::vector<RunningProcess> processes;
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        if (!QueryFullProcessImageNameW(process.get(), 0, image, &size)) continue;
        processes.push_back({entry.th32ProcessID, std::wstring(image, size)});
    }
    return processes;
}

std::vector<IdeIndex> FindRunningIdes(const InstalledIdes& ides, IdeMask ideMask) {
    if (ideMask.Empty()) return {};
    std::vector<std::wstring> images;
    for (const RunningProcess& process : RunningProcesses()) images.push_back(process.Image);
    return RunningIdesAmong(ides, ideMask, images);
}

std::wstring RunningIdesText(const std::vector<std::wstring>& names) {
    std::wstring text = L"Please close these IDEs first:\r\n\r\n";
    for (const std::wstring& name : names) text += name + L"\r\n";
    return text + L"\r\nAn IDE that is open holds the library's packages, and when it closes it writes its "
                  L"settings back over the ones changed now. Nothing has been changed yet.\r\n\r\n"
                  L"Click Retry when they are closed.";
}

bool AskUntilIdesClosed(HWND owner, const std::function<std::vector<std::wstring>()>& runningNames) {
    for (;;) {
        const std::vector<std::wstring> names = runningNames();
        if (names.empty()) return true;
        if (gui::MessageBoxW(owner, RunningIdesText(names).c_str(), RunningIdesCaption,
                             MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY)
            return false;
    }
}

}  // namespace tessel::common
