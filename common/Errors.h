// How failures are reported, once for the whole code base:
// - A row's action returns an ActionResult (script/actions/ActionResult.h):
//   success, a Win32 error code, or one of the action's own failure points,
//   whose number the error box and install.log show.
// - Every helper that can fail returns the Win32 error code as a DWORD, 0 for
//   success. A result that callers treat as normal (a value that is not there:
//   ERROR_FILE_NOT_FOUND) is just one of the codes they test.
// - Pure predicates (does the folder exist?) return bool; a text or list that
//   may be empty says so in its comment.
// Both result types are [[nodiscard]]. Where ignoring one is right (a
// best-effort cleanup), the call is cast to (void) with a word on why.
// Exceptions come only from the standard library (memory running out); they
// are caught, by name, only where they must not pass: window procedures and
// callbacks, the programs' main blocks, the uninstall walk and the row dispatch.
#pragma once
#include <windows.h>

namespace tessel::common {

// The calling thread's last error, or fallback when a failed call left none.
[[nodiscard]] inline DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

}  // namespace tessel::common
