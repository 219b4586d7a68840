// Writing the undo log. Each record goes to disk with one write call before or
// as its change is made, and every write is checked: a change whose record did
// not reach the file could not be taken back by any uninstall.
#include "common/UndoLog.h"
#include "common/FolderSecurity.h"
#include "common/PathText.h"
#include "common/SystemUtils.h"

namespace tessel::common {

namespace {

// Writes all of bytes in one call; 0 or the Win32 error. A write that takes
// fewer bytes than asked for (a full volume) is a failure too.
DWORD WriteWhole(HANDLE file, const void* bytes, size_t size) {
    DWORD written = 0;
    if (!WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr)) return LastErrorOr(ERROR_WRITE_FAULT);
    return written == size ? 0 : static_cast<DWORD>(ERROR_HANDLE_DISK_FULL);
}

}  // namespace

DWORD OpenUndoLog(const std::wstring& installDir, UniqueFile& log) {
    log.reset();
    // A failure here shows as the failure to create the file below.
    (void)CreateProtectedFolder(installDir);
    const std::wstring name = JoinPath(installDir, L"uninst.log");
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = LastErrorOr(ERROR_CANNOT_MAKE);
    log.reset(h);
    if (log) {
        error = WriteWhole(log.get(), UndoSignature, UndoSignatureSize);
        if (error == 0) return 0;
        // A log without its signature would be refused by every reader.
        log.reset();
    }
    return error;
}

DWORD WriteUndoRecord(const UniqueFile& log, uint32_t word0, uint32_t param, uint32_t location,
                      const std::wstring& text) {
    if (!log) return ERROR_INVALID_HANDLE;
    const std::string record = EncodeUndoRecord(word0, param, location, ToUtf8(text));
    // A text beyond the record's 16-bit length cannot be recorded.
    if (record.empty()) return ERROR_FILENAME_EXCED_RANGE;
    return WriteWhole(log.get(), record.data(), record.size());
}

void CloseUndoLog(UniqueFile& log) { log.reset(); }

}  // namespace tessel::common
