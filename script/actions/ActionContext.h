// What an install action hands back to the runner besides its result code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "common/Locations.h"

namespace tessel::script {

// A file that an action wrote, named the way an undo record names it.
struct WrittenFile {
    uint32_t ResId;                 // payload id, 0 for copies
    common::LocationCode Location;  // the folder the text is relative to
    std::wstring Text;              // path relative to the location
};

struct InstallContext;

struct ActionContext {
    InstallContext* Install = nullptr;    // the run's; set by the runner before every row
    std::wstring LogText;                 // the row's install-log entry; empty: nothing to report
    std::vector<std::wstring> LogDetail;  // further install-log lines under the entry (not in the error box)
    std::wstring FailureReason;           // one line that says why the row failed, for the error box; may be empty
    std::vector<WrittenFile> Written;     // files written, for the runner's undo bookkeeping
};

}  // namespace tessel::script
