// The uninstall engine: reads an undo log and reverses its records, last change first.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "common/IdeDiscovery.h"
#include "common/Locations.h"
#include "changes/RecordCheck.h"
#include "common/UndoLogFormat.h"
#include "changes/UninstallProgress.h"

namespace tessel::changes {

using common::InstalledIdes;
using common::LocationContext;
using common::UndoRecord;
using common::UndoStep;

// Whether an undo log could be loaded (the uninstaller turns each into its
// message and exit code).
enum class UndoLogLoad {
    Loaded,
    CannotOpen,  // missing, unreadable, or no name at all
    Empty,
    NotUndoLog,  // shorter than the signature, or a wrong signature
};

// How a walk over the change records ended.
enum class WalkEnd {
    Complete,    // every record was undone (or skipped, in a partial uninstall)
    Damaged,     // a damaged record stopped the walk; the records not yet reached stay
    StepFailed,  // the walk went to its end, but a step failed (StepError)
};
struct WalkResult {
    WalkEnd End = WalkEnd::Complete;
    DWORD StepError = 0;  // the Win32 error of the first step that failed
    // The log ended in a torn record (an install killed while writing it). Its
    // change was never made, as every record is written before its change:
    // the walk began with the last whole record and lost nothing.
    bool TornTail = false;
};

class UninstallEngine {
public:
    UninstallEngine();
    virtual ~UninstallEngine();
    UninstallEngine(const UninstallEngine&) = delete;
    UninstallEngine& operator=(const UninstallEngine&) = delete;

    // Reads the whole log (closed at once: the walk may delete it), checks its
    // signature and reads its product information, which sets the walking range
    // and direction. Only after Loaded does Undo change anything.
    [[nodiscard]] UndoLogLoad Load(const std::wstring& logFile);
    // Walks the change records and undoes each; a step that fails does not end
    // the walk. The walk is reported to progress, whose End comes however the
    // walk ends; without it nothing is reported. Without a successful Load
    // nothing is undone and the walk ends as Damaged.
    WalkResult Undo();
    WalkResult Undo(UninstallProgress& progress);

    // The product information Load read.
    std::wstring ProductName;
    std::wstring ProductVersion;
    std::wstring ProductRegKey;
    std::wstring ProductIntName;
    // Keep what a partial uninstall keeps (records flagged RowFlag::KeepOnPartial).
    bool PartialUninstall = false;

    // Read-only views for tests and diagnostics.
    bool ReadsBackward() const { return readBackward_; }
    // Load found a torn last record and left it out (see WalkResult::TornTail).
    bool TornTail() const { return tornTail_; }
    const std::string& FileVersion() const { return fileVersion_; }
    // The loaded log's bytes (which IDEs it touches is read from them before the walk).
    const std::string& LogBytes() const { return log_; }
    // The install folder read by Load, and the IDE the walk last
    // selected: what the records resolve against. Nothing outside the engine changes.
    const LocationContext& Location() const { return location_; }

private:
    std::string log_;       // the loaded log
    std::wstring logFile_;  // its name as given: the folder it lies in bounds the walk
    size_t pos_ = 0;        // current position in log_
    size_t begin_ = 0;      // where the walk starts
    size_t end_ = 0;        // where it stops (below begin_ when it reads backward)
    bool readBackward_ = false;
    bool loaded_ = false;      // the last Load succeeded
    bool tornTail_ = false;    // Load cut a torn last record off log_
    std::string fileVersion_;  // the two digits behind "UNQMV"
    LocationContext location_;
    // The next record in the walking direction; moves pos_ past it.
    UndoStep ReadItem(UndoRecord& rec);
    void ReadProductInfo();
    WalkResult Walk(UninstallProgress& progress);
    // Before a backward walk: the IDE of a block the log ends inside (a stopped setup).
    void SelectIdeOfAStoppedBlock(const InstalledIdes& ides, const UndoScope& scope);
};

}  // namespace tessel::changes
