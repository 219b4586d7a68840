// Child processes end with the program that started them: a setup that is
// ended part way (a user ends the task, a deployment tool times out) must not
// leave a compiler writing into the install folder while the next setup or
// the uninstall removes it.
#pragma once
#include <windows.h>

namespace tessel::common {

// This program's job (see below), or null when it cannot be made. A program
// created with it in its PROC_THREAD_ATTRIBUTE_JOB_LIST is in the job from its
// first instant, so no kill of this program can come between its creation and
// its entry into the job.
[[nodiscard]] HANDLE ChildProcessJob();

// Puts the process, started suspended, into this program's job, whose
// processes Windows ends when the last handle to it closes (with this
// program), unless it is there already, then lets its thread run. A process the job cannot take (an
// older Windows that does not nest jobs) runs as before, outside it. 0, or
// the Win32 error of resuming the thread (the caller then ends the process).
[[nodiscard]] DWORD RunInsideChildJob(HANDLE process, HANDLE thread);

}  // namespace tessel::common
