// The uninstall engine: loads an undo log, reads its product information and
// reverses its change records, last change first, reporting to a progress.
#include "changes/UninstallEngine.h"

#include <exception>

#include "common/IdeDiscovery.h"
#include "common/RowKinds.h"
#include "common/Files.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "common/UndoRules.h"
#include "changes/Changes.h"

namespace tessel::changes {

using namespace tessel::common;

namespace {

// Reports nothing: the walk without any window.
class NoProgress final : public UninstallProgress {
public:
    void Begin(size_t) override {}
    void Status(const std::wstring&) override {}
    void Step(size_t) override {}
    void End() override {}
};

}  // namespace

UninstallEngine::UninstallEngine() = default;
UninstallEngine::~UninstallEngine() = default;

UndoLogLoad UninstallEngine::Load(const std::wstring& logFile) {
    log_.clear();
    logFile_ = logFile;
    pos_ = begin_ = end_ = 0;
    loaded_ = false;
    tornTail_ = false;
    // Read whole and closed at once: the walk may delete the log itself.
    if (ReadFileBytes(logFile, log_, 0, GENERIC_READ) != 0) return UndoLogLoad::CannotOpen;
    if (log_.empty()) return UndoLogLoad::Empty;
    if (!IsValidUndoSignature(log_)) return UndoLogLoad::NotUndoLog;
    fileVersion_ = log_.substr(5, 2);
    // A torn last record stands for a change that was never made: the walk
    // starts from the whole records before it.
    const size_t whole = WholeRecordsEnd(log_);
    tornTail_ = whole < log_.size();
    log_.resize(whole);
    ReadProductInfo();
    loaded_ = true;
    return UndoLogLoad::Loaded;
}

UndoStep UninstallEngine::ReadItem(UndoRecord& rec) {
    size_t next = pos_;
    const UndoStep step =
        readBackward_ ? StepUndoBackward(log_, pos_, end_, rec, next) : StepUndoForward(log_, pos_, end_, rec, next);
    if (step == UndoStep::Record) pos_ = next;
    return step;
}

void UninstallEngine::ReadProductInfo() {
    pos_ = log_.size() >= UndoSignatureSize ? UndoSignatureSize : log_.size();
    readBackward_ = false;
    end_ = log_.size();
    begin_ = pos_;
    for (;;) {
        const size_t r = pos_;
        UndoRecord rec;
        const UndoStep step = ReadItem(rec);
        if (step == UndoStep::End) break;
        if (step == UndoStep::Damaged || rec.Kind() != RowKind::Info) {
            // The change records start here; a damaged record is met again by
            // the walk, which stops there.
            if (!readBackward_) begin_ = r;
            break;
        }
        const std::wstring text = FromUtf8(rec.Text);
        switch (static_cast<InfoCode>(rec.Param)) {
        case InfoCode::ProductName: ProductName = text; break;
        case InfoCode::ProductVersion: ProductVersion = text; break;
        case InfoCode::InstallDir: location_.InstallDir = text; break;
        case InfoCode::ProductRegKey: ProductRegKey = text; break;
        case InfoCode::ProductIntName: ProductIntName = text; break;
        case InfoCode::Direction:
            readBackward_ = true;
            begin_ = end_;
            end_ = pos_;
            break;
        default: break;
        }
    }
}

WalkResult UninstallEngine::Undo() {
    NoProgress none;
    return Undo(none);
}

WalkResult UninstallEngine::Undo(UninstallProgress& progress) {
    WalkResult result{WalkEnd::Damaged, 0};
    // Only the standard library throws here (memory running out): that stops
    // the walk like a damaged record, and the records not yet reached stay.
    try {
        if (loaded_) result = Walk(progress);
    } catch (const std::exception&) {
        result = WalkResult{WalkEnd::Damaged, 0};
    }
    progress.End();
    result.TornTail = tornTail_;
    return result;
}

void UninstallEngine::SelectIdeOfAStoppedBlock(const InstalledIdes& ides, const UndoScope& scope) {
    // Each IDE block starts and ends with an IDE record, and the backward walk
    // meets the closing one first. A setup stopped inside a block wrote no
    // closing record: the last IDE record in the file is then the block's
    // opening one, and its records are undone with that IDE, not with none.
    UndoRecord rec, last;
    bool found = false;
    for (size_t pos = end_, next = 0; pos < begin_ && StepUndoForward(log_, pos, begin_, rec, next) == UndoStep::Record;
         pos = next) {
        if (rec.Kind() != RowKind::SetIde && rec.Kind() != RowKind::SetIdeProfile) continue;
        last = rec;
        found = true;
    }
    if (!found) return;
    const std::wstring text = FromUtf8(last.Text);
    if (IsUndoableRecord(last, text, scope)) SelectRecordedIde(location_, ides, last, text);
}

WalkResult UninstallEngine::Walk(UninstallProgress& progress) {
    progress.Begin(begin_ > end_ ? begin_ - end_ : end_ - begin_);
    // IDE root and common folders must resolve on this machine.
    const InstalledIdes ides = FindInstalledIdes();
    // Only what an install of the product can have recorded is undone, and
    // whatever names the install folder only when the log lies in it.
    const UndoScope scope = MakeUndoScope(logFile_, location_.InstallDir, ProductIntName);
    // What a setup killed during a compile left in its folder was never recorded.
    if (scope.InstallDirHoldsLog) RemoveCompilerOutputLeftovers(location_.InstallDir);

    if (readBackward_) SelectIdeOfAStoppedBlock(ides, scope);
    pos_ = begin_;
    std::wstring lastStatus;
    // A step that failed (the help batch that could not be started, a record
    // the install cannot have written) does not end the walk: the changes
    // recorded before it would otherwise stay for good, as a second try meets
    // the same failure. The walk reports it at the end.
    WalkResult result;
    for (;;) {
        UndoRecord rec;
        const UndoStep step = ReadItem(rec);
        if (step == UndoStep::End) break;
        if (step == UndoStep::Damaged) return WalkResult{WalkEnd::Damaged, result.StepError};
        if (PartialUninstall && HasFlag(rec.Word0, RowFlag::KeepOnPartial)) {
            progress.Status(L"Skipping");
        } else {
            if (const wchar_t* status = Describe(rec.Kind()).UndoStatus) lastStatus = status;
            progress.Status(lastStatus);
            const DWORD error = UndoChange(location_, ides, rec, FromUtf8(rec.Text), scope);
            if (error != 0 && result.StepError == 0) result = WalkResult{WalkEnd::StepFailed, error};
        }
        progress.Step(rec.Size());
    }
    return result;
}

}  // namespace tessel::changes
