// The wizard window: page frame, buttons and page moves.
#include "setup/Wizard.h"
#include "setup/ShellAsUser.h"
#include <commctrl.h>
#include <shellapi.h>
#include <memory>
#include <exception>
#include "common/Handles.h"
#include "common/WindowHandles.h"
#include "script/manifest/Manifest.h"
#include "setup/FinishPage.h"
#include "setup/ProgressPage.h"
#include "setup/ReadyPage.h"
#include "setup/IdeSelectionPage.h"
#include "setup/DirectoryPage.h"
#include "setup/PageFlow.h"
#include "setup/WelcomePage.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

// The maker's web site, opened by the link label.
constexpr const wchar_t* MakerWebAddress = L"https://www.veltrane.example/";
// Class name of the hyperlink label (a "Static" with a hand cursor).
constexpr const wchar_t* LinkLabelClass = L"QV_ILABEL";

// The wizard dialog's procedure; the dialog's creation parameter is its wizard.
INT_PTR CALLBACK WizardDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// The wizard dialog's shell for the life of the dialog: the pages and their
// moves, and the link label and icon that the dialog owns.
class Wizard {
public:
    Wizard(script::InstallContext& install, const DeploymentSwitches& switches);
    // Runs dialog template 1 until it ends.
    void Run();
    INT_PTR HandleMessage(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    PageFlow flow_;
    UniqueWindow linkLabel_;
    UniqueGdiObject linkFont_;
    UniqueIcon dialogIcon_;
    DWORD lastLinkClick_ = 0;

    void CreateLinkLabel(HWND dlg);
    void OnLinkPress(HWND dlg, LPARAM lParam);
    void CancelRule(HWND dlg, WPARAM wParam);
};

Wizard::Wizard(script::InstallContext& install, const DeploymentSwitches& switches)
    : flow_({std::make_unique<WelcomePage>(install), std::make_unique<IdeSelectionPage>(install, switches),
             std::make_unique<DirectoryPage>(install), std::make_unique<ReadyPage>(install),
             std::make_unique<ProgressPage>(install), std::make_unique<FinishPage>(install)}) {}

void Wizard::Run() {
    if (gui::DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_WIZARD), nullptr, WizardDialogProc,
                             reinterpret_cast<LPARAM>(this)) < 0)
        gui::MessageBoxW(nullptr, L"Error in create dialog", L"Error", MB_OK);
}

void Wizard::CreateLinkLabel(HWND dlg) {
    linkFont_.reset(gui::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
    SIZE size{};
    if (HDC dc = gui::GetDC(dlg)) {
        HGDIOBJ old = gui::SelectObject(dc, linkFont_.get());
        gui::GetTextExtentPoint32W(dc, CompanyName, lstrlenW(CompanyName), &size);
        gui::SelectObject(dc, old);
        gui::ReleaseDC(dlg, dc);
    }
    RECT back{};
    gui::GetWindowRect(gui::GetDlgItem(dlg, IDC_BACK), &back);
    gui::MapWindowPoints(HWND_DESKTOP, dlg, reinterpret_cast<POINT*>(&back), 2);
    linkLabel_.reset(gui::CreateWindowExW(0, LinkLabelClass, CompanyName, WS_CHILD | WS_VISIBLE | SS_NOTIFY, 30,
                                          back.top + 4, size.cx, size.cy, dlg, nullptr, GetModuleHandleW(nullptr),
                                          nullptr));
    if (linkLabel_) gui::SendMessageW(linkLabel_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
    lastLinkClick_ = 0;
}

void Wizard::OnLinkPress(HWND dlg, LPARAM lParam) {
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!linkLabel_ || gui::ChildWindowFromPoint(dlg, pt) != linkLabel_.get()) return;
    if (!LinkClickAccepted(lastLinkClick_, GetTickCount())) return;
    // Through the desktop's shell, so that the browser runs as the user, not
    // as administrator. Where no desktop shell can be asked, the address is
    // shown instead of opening an elevated browser.
    if (OpenAsDesktopUser(MakerWebAddress) != 0)
        gui::MessageBoxW(dlg, (std::wstring(L"Visit ") + MakerWebAddress + L" in your web browser.").c_str(),
                         CompanyName, MB_OK | MB_ICONINFORMATION);
}

void Wizard::CancelRule(HWND dlg, WPARAM wParam) {
    // During the install run the question is asked as well; a Yes closes the
    // dialog only once the run is over, for the progress page never stops it.
    if (flow_.Position() == PageCount) {  // the finish page
        gui::EndDialog(dlg, static_cast<INT_PTR>(wParam));
        return;
    }
    if (gui::MessageBoxW(dlg, L"Are you sure you want to cancel the install?", L"Install", MB_YESNO) == IDYES)
        gui::EndDialog(dlg, static_cast<INT_PTR>(wParam));
}

INT_PTR Wizard::HandleMessage(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        dialogIcon_.reset(static_cast<HICON>(
            gui::LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON, 32, 32, 0)));
        gui::SetClassLongPtrW(dlg, GCLP_HICON, reinterpret_cast<LONG_PTR>(dialogIcon_.get()));
        gui::SetWindowTextW(dlg, WizardTitle().c_str());
        CreateLinkLabel(dlg);
        flow_.Switch(dlg, 0);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        if (linkLabel_ && reinterpret_cast<HWND>(lParam) == linkLabel_.get()) {
            auto dc = reinterpret_cast<HDC>(wParam);
            gui::SetTextColor(dc, RGB(0, 0, 192));
            gui::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(gui::GetStockObject(NULL_BRUSH));
        }
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_LBUTTONDOWN) OnLinkPress(dlg, lParam);
        return 0;
    case WM_DESTROY:
        gui::SetClassLongPtrW(dlg, GCLP_HICON, 0);
        dialogIcon_.reset();
        linkLabel_.reset();
        linkFont_.reset();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: CancelRule(dlg, wParam); return 1;
        case IDC_NEXT: flow_.Switch(dlg, +1); return 1;
        case IDC_BACK: flow_.Switch(dlg, -1); return 1;
        default: return flow_.Current().OnCommand(LOWORD(wParam)) ? 1 : 0;
        }
    default: return 0;
    }
}

INT_PTR CALLBACK WizardDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The wizard comes with WM_INITDIALOG and stays with the dialog; messages
    // before that one are not handled.
    if (msg == WM_INITDIALOG) gui::SetWindowLongPtrW(dlg, DWLP_USER, lParam);
    auto* wizard = reinterpret_cast<Wizard*>(gui::GetWindowLongPtrW(dlg, DWLP_USER));
    if (!wizard) return 0;
    try {
        return wizard->HandleMessage(dlg, msg, wParam, lParam);
    } catch (const std::exception&) {
        return 0;  // out of memory inside a page; nothing may unwind into the system: not handled
    }
}

// Registers "QV_ILABEL" from the system's "Static" class.
void RegisterLinkLabelClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    gui::GetClassInfoExW(nullptr, L"Static", &wc);
    wc.lpszClassName = LinkLabelClass;
    wc.hCursor = gui::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));
    // A class of our own module, so the label is created with this program's instance.
    wc.hInstance = GetModuleHandleW(nullptr);
    gui::RegisterClassExW(&wc);
}

}  // namespace

void RunWizard(script::InstallContext& install, const DeploymentSwitches& switches) {
    gui::InitCommonControls();
    RegisterLinkLabelClass();
    Wizard wizard(install, switches);
    wizard.Run();
}

}  // namespace tessel::setup
