// Page 1: the welcome text.
#pragma once
#include "setup/Page.h"

class TPageWelcome : public TPage {
public:
    using TPage::TPage;
    int Show() override;
    int Hide() override;
};
