// Writing the run's undo log with the IDE records of interleaved blocks.
#include "changes/RunUndoLog.h"

#include "common/RowKinds.h"
#include "common/UndoLog.h"

namespace tessel::changes {

using namespace tessel::common;

namespace {

DWORD WriteIdeRecord(const RunUndoLog& log, const IdeRecord& rec) {
    return common::WriteUndoRecord(log.File, rec.Word0, rec.Param, rec.Location, rec.Text);
}

// Closes the open block: its IDE record again.
DWORD CloseOpenBlock(RunUndoLog& log) {
    if (!log.Open.IsSet()) return 0;
    const DWORD error = WriteIdeRecord(log, log.Open);
    log.Open = IdeRecord();
    return error;
}

}  // namespace

DWORD WriteUndoRecord(RunUndoLog& log, uint32_t word0, uint32_t param, uint32_t location, const std::wstring& text) {
    if (log.Interleaved) {
        const uint32_t kind = word0 & 0xFFFFu;
        if (kind == FirstWord(RowKind::SetIde) || kind == FirstWord(RowKind::SetIdeProfile)) {
            // A block's own IDE record closes it when it is open, else opens it.
            const bool closes = log.Open.IsSet() && log.Open.Param == param;
            if (!closes)
                if (const DWORD error = CloseOpenBlock(log)) return error;
            if (const DWORD error = common::WriteUndoRecord(log.File, word0, param, location, text)) return error;
            log.Open = closes ? IdeRecord() : IdeRecord{word0, param, location, text};
            return 0;
        }
        const bool sameBlock = log.Open.IsSet() == log.Writer.IsSet() && log.Open.Param == log.Writer.Param;
        if (!sameBlock) {
            if (const DWORD error = CloseOpenBlock(log)) return error;
            if (log.Writer.IsSet()) {
                if (const DWORD error = WriteIdeRecord(log, log.Writer)) return error;
                log.Open = log.Writer;
            }
        }
    }
    return common::WriteUndoRecord(log.File, word0, param, location, text);
}

}  // namespace tessel::changes
