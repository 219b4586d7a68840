#include "setup/UWizard.h"
#include <commctrl.h>
#include <shellapi.h>
#include <memory>
#include "common/UHandles.h"
#include "script/UConst.h"
#include "setup/UPageFinish.h"
#include "setup/UPageProgress.h"
#include "setup/UPageReadyForInstall.h"
#include "setup/UPageSelectDelphi.h"
#include "setup/UPageSelectDirectory.h"
#include "setup/UPageWelcome.h"
#include "setup/UWizardLogic.h"
#include "setup/resource.h"

TPage* Pages[PageCount + 1] = {};
int CurrentPage = 1;
const wchar_t* const MakerWebAddress = L"https://www.veltrane.example/";
const wchar_t* const LinkLabelClass = L"QV_ILABEL";

namespace {

// Shell state for the life of the dialog.
HWND WizardHandle = nullptr;
UniqueWindow LinkLabel;
UniqueGdiObject LinkFont;
UniqueIcon DialogIcon;
DWORD LastLinkClick = 0;

void CreateLinkLabel(HWND dlg) {
    LinkFont.reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
    SIZE size{};
    if (HDC dc = GetDC(dlg)) {
        HGDIOBJ old = SelectObject(dc, LinkFont.get());
        GetTextExtentPoint32W(dc, CompanyName, lstrlenW(CompanyName), &size);
        SelectObject(dc, old);
        ReleaseDC(dlg, dc);
    }
    RECT back{};
    GetWindowRect(GetDlgItem(dlg, IDC_BACK), &back);
    MapWindowPoints(HWND_DESKTOP, dlg, reinterpret_cast<POINT*>(&back), 2);
    LinkLabel.reset(CreateWindowExW(0, LinkLabelClass, CompanyName, WS_CHILD | WS_VISIBLE | SS_NOTIFY, 30,
                                    back.top + 4, size.cx, size.cy, dlg, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (LinkLabel) SendMessageW(LinkLabel.get(), WM_SETFONT, reinterpret_cast<WPARAM>(LinkFont.get()), FALSE);
    LastLinkClick = 0;
}

void OnLinkPress(HWND dlg, LPARAM lParam) {
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!LinkLabel || ChildWindowFromPoint(dlg, pt) != LinkLabel.get()) return;
    if (LinkClickAccepted(LastLinkClick, GetTickCount()))
        ShellExecuteW(GetDesktopWindow(), L"open", MakerWebAddress, L"", L"", SW_SHOWNORMAL);
}

void CancelRule(HWND dlg, WPARAM wParam) {
    TPage* page = Pages[CurrentPage];
    if (auto* progress = dynamic_cast<TPageProgress*>(page); progress && progress->InDoScript()) {
        if (progress->Terminate() != 0) return;
    }
    if (dynamic_cast<TPageFinish*>(page)) {
        EndDialog(dlg, static_cast<INT_PTR>(wParam));
        return;
    }
    if (MessageBoxW(dlg, L"Are you sure you want to cancel the install?", L"Install", MB_YESNO) == IDYES)
        EndDialog(dlg, static_cast<INT_PTR>(wParam));
}

INT_PTR HandleMessage(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        WizardHandle = dlg;
        DialogIcon.reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP), IMAGE_ICON, 32, 32, 0)));
        SetClassLongPtrW(dlg, GCLP_HICON, reinterpret_cast<LONG_PTR>(DialogIcon.get()));
        SetWindowTextW(dlg, WizardTitle().c_str());
        CreateLinkLabel(dlg);
        SwitchPage(0);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        if (LinkLabel && reinterpret_cast<HWND>(lParam) == LinkLabel.get()) {
            auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 192));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_LBUTTONDOWN) OnLinkPress(dlg, lParam);
        return 0;
    case WM_DESTROY:
        SetClassLongPtrW(dlg, GCLP_HICON, 0);
        DialogIcon.reset();
        LinkLabel.reset();
        LinkFont.reset();
        WizardHandle = nullptr;
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            CancelRule(dlg, wParam);
            return 1;
        case IDC_NEXT:
            return SwitchPage(+1);
        case IDC_BACK:
            return SwitchPage(-1);
        default:
            return Pages[CurrentPage] ? Pages[CurrentPage]->DlgProc(msg, wParam, lParam) : 0;
        }
    default:
        return 0;
    }
}

}  // namespace

int SwitchPage(int step) {
    for (;;) {
        if (step != 0 && Pages[CurrentPage]) Pages[CurrentPage]->Hide();
        CurrentPage += step;
        // The pages keep the position inside 1..6; a stray move beyond stays at the edge.
        if (CurrentPage < 1) CurrentPage = 1;
        if (CurrentPage > PageCount) CurrentPage = PageCount;
        TPage* page = Pages[CurrentPage];
        if (!page) return 0;
        page->DlgHandle = WizardHandle;
        EnableWindow(GetDlgItem(WizardHandle, IDC_BACK), CurrentPage > 1);
        EnableWindow(GetDlgItem(WizardHandle, IDC_NEXT), CurrentPage < PageCount);
        int r = page->Show();
        if (r < 9 || r > 11) return r;
        step = r - 10;
    }
}

INT_PTR CALLBACK WizardDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(dlg, msg, wParam, lParam);
    } catch (...) {
        return 0;  // out of memory inside a page: the message counts as not handled
    }
}

void RegisterLinkLabelClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    GetClassInfoExW(nullptr, L"Static", &wc);
    wc.lpszClassName = LinkLabelClass;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));
    // A class of our own module, so the label is created with this program's instance.
    wc.hInstance = GetModuleHandleW(nullptr);
    RegisterClassExW(&wc);
}

void RunWizard(tessel::script::InstallContext& install) {
    InitCommonControls();
    RegisterLinkLabelClass();
    std::unique_ptr<TPage> owned[PageCount + 1];
    owned[1] = std::make_unique<TPageWelcome>(install);
    owned[2] = std::make_unique<TPageSelectDelphi>(install);
    owned[3] = std::make_unique<TPageSelectDirectory>(install);
    owned[4] = std::make_unique<TPageReadyForInstall>(install);
    owned[5] = std::make_unique<TPageProgress>(install);
    owned[6] = std::make_unique<TPageFinish>(install);
    for (int i = 1; i <= PageCount; ++i) Pages[i] = owned[i].get();
    CurrentPage = 1;
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_WIZARD), nullptr, WizardDialogProc, 0) < 0)
        MessageBoxW(nullptr, L"Error in create dialog", L"Error", MB_OK);
    for (int i = 1; i <= PageCount; ++i) {
        Pages[i] = nullptr;
        owned[i].reset();
    }
}
