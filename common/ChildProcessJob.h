// Child processes end with the program that started them: a setup that is
// ended part way (a user ends the task, a deployment tool times out) must not
// leave a compiler writing into the install folder while the next setup or
// the uninstall removes it.
#pragma once
#include <windows.h>

namespace tessel::common {

// Asks that this program itself join its job before it starts the first
// program (the setup calls it at start-up). A program it starts is then in
// the job from its creation on, so a kill at any moment ends it too. Without
// this call (the tests' in-process runs), each started program is put into
// the job right after its creation instead (RunInsideChildJob).
void EndStartedProgramsWithThisProcess();

// True when this program is in its job (joined on the first call after
// EndStartedProgramsWithThisProcess); the caller then starts programs as usual.
bool InsideChildJob();

// Puts the process, started suspended, into this program's job, whose
// processes Windows ends when the last handle to it closes (with this
// program), then lets its thread run. A process the job cannot take (an
// older Windows that does not nest jobs) runs as before, outside it. 0, or
// the Win32 error of resuming the thread (the caller then ends the process).
[[nodiscard]] DWORD RunInsideChildJob(HANDLE process, HANDLE thread);

}  // namespace tessel::common
