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

class TPageSelectDelphi : public TPage {
public:
    explicit TPageSelectDelphi(script::InstallContext& install);
    ~TPageSelectDelphi() override;

    int Show() override;
    int Hide() override;
    int DlgProc(UINT Msg, WPARAM wParam, LPARAM lParam) override;

    void CheckClick(TqmvCheckListBox* Sender);
    void CustomizeOnClick(TqmvCheckListBox* Sender);
    void LoadPreviousSelection();
    uint32_t CheckedMask() const;
    int ShowCustomizeDialog();

    int32_t FPrevInstallSelected = 0;
    int32_t FPrevInstallItems = 0;
    std::wstring FPrevVersion;
    bool FFirstShow = true;
    std::unique_ptr<TqmvCheckListBox> CLB;

private:
    void UpdateNext() const;
};

}  // namespace tessel::setup
