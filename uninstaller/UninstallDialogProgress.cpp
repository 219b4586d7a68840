// The uninstall progress shown on the uninstaller's dialog.
#include "uninstaller/UninstallDialogProgress.h"
#include <commctrl.h>
#include <utility>
#include "uninstaller/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::uninstaller {

using namespace tessel::changes;

namespace {

constexpr DWORD stepPacingMs = 50;

// Sets a control's text and paints it now: the dialog processes no messages
// while the walk runs.
void SetControlText(HWND dialog, int id, const std::wstring& text) {
    HWND control = gui::GetDlgItem(dialog, id);
    if (!control) return;
    gui::SetWindowTextW(control, text.c_str());
    gui::UpdateWindow(control);
}

}  // namespace

UninstallDialogProgress::UninstallDialogProgress(HWND dialog, std::wstring productText)
    : dialog_(dialog), productText_(std::move(productText)) {}

void UninstallDialogProgress::Begin(size_t total) {
    SetControlText(dialog_, IDC_MAIN_TEXT, L"Performing uninstall of the \"" + productText_ + L"\"...");
    for (int id : {IDC_PROGRESS_FRAME, IDC_PROGRESS_BAR, IDC_STATUS})
        gui::ShowWindow(gui::GetDlgItem(dialog_, id), SW_SHOW);
    gui::EnableWindow(gui::GetDlgItem(dialog_, IDC_START), FALSE);
    const LPARAM top = total > 0 ? static_cast<LPARAM>(total - 1) : 0;
    gui::SendDlgItemMessageW(dialog_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, top);
    gui::SendDlgItemMessageW(dialog_, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
    gui::EnableWindow(gui::GetDlgItem(dialog_, IDCANCEL), FALSE);
    gui::RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void UninstallDialogProgress::Status(const std::wstring& text) { SetControlText(dialog_, IDC_STATUS, text); }

void UninstallDialogProgress::Step(size_t size) {
    // Slow enough for the user to follow; no messages are processed meanwhile.
    const DWORD stepEnd = GetTickCount();
    DWORD elapsed;
    while ((elapsed = GetTickCount() - stepEnd) < stepPacingMs) Sleep(stepPacingMs - elapsed);
    gui::SendDlgItemMessageW(dialog_, IDC_PROGRESS_BAR, PBM_DELTAPOS, static_cast<WPARAM>(size), 0);
    gui::UpdateWindow(gui::GetDlgItem(dialog_, IDC_PROGRESS_BAR));
}

void UninstallDialogProgress::End() { gui::EnableWindow(gui::GetDlgItem(dialog_, IDCANCEL), TRUE); }

}  // namespace tessel::uninstaller
