// Writing the undo log. Each record goes to disk with one write call as soon
// as its row is done, so a run that stops part way still leaves a log that
// covers every change made up to then.
#include "common/UndoLog.h"
#include "common/PathText.h"
#include "common/SystemUtils.h"

namespace tessel::common {

bool OpenUndoLog(const std::wstring& installDir, UniqueFile& log) {
    log.reset();
    // A failure here shows as the failure to create the file below.
    CreateDirectoryPath(installDir);
    const std::wstring name = JoinPath(installDir, L"uninst.log");
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    log.reset(h);
    if (!log) {
        SetLastError(error);
        return false;
    }
    DWORD written = 0;
    WriteFile(log.get(), UndoSignature, static_cast<DWORD>(UndoSignatureSize), &written, nullptr);
    return true;
}

void WriteUndoRecord(const UniqueFile& log, uint32_t word0, uint32_t param, uint32_t location,
                     const std::wstring& text) {
    if (!log) return;
    const std::string record = EncodeUndoRecord(word0, param, location, ToUtf8(text));
    if (record.empty()) return;
    DWORD written = 0;
    WriteFile(log.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
}

void CloseUndoLog(UniqueFile& log) { log.reset(); }

}  // namespace tessel::common
