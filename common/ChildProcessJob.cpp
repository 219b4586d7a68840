// The job that ties the started programs to this one.
#include "common/ChildProcessJob.h"

#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// Created on first use and held for the whole process: the system closes it
// as the process ends, however it ends, and that ends every process still in it.
HANDLE ChildProcessJob() {
    static const UniqueKernelHandle job = [] {
        UniqueKernelHandle h(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (h && !SetInformationJobObject(h.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
            h.reset();
        return h;
    }();
    return job.get();
}

DWORD RunInsideChildJob(HANDLE process, HANDLE thread) {
    BOOL inside = FALSE;
    if (HANDLE job = ChildProcessJob(); job && (!IsProcessInJob(process, job, &inside) || !inside))
        (void)AssignProcessToJobObject(job, process);  // outside it otherwise, see above
    if (ResumeThread(thread) == static_cast<DWORD>(-1)) return LastErrorOr(ERROR_INTERNAL_ERROR);
    return 0;
}

}  // namespace tessel::common
