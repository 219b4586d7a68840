// Writing the undo log. Each record goes to disk whole before or as its change
// is made, and every write is checked: a change whose record did
// not reach the file could not be taken back by any uninstall.
#include "common/UndoLog.h"
#include "common/FolderSecurity.h"
#include "common/PathText.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

namespace tessel::common {

DWORD OpenUndoLog(const std::wstring& installDir, UniqueFile& log) {
    log.reset();
    // A failure here shows as the failure to create the file below.
    (void)CreateProtectedFolder(installDir);
    const std::wstring name = JoinPath(installDir, UndoLogFileName);
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = LastErrorOr(ERROR_CANNOT_MAKE);
    log.reset(h);
    if (log) {
        error = WriteAll(log.get(), UndoSignature, UndoSignatureSize);
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
    return WriteAll(log.get(), record.data(), record.size());
}

void CloseUndoLog(UniqueFile& log) { log.reset(); }

}  // namespace tessel::common
