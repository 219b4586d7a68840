// Which undo records an install of this product can have written. The log lies
// in the install folder, which need not be protected, and the uninstaller runs
// as administrator: a record that names anything else is never acted on.
// Pure decisions on plain values, no Win32 calls.
#pragma once
#include <string>
#include "common/UndoLogFormat.h"

namespace tessel::common {

// What a walk knows besides the record itself.
struct UndoScope {
    // The install folder that the log's information names is the folder the
    // log itself lies in. Records relative to the install folder (and the help
    // batch run from it) are undone only then.
    bool InstallDirHoldsLog = false;
    std::wstring ProductIntName;  // the uninstall entry's name as the log gives it
};

// True for a path below a location folder as the install script writes one:
// names joined by "\", none of them empty, "." or "..", none ending in a dot or a
// blank (the system drops those), no drive, stream, device or wildcard syntax,
// no "/" and nothing before the first name. The empty text is not one.
bool IsPlainRelativePath(const std::wstring& text);

// True when two folder paths, both lower-cased, are the same full path: "/" is
// taken as "\" and trailing backslashes are ignored.
bool IsSameFolder(const std::wstring& aLower, const std::wstring& bLower);

// True when an install of this product can have written rec, whose text is
// already decoded: only such records are undone.
bool IsUndoableRecord(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope);

}  // namespace tessel::common
