// The uninstaller's main block and dialog: reads the undo log named on the
// command line and, when the user presses Start (or at once with /S, without
// any window), reverses the installation.
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <exception>
#include "common/CommandLineWords.h"
#include "common/DllSearch.h"
#include "changes/UninstallEngine.h"
#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/RunningIdes.h"
#include "uninstaller/UninstallCommandLine.h"
#include "uninstaller/UninstallDialogProgress.h"
#include "uninstaller/UninstallRunningIdes.h"
#include "uninstaller/resource.h"
#include "common/WindowLibraries.h"

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::uninstaller;
namespace gui = tessel::gui;

namespace {

const wchar_t* const ErrorCaption = L"Unistall error";

// The product as the dialog names it, for example "Tessel library v4.09".
std::wstring ProductText(const UninstallEngine& engine) { return engine.ProductName + L" v" + engine.ProductVersion; }

// The engine the dialog drives: handed over by DialogBoxParamW, kept in the
// dialog's user data for the messages after WM_INITDIALOG.
UninstallEngine* DialogEngine(HWND dlg) {
    return reinterpret_cast<UninstallEngine*>(gui::GetWindowLongPtrW(dlg, DWLP_USER));
}

void InitDialog(HWND dlg, UninstallEngine& engine) {
    gui::SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(&engine));
    HICON icon = gui::LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    if (icon) gui::SetClassLongPtrW(dlg, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    const std::wstring product = ProductText(engine);
    gui::SetWindowTextW(dlg, (L"Uninstall for " + product).c_str());
    gui::SetDlgItemTextW(dlg, IDC_MAIN_TEXT,
                         (L"Uninstall will remove the \"" + product +
                          L"\" from you computer.\r\n\r\n"
                          L"Click Start button to perform the uninstall. Click Cancel to exit the uninstall.")
                             .c_str());
    gui::ShowWindow(gui::GetDlgItem(dlg, IDC_MAIN_TEXT), SW_SHOW);
}

// The walk, shown on the dialog.
WalkResult UninstallWithDialog(HWND dlg) {
    UninstallEngine* engine = DialogEngine(dlg);
    if (!engine) return WalkResult{WalkEnd::Damaged, 0};
    UninstallDialogProgress progress(dlg, ProductText(*engine));
    return engine->Undo(progress);
}

// The walk failed part way: say so and leave only a Close button.
void ShowFailure(HWND dlg) {
    gui::SetDlgItemTextW(dlg, IDC_MAIN_TEXT, L"Uninstall fail.");
    gui::SetDlgItemTextW(dlg, IDCANCEL, L"Close");
    gui::ShowWindow(gui::GetDlgItem(dlg, IDC_MAIN_TEXT), SW_SHOW);
    gui::ShowWindow(gui::GetDlgItem(dlg, IDC_START), SW_HIDE);
}

INT_PTR CALLBACK UninstallDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        switch (msg) {
        case WM_INITDIALOG:
            InitDialog(dlg, *reinterpret_cast<UninstallEngine*>(lParam));
            return TRUE;  // the dialog sets the default focus
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDCANCEL: gui::EndDialog(dlg, 0); return TRUE;
            case IDC_START:
                // An IDE left open would write its settings back over the uninstall;
                // Cancel leaves everything as it is, with the dialog open.
                if (!DialogEngine(dlg) ||
                    !AskUntilIdesClosed(dlg, [dlg] { return RunningIdeNames(*DialogEngine(dlg)); }))
                    return TRUE;
                if (const WalkResult result = UninstallWithDialog(dlg); result.End == WalkEnd::Complete) {
                    if (result.TornTail) gui::MessageBoxW(dlg, TornTailNote, L"Uninstall", MB_OK | MB_ICONINFORMATION);
                    gui::EndDialog(dlg, 0);
                } else {
                    ShowFailure(dlg);
                }
                return TRUE;
            default: return FALSE;
            }
        default: return FALSE;
        }
    } catch (const std::exception&) {
        return FALSE;  // out of memory; nothing may unwind into the system: not handled
    }
}

void ShowError(const std::wstring& text, const wchar_t* caption) {
    gui::MessageBoxW(nullptr, text.c_str(), caption, MB_OK | MB_ICONERROR);
}

// The uninstall without any window: the engine reports to no progress, so
// nothing is shown and the walk is not paced; the outcome is the exit code.
SilentExit RunSilent(UninstallEngine& engine, const std::wstring& logFileName) {
    const UndoLogLoad load = engine.Load(logFileName);
    if (load != UndoLogLoad::Loaded) return SilentExitFor(load);
    // Nobody can be asked to close an IDE: nothing is changed while one the log names runs.
    if (!RunningIdeNames(engine).empty()) return SilentExit::IdeRunning;
    return SilentExitFor(engine.Undo());
}

// The exit code: a silent run's outcome, 0 for every run with a window.
// silent is set as soon as the command line asks for a silent run.
int Run(HINSTANCE instance, bool& silent) {
    // Registry branches are deleted level by level on the NT family only.
    InitPlatformId();
    auto engine = std::make_unique<UninstallEngine>();
    const UninstallCommandLine cmd = ParseUninstallCommandLine(ProgramArguments());
    engine->PartialUninstall = cmd.Partial;
    silent = cmd.Silent;
    if (cmd.Silent) return static_cast<int>(RunSilent(*engine, cmd.LogFileName));

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    gui::InitCommonControlsEx(&controls);
    if (!cmd.HasParameters) {
        ShowError(L"No file with uninstall info.", ErrorCaption);
        return 0;
    }
    switch (engine->Load(cmd.LogFileName)) {
    case UndoLogLoad::Loaded: break;
    case UndoLogLoad::CannotOpen: ShowError(L"Could not open " + cmd.LogFileName + L" file.", ErrorCaption); return 0;
    case UndoLogLoad::Empty:
    case UndoLogLoad::NotUndoLog: ShowError(L"Invalid " + cmd.LogFileName + L" file.", ErrorCaption); return 0;
    }
    if (gui::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_UNINSTALL), nullptr, UninstallDlgProc,
                             reinterpret_cast<LPARAM>(engine.get())) == -1) {
        ShowError(L"Could not create Uninstall dialog", L"Fatal Error");
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a DLL on our behalf. Without the limit the
    // uninstaller does not run: a silent run says so with its exit code.
    if (LimitDllSearchToSystemFolder() != 0)
        RefuseToRunWithOpenDllSearch(ParseUninstallCommandLine(ProgramArguments()).Silent,
                                     static_cast<UINT>(SilentExit::CannotRun));
    bool silent = false;
    try {
        return Run(instance, silent);
    } catch (const std::exception&) {
        // Out of memory. Only a silent uninstall reports its outcome; it did not finish.
        return silent ? static_cast<int>(SilentExit::WalkStopped) : 0;
    }
}
