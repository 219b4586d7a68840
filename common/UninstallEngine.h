// The uninstall engine: reads an undo log and reverses its records, last change first.
#pragma once
#include <cstdint>
#include <string>
#include "common/Locations.h"
#include "common/UndoLogFormat.h"
#include "common/UninstallProgress.h"

namespace tessel::common {

class UninstallEngine {
public:
    UninstallEngine();
    virtual ~UninstallEngine();
    UninstallEngine(const UninstallEngine&) = delete;
    UninstallEngine& operator=(const UninstallEngine&) = delete;

    // 0 loaded and valid; -2 cannot open; -3 empty; -4 shorter than 7 bytes or wrong signature.
    int PrepareUninstFile(const std::wstring& fileName);
    // Reads the product information; sets the walking range and direction. 0.
    int PrepareDeinstall();
    // Walks the change records and undoes each. 0 when every step succeeded;
    // negative when a damaged record stopped the walk (the records not yet
    // reached stay as they are); otherwise the Win32 error of the first step
    // that failed, after the walk went on with the other records. The walk is
    // reported to progress, whose End comes however the walk ends; without it
    // nothing is reported.
    int DoDeinstall();
    int DoDeinstall(UninstallProgress& progress);

    std::wstring ProductName;
    std::wstring ProductVersion;
    std::wstring ProductRegKey;
    std::wstring ProductIntName;
    bool flPartialUninstall = false;

    // Read-only views for tests and diagnostics.
    bool ReadsBackward() const { return ReadBackward; }
    const std::string& FileVersion() const { return FUnInstFileVersion; }
    // The install folder read by PrepareDeinstall, and the IDE the walk last
    // selected: what the records resolve against. Nothing outside the engine changes.
    const LocationContext& Location() const { return FLocation; }

private:
    std::string Buf;             // the loaded log
    size_t P = 0;                // current position in Buf
    size_t PBegin = 0;
    size_t PEnd = 0;
    bool ReadBackward = false;
    std::string FUnInstFileVersion;
    LocationContext FLocation;
    // The next record in the walking direction; moves P past it.
    UndoStep ReadItem(UndoRecord& rec);
    int Walk(UninstallProgress& progress);
};

}  // namespace tessel::common
