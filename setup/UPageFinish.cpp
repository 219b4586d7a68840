#include "setup/UPageFinish.h"
#include <vector>
#include "common/UGlobals.h"
#include "common/UUtils.h"
#include "script/UConst.h"
#include "script/UScript.h"
#include "setup/UWizardLogic.h"
#include "setup/resource.h"

std::wstring ShortDateText() {
    int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::vector<wchar_t> buf(static_cast<size_t>(n), L'\0');
    n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf.data(), n);
    return n > 0 ? std::wstring(buf.data()) : std::wstring();
}

int TPageFinish::Show() {
    ShowItem(IDC_BACK, false);
    ShowItem(IDC_NEXT, false);
    ShowItem(IDC_ROWCAPTION, true);
    FocusItem(IDCANCEL);
    SendMessageW(Item(IDCANCEL), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SetItemText(IDC_PAGETEXT, LastRunRefused ? RefusedFinishText(InstallDir, LastRunRefusal) : FinishText());
    SetItemText(IDCANCEL, L"Finish");
    // A refused run installed nothing, so there are no choices to remember.
    if (LastRunRefused) return 1;
    return StoreSettings() ? 1 : 0;
}

int TPageFinish::Hide() { return 1; }

bool TPageFinish::StoreSettings() {
    return WriteRegInteger(HKEY_LOCAL_MACHINE, ProductRegKey, RegInstallVersions, SelectedIdeMask) &&
           WriteRegInteger(HKEY_LOCAL_MACHINE, ProductRegKey, RegInstallItems, SelectedItemMask) &&
           WriteRegString(HKEY_LOCAL_MACHINE, ProductRegKey, RegRootDir, InstallDir) &&
           WriteRegString(HKEY_LOCAL_MACHINE, ProductRegKey, RegVersion, ProductVersion) &&
           WriteRegString(HKEY_LOCAL_MACHINE, ProductRegKey, RegInstallDate, ShortDateText()) &&
           WriteRegInteger(HKEY_LOCAL_MACHINE, ProductRegKey, RegCustomizeItems, CustomizeMask);
}
