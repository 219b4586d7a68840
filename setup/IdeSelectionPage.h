// Page 2: which IDEs (and extra items) to install into, and the customise
// dialog that edits the customise options.
#pragma once
#include <windows.h>
#include <cstdint>
#include <memory>
#include <vector>
#include <utility>
#include "setup/CheckListBox.h"
#include "setup/DeploymentSwitches.h"
#include "setup/InstallChoices.h"
#include "setup/Page.h"

namespace tessel::setup {

class IdeSelectionPage : public Page {
public:
    using Page::Page;
    // switches: the deployment switches the setup was started with; their
    // IDEs and items start ticked (setup/DeploymentSwitches.h).
    IdeSelectionPage(script::InstallContext& install, DeploymentSwitches switches)
        : Page(install), switches_(std::move(switches)) {}

    PageMove Show() override;
    void Hide() override;
    bool OnCommand(int controlId) override;

private:
    // Enables Next exactly when a line is ticked.
    void UpdateNext() const;
    // Bit i set when list line i is ticked.
    common::LineMask CheckedMask() const;
    // The install item of each line shown, in line order.
    std::vector<int> shownItems_;
    // Shows the selected customise option's description.
    void ShowCustomizeDescription() const;
    void ShowCustomizeDialog();
    // The customise dialog's procedure; its creation parameter is this page.
    static INT_PTR CALLBACK CustomizeDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleCustomizeMessage(HWND dlg, UINT msg, WPARAM wParam);

    // Whether a previous installation stored its IDEs; read at the first showing.
    bool previousInstall_ = false;
    DeploymentSwitches switches_;
    std::unique_ptr<CheckListBox> list_;           // the IDE and item list, created at the first showing
    std::unique_ptr<CheckListBox> customizeList_;  // the customise dialog's list while the dialog is open
};

}  // namespace tessel::setup
