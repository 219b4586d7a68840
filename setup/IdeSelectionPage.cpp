// Wizard page: which IDE versions to install into.
#include "setup/IdeSelectionPage.h"
#include <exception>
#include "script/manifest/Manifest.h"
#include "setup/UnattendedInstall.h"
#include "setup/WizardLogic.h"
#include "setup/resource.h"
#include "common/WindowLibraries.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::changes;
using namespace tessel::script;

INT_PTR CALLBACK IdeSelectionPage::CustomizeDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The page comes with WM_INITDIALOG and is kept with the dialog, so the
    // procedure reaches it through its window; messages before that one are
    // not handled.
    if (msg == WM_INITDIALOG) gui::SetWindowLongPtrW(dlg, DWLP_USER, lParam);
    auto* page = reinterpret_cast<IdeSelectionPage*>(gui::GetWindowLongPtrW(dlg, DWLP_USER));
    if (!page) return 0;
    try {
        return page->HandleCustomizeMessage(dlg, msg, wParam);
    } catch (const std::exception&) {
        return 0;  // out of memory; nothing may unwind into the system: the message counts as not handled
    }
}

INT_PTR IdeSelectionPage::HandleCustomizeMessage(HWND dlg, UINT msg, WPARAM wParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        // The dialog has no owner, so it makes itself modal by disabling the wizard.
        gui::EnableWindow(Dialog(), FALSE);
        customizeList_ = std::make_unique<CheckListBox>(gui::GetDlgItem(dlg, IDC_CUSTOMLIST));
        customizeList_->Clear();
        for (const CustomizeOption& option : CustomizeOptions) customizeList_->Add(option.Caption);
        const uint32_t customize = Install().Plan.CustomizeMask;
        if (customize != 0) {
            for (int i = 0; i < customizeList_->Count() && i < 32; ++i)
                if (static_cast<int32_t>((1u << i) & customize) > 0) customizeList_->SetChecked(i, true);
        }
        customizeList_->OnClick = [this](CheckListBox*) { ShowCustomizeDescription(); };
        if (customizeList_->Count() > 0) {
            customizeList_->SetSelected(0);
            ShowCustomizeDescription();
            gui::SetFocus(customizeList_->Handle());
        }
        return 1;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDC_CUSTOMOK || id == IDOK) {
            uint32_t mask = 0;
            for (int i = 0; customizeList_ && i < customizeList_->Count() && i < 32; ++i)
                if (customizeList_->GetChecked(i)) mask |= 1u << i;
            Install().Plan.CustomizeMask = mask;
        }
        if (id == IDC_CUSTOMOK || id == IDOK || id == IDC_CUSTOMCANCEL || id == IDCANCEL) {
            gui::EnableWindow(Dialog(), TRUE);
            customizeList_.reset();
            gui::EndDialog(dlg, static_cast<INT_PTR>(wParam));
            return 1;
        }
        return 0;
    }
    default: return 0;
    }
}

PageMove IdeSelectionPage::Show() {
    if (!list_) {
        list_ = std::make_unique<CheckListBox>(Item(IDC_LIST));
        list_->OnCheckClick = [this](CheckListBox*) { UpdateNext(); };
        previousInstall_ = LoadPreviousSelection(Install(), switches_.Profile).InstallVersions > 0;
        LoadStoredCustomizeMask(Install());
        // Names the wizard cannot take leave the lines as they would be without
        // them: the user sees what is there and ticks the lines.
        std::vector<std::wstring> refused;
        (void)ApplyDeploymentChoices(Install(), switches_, refused);
    }
    ShowPageText(3, SelectDelphiText(previousInstall_));
    ShowItem(IDC_LIST, true);

    list_->Clear();
    shownItems_.clear();
    for (int i = 0; i < InstallItemCount; ++i) {
        if (!ItemShown(Install(), i)) continue;
        int line = list_->Add(ItemCaption(Install(), i).c_str());
        shownItems_.push_back(i);
        list_->SetEnabled(line, ItemAvailable(Install(), i));
        if (Install().Plan.CheckedLines.Has(LineBit(i))) list_->SetChecked(line, true);
    }
    FocusItem(IDC_LIST);
    ShowItem(IDC_CUSTOMIZE, false);
    UpdateNext();
    return PageMove::Stay;
}

void IdeSelectionPage::Hide() {
    ShowItem(IDC_LIST, false);
    ShowItem(IDC_CUSTOMIZE, false);
    Install().Plan.CheckedLines = CheckedMask();
    SelectCheckedItems(Install());
}

bool IdeSelectionPage::OnCommand(int controlId) {
    if (controlId == IDC_CUSTOMIZE) {
        ShowCustomizeDialog();
        return true;
    }
    if (controlId == IDC_LIST) {
        UpdateNext();
        return true;
    }
    return Page::OnCommand(controlId);
}

void IdeSelectionPage::UpdateNext() const { EnableItem(IDC_NEXT, !CheckedMask().Empty()); }

void IdeSelectionPage::ShowCustomizeDescription() const {
    if (!customizeList_) return;
    int s = customizeList_->Selected();
    if (s >= 0 && s < CustomizeOptionCount)
        gui::SetDlgItemTextW(gui::GetParent(customizeList_->Handle()), IDC_CUSTOMDESC, CustomizeOptions[s].Description);
}

LineMask IdeSelectionPage::CheckedMask() const {
    LineMask mask;
    if (!list_) return mask;
    for (int i = 0; i < list_->Count() && i < static_cast<int>(shownItems_.size()); ++i)
        if (list_->GetChecked(i)) mask |= LineBit(shownItems_[i]);
    return mask;
}

void IdeSelectionPage::ShowCustomizeDialog() {
    if (gui::DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CUSTOMIZE), nullptr, CustomizeDialogProc,
                             reinterpret_cast<LPARAM>(this)) < 0)
        gui::MessageBoxW(nullptr, L"Error in create Customize dialog", L"Error", MB_OK);
}

}  // namespace tessel::setup
