// Wizard page: runs the install script and shows its progress.
#include "setup/ProgressPage.h"
#include <commctrl.h>
#include <memory>
#include "common/PathText.h"
#include "changes/packages/ManualBuild.h"
#include "script/runner/ScriptRunner.h"
#include "setup/UnattendedInstall.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

// Handles every message queued for the thread's windows, as the dialog's own
// loop would (a WM_QUIT is put back for that loop).
void HandleQueuedMessages(HWND dialog) {
    MSG msg;
    while (gui::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            gui::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (gui::IsDialogMessageW(dialog, &msg)) continue;
        gui::TranslateMessage(&msg);
        gui::DispatchMessageW(&msg);
    }
}

// Waits up to timeoutMs for process to end and handles the window's messages
// meanwhile, as they come: the wizard never looks hung while a compiler works.
void WaitHandlingMessages(HWND dialog, HANDLE process, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HandleQueuedMessages(dialog);
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return;
        const DWORD woke = gui::MsgWaitForMultipleObjectsEx(1, &process, timeoutMs - waited, QS_ALLINPUT,
                                                            MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1) return;  // ended, timed out or failed: the runner asks again
    }
}

}  // namespace

PageMove ProgressPage::Show() {
    ShowItem(IDC_PROGRESSFRAME, true);
    ShowItem(IDC_PROGRESS, true);
    ShowItem(IDC_ROWCAPTION, true);
    EnableItem(IDC_NEXT, false);
    EnableItem(IDC_BACK, false);
    gui::RedrawWindow(Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SetItemText(IDC_PAGETEXT, ProgressText());
    RunScript();
    return PageMove::Stay;
}

void ProgressPage::RunScript() {
    auto script = std::make_unique<ScriptRunner>(Install().Plan);
    script->Start();
    HWND bar = Item(IDC_PROGRESS);
    gui::SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(script->Count() - 1)));
    gui::SendMessageW(bar, PBM_SETPOS, 0, 0);

    std::wstring caption;
    IdeMask manualBuildShown;
    // While compilers run, the status line names the IDEs they build for.
    std::wstring building;
    script->UseWait([&](HANDLE process, DWORD timeoutMs) {
        const std::wstring names = script->BuildingIdes();
        if (!names.empty() && names != building) SetItemText(IDC_ROWCAPTION, BuildingStatusText(names));
        building = names;
        WaitHandlingMessages(Dialog(), process, timeoutMs);
    });
    const int failed = RunRemainingRows(
        *script,
        [&](ActionResult result) {
            if (result.Failed()) {
                std::wstring text =
                    FormatRowError(script->Current(), result.Code(), script->CurrentRow().Word0, script->LogText());
                if (!script->FailureReason().empty()) text += L"\r\n" + script->FailureReason();
                gui::MessageBoxW(Dialog(), text.c_str(), L"Error", MB_OK);
            }
            // One message for an IDE whose compiler refused, instead of an error box per package row.
            const IdeMask manualBuild = script->Outcome().ManualBuildIdeMask & ~manualBuildShown;
            if (!manualBuild.Empty()) {
                manualBuildShown |= manualBuild;
                const LocationContext& at = script->State().Location;
                const std::wstring folder = JoinPath(at.InstallDir, at.IdeFolder);
                gui::MessageBoxW(Dialog(), packages::ManualBuildText(at.CurrentIde, folder).c_str(),
                                 packages::ManualBuildCaption, MB_OK | MB_ICONINFORMATION);
            }
            gui::SendMessageW(bar, PBM_DELTAPOS, 1, 0);
            HandleQueuedMessages(Dialog());
        },
        [&] {
            const std::wstring own = script->CurrentCaption();
            if (!own.empty()) caption = own;
            SetItemText(IDC_ROWCAPTION, caption);
            building.clear();
        });

    // The finish page reads how the run went.
    Install().Outcome = script->Outcome();
    Install().Outcome.FailedRows = failed;
    // Refused or stopped runs changed nothing more that an entry could describe.
    if (!Install().Outcome.RunRefused() && !Install().Outcome.RunStopped() && !CompleteInstalledEntry(*script))
        ++Install().Outcome.FailedRows;
    EnableItem(IDC_NEXT, true);
    gui::SendMessageW(Item(IDC_NEXT), BM_CLICK, 0, 0);
    Hide();
    script.reset();  // closes the logs, after the finish page has stored its values
}

void ProgressPage::Hide() {
    ShowItem(IDC_PROGRESSFRAME, false);
    ShowItem(IDC_PROGRESS, false);
    ShowItem(IDC_ROWCAPTION, false);
}

}  // namespace tessel::setup
