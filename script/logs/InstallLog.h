// "install.log": the human record of a run, one UTF-16LE line per row
// ("...Success", "...Fail" or "...Already"), in the install folder. A line it
// cannot take does not stop the install: the undo log, which the uninstall
// needs, is the one whose writes are checked (common/UndoLog.h).
#pragma once
#include <string>
#include "common/Handles.h"

namespace tessel::script {

class InstallLog {
public:
    // Creates the install folder (protected) and the log in it, replacing an
    // earlier one; a log that cannot be created leaves the run without one.
    void Open(const std::wstring& installDir);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // Appends one line (nothing when the log is not open).
    void Write(const std::wstring& text);
    void Close() { file_.reset(); }

private:
    common::UniqueFile file_;
};

}  // namespace tessel::script
