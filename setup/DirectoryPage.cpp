// Wizard page: the install folder.
#include "setup/DirectoryPage.h"
#include <shlobj.h>
#include "common/SystemText.h"
#include "common/UndoRules.h"
#include "script/manifest/Manifest.h"
#include "script/runner/ScriptRunner.h"
#include "setup/ComObjects.h"
#include "setup/InstallChoices.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

namespace {

constexpr int DirectoryLimit = 259;

// Places the folder browser under the Browse button, right edges aligned,
// kept inside the work area.
int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED) {
        auto* page = reinterpret_cast<DirectoryPage*>(data);
        RECT work{}, button{}, self{};
        gui::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        gui::GetWindowRect(gui::GetDlgItem(page->Dialog(), IDC_BROWSE), &button);
        gui::GetWindowRect(wnd, &self);
        int w = self.right - self.left, h = self.bottom - self.top;
        int top = button.bottom + 1;
        int left = button.right - w;
        if (top + h > work.bottom) top = work.bottom - h;
        gui::SetWindowPos(wnd, HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    return 0;
}

// A shell item list, freed with the COM task allocator on every path.
struct ItemListOwner {
    PIDLIST_ABSOLUTE Items = nullptr;
    ~ItemListOwner() { gui::CoTaskMemFree(Items); }
};

}  // namespace

PageMove DirectoryPage::Show() {
    if (firstShow_) {
        previousDir_ = StoredInstallDir();
        directory_ = ProposedInstallDir(Install(), previousDir_);
        firstShow_ = false;
    } else {
        directory_ = Install().Plan.InstallDir;
    }
    ShowPageText(2, DirectoryText());
    ShowItem(IDC_BROWSE, true);
    ShowItem(IDC_DIRFRAME, true);
    ShowItem(IDC_DIRECTORY, true);
    ShowDirectory();
    return PageMove::Stay;
}

void DirectoryPage::ShowDirectory() {
    SetItemText(IDC_DIRECTORY, directory_);
    auto len = static_cast<LPARAM>(directory_.size());
    gui::SendMessageW(Item(IDC_DIRECTORY), EM_SETSEL, static_cast<WPARAM>(len), len);
    FocusItem(IDC_DIRECTORY);
}

bool DirectoryPage::OnCommand(int controlId) {
    if (controlId != IDC_BROWSE) return Page::OnCommand(controlId);
    const std::wstring chosen = BrowseForDirectory();
    if (!chosen.empty()) {
        directory_ = BrowsedDirectory(chosen, previousDir_, ShortName);
        ShowDirectory();
    }
    return true;
}

std::wstring DirectoryPage::BrowseForDirectory() {
    // Declared first, so that everything below is released before COM is.
    ComApartment com;
    wchar_t name[MAX_PATH] = {};
    const std::wstring title = L"Select directory for " + std::wstring(ProductName);
    BROWSEINFOW info{};
    info.hwndOwner = Dialog();
    info.pidlRoot = nullptr;
    info.pszDisplayName = name;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    ItemListOwner item{gui::SHBrowseForFolderW(&info)};
    // An item without a file system path counts as cancelled, so the edit box keeps its text.
    if (!item.Items || !gui::SHGetPathFromIDListW(item.Items, name)) return std::wstring();
    return name;
}

bool DirectoryPage::MayGoOn() {
    const std::wstring dir = StripOneTrailingSeparator(GetItemText(IDC_DIRECTORY, DirectoryLimit));
    const DWORD refusal = IsFullPath(dir) ? InstallFolderRefusal(dir, PreviousInstallCreated(dir)) : 0;
    if (refusal == 0) return true;
    const std::wstring text = L"The folder \"" + dir + L"\" cannot be used: " + SystemErrorText(refusal);
    gui::MessageBoxW(Dialog(), text.c_str(), L"Error", MB_OK | MB_ICONERROR);
    FocusItem(IDC_DIRECTORY);
    return false;
}

void DirectoryPage::Hide() {
    Install().Plan.InstallDir = StripOneTrailingSeparator(GetItemText(IDC_DIRECTORY, DirectoryLimit));
    ShowItem(IDC_BROWSE, false);
    ShowItem(IDC_DIRFRAME, false);
    ShowItem(IDC_DIRECTORY, false);
}

}  // namespace tessel::setup
