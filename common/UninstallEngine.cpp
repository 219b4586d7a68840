// The uninstall engine: loads an undo log, reads its product information and
// reverses its change records, last change first, reporting to a progress.
#include "common/UninstallEngine.h"
#include "common/IdeDiscovery.h"
#include "common/RowKinds.h"
#include "common/SystemUtils.h"
#include "common/UndoRules.h"
#include "common/UndoSteps.h"

namespace tessel::common {

namespace {

constexpr int walkDamaged = -1;

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

int UninstallEngine::PrepareUninstFile(const std::wstring& fileName) {
    Buf.clear();
    P = PBegin = PEnd = 0;
    // Read whole and closed at once: the walk may delete the log itself.
    if (!ReadFileBytes(fileName, Buf, 0, GENERIC_READ)) return -2;
    if (Buf.empty()) return -3;
    if (!IsValidUndoSignature(Buf)) return -4;
    FUnInstFileVersion = Buf.substr(5, 2);
    return 0;
}

UndoStep UninstallEngine::ReadItem(UndoRecord& rec) {
    size_t next = P;
    const UndoStep step = ReadBackward ? StepUndoBackward(Buf, P, PEnd, rec, next)
                                        : StepUndoForward(Buf, P, PEnd, rec, next);
    if (step == UndoStep::Record) P = next;
    return step;
}

int UninstallEngine::PrepareDeinstall() {
    P = Buf.size() >= UndoSignatureSize ? UndoSignatureSize : Buf.size();
    ReadBackward = false;
    PEnd = Buf.size();
    PBegin = P;
    for (;;) {
        const size_t r = P;
        UndoRecord rec;
        const UndoStep step = ReadItem(rec);
        if (step == UndoStep::End) break;
        if (step == UndoStep::Damaged || rec.Kind() != RowKind::Info) {
            // The change records start here; a damaged record is met again by
            // the walk, which stops there.
            if (!ReadBackward) PBegin = r;
            break;
        }
        const std::wstring text = FromUtf8(rec.Text);
        switch (static_cast<InfoCode>(rec.Param)) {
        case InfoCode::ProductName: ProductName = text; break;
        case InfoCode::ProductVersion: ProductVersion = text; break;
        case InfoCode::InstallDir: FLocation.InstallDir = text; break;
        case InfoCode::ProductRegKey: ProductRegKey = text; break;
        case InfoCode::ProductIntName: ProductIntName = text; break;
        case InfoCode::Direction:
            ReadBackward = true;
            PBegin = PEnd;
            PEnd = P;
            break;
        default: break;
        }
    }
    return 0;
}

int UninstallEngine::DoDeinstall() {
    NoProgress none;
    return DoDeinstall(none);
}

int UninstallEngine::DoDeinstall(UninstallProgress& progress) {
    int result = walkDamaged;
    try {
        result = Walk(progress);
    } catch (...) {
        result = walkDamaged;
    }
    progress.End();
    return result;
}

int UninstallEngine::Walk(UninstallProgress& progress) {
    progress.Begin(PBegin > PEnd ? PBegin - PEnd : PEnd - PBegin);
    // IDE root and common folders must resolve on this machine.
    FindBorlandProducts();

    P = PBegin;
    std::wstring lastStatus;
    // A step that failed (the help batch that could not be started) does not
    // end the walk: the changes recorded before it would otherwise stay for
    // good, as a second try meets the same failure. The walk reports it at the end.
    int failedStep = 0;
    for (;;) {
        UndoRecord rec;
        const UndoStep step = ReadItem(rec);
        if (step == UndoStep::End) break;
        if (step == UndoStep::Damaged) return walkDamaged;
        if (flPartialUninstall && HasFlag(rec.Word0, RowFlag::KeepOnPartial)) {
            progress.Status(L"Skipping");
        } else {
            if (const wchar_t* status = UndoStatusText(rec.Kind())) lastStatus = status;
            progress.Status(lastStatus);
            const int result = UndoRecordStep(FLocation, rec, FromUtf8(rec.Text), ProductIntName);
            if (failedStep == 0) failedStep = result;
        }
        progress.Step(rec.Size());
    }
    return failedStep;
}

}  // namespace tessel::common
