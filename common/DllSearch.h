// Where Windows may look for the DLLs that the programs, and the system on
// their behalf, load after start-up: the system folder only.
#pragma once

namespace tessel::common {

// Called first in both programs. Both run as administrator, often from a
// Downloads folder or with the current folder in a package folder: a DLL
// planted there must never be loaded. The imports are all KnownDLLs, so the
// loader takes none of them from the program's folder before this runs; the
// window libraries are loaded at their first call (common/WindowLibraries.h),
// from the system folder.
void LimitDllSearchToSystemFolder();

}  // namespace tessel::common
