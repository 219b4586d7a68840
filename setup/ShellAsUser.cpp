// The desktop shell's ShellExecute: the shell window's view of the desktop
// gives its automation object, whose ShellExecute runs in the shell's process.
#include "setup/ShellAsUser.h"
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>
#include "setup/ComObjects.h"

// The method of IShellDispatch2 below, not shellapi.h's name for ShellExecuteW.
#undef ShellExecute

namespace tessel::setup {

namespace {

// A string the shell's interfaces take, freed with its owner.
class Bstr {
public:
    explicit Bstr(const wchar_t* text) : text_(gui::SysAllocString(text)) {}
    ~Bstr() { gui::SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return text_; }

private:
    BSTR text_;
};

DWORD Failed(HRESULT hr, DWORD fallback) { return FAILED(hr) ? static_cast<DWORD>(hr) : fallback; }

}  // namespace

DWORD OpenAsDesktopUser(const std::wstring& address) {
    ComApartment com;
    ComPtr<IShellWindows> windows;
    HRESULT hr =
        gui::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.putVoid());
    if (FAILED(hr) || !windows) return Failed(hr, ERROR_NOT_FOUND);
    VARIANT desktop{};
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT empty{};
    long window = 0;
    ComPtr<IDispatch> found;
    hr = windows->FindWindowSW(&desktop, &empty, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.put());
    if (hr != S_OK || !found) return Failed(hr, ERROR_NOT_FOUND);
    ComPtr<IServiceProvider> provider;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    if (FAILED(hr = found->QueryInterface(IID_IServiceProvider, provider.putVoid())) ||
        FAILED(hr = provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.putVoid())) ||
        FAILED(hr = browser->QueryActiveShellView(view.put())) ||
        FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.putVoid())) ||
        FAILED(hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.putVoid())) ||
        FAILED(hr = folderView->get_Application(application.put())) ||
        FAILED(hr = application->QueryInterface(IID_IShellDispatch2, shell.putVoid())))
        return Failed(hr, ERROR_NOT_FOUND);
    const Bstr file(address.c_str()), verb(L"open");
    VARIANT none{}, operation{}, show{};
    operation.vt = VT_BSTR;
    operation.bstrVal = verb.get();
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    if (!file.get() || !verb.get()) return ERROR_NOT_ENOUGH_MEMORY;
    hr = shell->ShellExecute(file.get(), none, none, operation, show);
    return FAILED(hr) ? static_cast<DWORD>(hr) : 0;
}

}  // namespace tessel::setup
