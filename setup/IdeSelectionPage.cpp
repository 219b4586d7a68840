// Wizard page: which IDE versions to install into.
#include "setup/IdeSelectionPage.h"
#include "script/manifest/Manifest.h"
#include "setup/InstallChoices.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

namespace {

// The page the customise dialog works for, and the dialog's own list.
IdeSelectionPage* SelectDelphiPage = nullptr;
std::unique_ptr<CheckListBox> CustomizeList;

INT_PTR CALLBACK CustomizeDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        // The dialog has no owner, so it makes itself modal by disabling the wizard.
        if (SelectDelphiPage) EnableWindow(SelectDelphiPage->DlgHandle, FALSE);
        CustomizeList = std::make_unique<CheckListBox>(GetDlgItem(dlg, IDC_CUSTOMLIST));
        CustomizeList->Clear();
        for (const CustomizeOption& option : CustomizeOptions) CustomizeList->Add(option.Caption);
        const uint32_t customize = SelectDelphiPage ? SelectDelphiPage->Install().CustomizeMask : 0;
        if (customize != 0) {
            for (int i = 0; i < CustomizeList->Count() && i < 32; ++i)
                if (static_cast<int32_t>((1u << i) & customize) > 0) CustomizeList->SetChecked(i, true);
        }
        CustomizeList->OnClick = [](CheckListBox* sender) {
            if (SelectDelphiPage) SelectDelphiPage->CustomizeOnClick(sender);
        };
        if (CustomizeList->Count() > 0) {
            CustomizeList->SetSelected(0);
            if (SelectDelphiPage) SelectDelphiPage->CustomizeOnClick(CustomizeList.get());
            SetFocus(CustomizeList->Handle());
        }
        return 1;
    }
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id == IDC_CUSTOMOK || id == IDOK) {
            uint32_t mask = 0;
            for (int i = 0; i < CustomizeList->Count() && i < 32; ++i)
                if (CustomizeList->GetChecked(i)) mask |= 1u << i;
            if (SelectDelphiPage) SelectDelphiPage->Install().CustomizeMask = mask;
        }
        if (id == IDC_CUSTOMOK || id == IDOK || id == IDC_CUSTOMCANCEL || id == IDCANCEL) {
            if (SelectDelphiPage) EnableWindow(SelectDelphiPage->DlgHandle, TRUE);
            CustomizeList.reset();
            EndDialog(dlg, static_cast<INT_PTR>(wParam));
            return 1;
        }
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace

IdeSelectionPage::IdeSelectionPage(script::InstallContext& install) : Page(install) {
    SelectDelphiPage = this;
}

IdeSelectionPage::~IdeSelectionPage() {
    if (SelectDelphiPage == this) SelectDelphiPage = nullptr;
    CLB.reset();
}

int IdeSelectionPage::Show() {
    if (FFirstShow) {
        CLB = std::make_unique<CheckListBox>(Item(IDC_LIST));
        CLB->OnCheckClick = [this](CheckListBox* sender) { CheckClick(sender); };
        LoadPreviousSelection();
        LoadStoredCustomizeMask(Install());
        FFirstShow = false;
    }
    LayoutPageText(3);
    SetItemText(IDC_PAGETEXT, SelectDelphiText(FPrevInstallSelected > 0));
    ShowItem(IDC_PAGETEXT, true);
    ShowItem(IDC_LIST, true);

    CLB->Clear();
    for (int i = 0; i < InstallItemCount; ++i) {
        const InstallItem& item = InstallItems[i];
        int line = CLB->Add(item.Caption);
        const int ide = IdeIndexByMask(item.IdeMask);  // 0: the item belongs to no IDE
        CLB->SetEnabled(line, ide == 0 || Install().Ides[ide].Exists);
        if (Install().CheckedLines & (1u << i)) CLB->SetChecked(line, true);
    }
    FocusItem(IDC_LIST);
    ShowItem(IDC_CUSTOMIZE, false);
    UpdateNext();
    return 1;
}

int IdeSelectionPage::Hide() {
    ShowItem(IDC_LIST, false);
    ShowItem(IDC_CUSTOMIZE, false);
    uint32_t lines = 0;
    for (int i = 0; i < InstallItemCount; ++i) {
        bool ticked = CLB && i < CLB->Count() && CLB->GetChecked(i);
        if (ticked) lines |= 1u << i;
    }
    Install().CheckedLines = lines;
    SelectionMasks(lines, Install().SelectedIdeMask, Install().SelectedItemMask);
    return 1;
}

int IdeSelectionPage::DlgProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg == WM_COMMAND) {
        if (LOWORD(wParam) == IDC_CUSTOMIZE) {
            ShowCustomizeDialog();
            return 1;
        }
        if (LOWORD(wParam) == IDC_LIST) {
            UpdateNext();
            return 1;
        }
    }
    return Page::DlgProc(Msg, wParam, lParam);
}

void IdeSelectionPage::UpdateNext() const { EnableItem(IDC_NEXT, CheckedMask() != 0); }

void IdeSelectionPage::CheckClick(CheckListBox*) { UpdateNext(); }

void IdeSelectionPage::CustomizeOnClick(CheckListBox*) {
    if (!CustomizeList) return;
    int s = CustomizeList->Selected();
    if (s >= 0 && s < CustomizeOptionCount)
        SetDlgItemTextW(GetParent(CustomizeList->Handle()), IDC_CUSTOMDESC, CustomizeOptions[s].Description);
}

void IdeSelectionPage::LoadPreviousSelection() {
    const StoredSelection stored = setup::LoadPreviousSelection(Install());
    FPrevInstallSelected = stored.InstallVersions;
    FPrevInstallItems = stored.InstallItems;
    FPrevVersion = stored.Version;
}

uint32_t IdeSelectionPage::CheckedMask() const {
    uint32_t mask = 0;
    if (!CLB) return mask;
    for (int i = 0; i < CLB->Count(); ++i)
        if (CLB->GetChecked(i)) mask |= 1u << (i % 32);
    return mask;
}

int IdeSelectionPage::ShowCustomizeDialog() {
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CUSTOMIZE), nullptr, CustomizeDialogProc, 0) < 0)
        MessageBoxW(nullptr, L"Error in create Customize dialog", L"Error", MB_OK);
    return 1;
}

}  // namespace tessel::setup
