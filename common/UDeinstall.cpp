// The uninstall engine: loads an undo log, reads its product information and
// reverses its change records, last change first, with or without a dialog.
#include "common/UDeinstall.h"
#include <commctrl.h>
#include "common/UDiscovery.h"
#include "common/UScriptKinds.h"
#include "common/UUtils.h"
#include "common/UnDoRules.h"
#include "common/UnDoSteps.h"

namespace {

// Controls of the uninstaller's dialog that the engine drives.
constexpr int idMainText = 256;
constexpr int idStatus = 260;
constexpr int idProgressFrame = 261;
constexpr int idProgressBar = 1009;
constexpr int idStart = 1000;
constexpr int idCancel = IDCANCEL;

constexpr DWORD stepPacingMs = 50;
constexpr int walkDamaged = -1;

// Sets a control's text and paints it now: the dialog processes no messages
// while the walk runs.
void SetControlText(HWND dlg, int id, const std::wstring& text) {
    HWND control = GetDlgItem(dlg, id);
    if (!control) return;
    SetWindowTextW(control, text.c_str());
    UpdateWindow(control);
}

// Enables Cancel again however the walk ends.
struct CancelEnabler {
    HWND dlg;
    ~CancelEnabler() {
        if (dlg) EnableWindow(GetDlgItem(dlg, idCancel), TRUE);
    }
};

}  // namespace

TDeinstall::TDeinstall() = default;
TDeinstall::~TDeinstall() = default;

int TDeinstall::SetDialogHandle(HWND dlg) {
    FDlgHandle = dlg;
    flWithDialog = dlg != nullptr;
    return 0;
}

int TDeinstall::PrepareUninstFile(const std::wstring& fileName) {
    Buf.clear();
    P = PBegin = PEnd = 0;
    // Read whole and closed at once: the walk may delete the log itself.
    if (!ReadFileBytes(fileName, Buf, 0, GENERIC_READ)) return -2;
    if (Buf.empty()) return -3;
    if (!IsValidUndoSignature(Buf)) return -4;
    FUnInstFileVersion = Buf.substr(5, 2);
    return 0;
}

TUndoStep TDeinstall::ReadItem(TUndoRecord& rec) {
    size_t next = P;
    const TUndoStep step = ReadBackward ? StepUndoBackward(Buf, P, PEnd, rec, next)
                                        : StepUndoForward(Buf, P, PEnd, rec, next);
    if (step == TUndoStep::Record) P = next;
    return step;
}

int TDeinstall::PrepareDeinstall() {
    P = Buf.size() >= UndoSignatureSize ? UndoSignatureSize : Buf.size();
    ReadBackward = false;
    PEnd = Buf.size();
    PBegin = P;
    for (;;) {
        const size_t r = P;
        TUndoRecord rec;
        const TUndoStep step = ReadItem(rec);
        if (step == TUndoStep::End) break;
        if (step == TUndoStep::Damaged || rec.Kind() != skInfo) {
            // The change records start here; a damaged record is met again by
            // the walk, which stops there.
            if (!ReadBackward) PBegin = r;
            break;
        }
        const std::wstring text = FromUtf8(rec.Text);
        switch (rec.Param) {
        case infoProductName: ProductName = text; break;
        case infoProductVersion: ProductVersion = text; break;
        case infoInstallDir: FLocation.InstallDir = text; break;
        case infoProductRegKey: ProductRegKey = text; break;
        case infoProductIntName: ProductIntName = text; break;
        case infoDirection:
            ReadBackward = true;
            PBegin = PEnd;
            PEnd = P;
            break;
        default: break;
        }
    }
    return 0;
}

void TDeinstall::ShowStatus(const std::wstring& text) const {
    if (flWithDialog) SetControlText(FDlgHandle, idStatus, text);
}

int TDeinstall::DoDeinstall() {
    CancelEnabler cancel{flWithDialog ? FDlgHandle : nullptr};
    try {
        return Walk();
    } catch (...) {
        return walkDamaged;
    }
}

int TDeinstall::Walk() {
    if (flWithDialog) {
        SetControlText(FDlgHandle, idMainText, L"Performing uninstall of the \"" + sProductText + L"\"...");
    }
    // IDE root and common folders must resolve on this machine.
    FindBorlandProducts();
    const size_t size = PBegin > PEnd ? PBegin - PEnd : PEnd - PBegin;
    if (flWithDialog) {
        for (int id : {idProgressFrame, idProgressBar, idStatus}) ShowWindow(GetDlgItem(FDlgHandle, id), SW_SHOW);
        EnableWindow(GetDlgItem(FDlgHandle, idStart), FALSE);
        const LPARAM top = size > 0 ? static_cast<LPARAM>(size - 1) : 0;
        SendDlgItemMessageW(FDlgHandle, idProgressBar, PBM_SETRANGE32, 0, top);
        SendDlgItemMessageW(FDlgHandle, idProgressBar, PBM_SETPOS, 0, 0);
        EnableWindow(GetDlgItem(FDlgHandle, idCancel), FALSE);
        RedrawWindow(FDlgHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    P = PBegin;
    std::wstring lastStatus;
    // A step that failed (the help batch that could not be started) does not
    // end the walk: the changes recorded before it would otherwise stay for
    // good, as a second try meets the same failure. The walk reports it at the end.
    int failedStep = 0;
    for (;;) {
        TUndoRecord rec;
        const TUndoStep step = ReadItem(rec);
        if (step == TUndoStep::End) break;
        if (step == TUndoStep::Damaged) return walkDamaged;
        if (flPartialUninstall && (rec.Word0 & sfKeepOnPartial)) {
            ShowStatus(L"Skipping");
        } else {
            if (const wchar_t* status = UndoStatusText(rec.Kind())) lastStatus = status;
            ShowStatus(lastStatus);
            const int result = UndoRecordStep(FLocation, rec, FromUtf8(rec.Text), ProductIntName);
            if (failedStep == 0) failedStep = result;
        }
        if (flWithDialog) {
            // Slow enough for the user to follow; no messages are processed meanwhile.
            const DWORD stepEnd = GetTickCount();
            DWORD elapsed;
            while ((elapsed = GetTickCount() - stepEnd) < stepPacingMs) Sleep(stepPacingMs - elapsed);
            SendDlgItemMessageW(FDlgHandle, idProgressBar, PBM_DELTAPOS, static_cast<WPARAM>(rec.Size()), 0);
            UpdateWindow(GetDlgItem(FDlgHandle, idProgressBar));
        }
    }
    return failedStep;
}
