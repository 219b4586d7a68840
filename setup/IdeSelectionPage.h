// Page 2: which IDEs (and extra items) to install into.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "setup/Page.h"
#include "setup/CheckListBox.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class IdeSelectionPage : public Page {
public:
    explicit IdeSelectionPage(script::InstallContext& install);
    ~IdeSelectionPage() override;

    int Show() override;
    int Hide() override;
    int DlgProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

    void CheckClick(CheckListBox* Sender);
    void CustomizeOnClick(CheckListBox* Sender);
    void LoadPreviousSelection();
    uint32_t CheckedMask() const;
    int ShowCustomizeDialog();

    int32_t FPrevInstallSelected = 0;
    int32_t FPrevInstallItems = 0;
    std::wstring FPrevVersion;
    bool FFirstShow = true;
    std::unique_ptr<CheckListBox> CLB;

private:
    void UpdateNext() const;
};

}  // namespace tessel::setup
