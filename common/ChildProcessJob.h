// Child processes end with the program that started them: a setup that is
// ended part way (a user ends the task, a deployment tool times out) must not
// leave a compiler writing into the install folder while the next setup or
// the uninstall removes it.
#pragma once
#include <windows.h>

namespace tessel::common {

// Puts the process, started suspended, into this program's job, whose
// processes Windows ends when the last handle to it closes (with this
// program), then lets its thread run. A process the job cannot take (an
// older Windows that does not nest jobs) runs as before, outside it. 0, or
// the Win32 error of resuming the thread (the caller then ends the process).
[[nodiscard]] DWORD RunInsideChildJob(HANDLE process, HANDLE thread);

}  // namespace tessel::common
