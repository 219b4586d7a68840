// Page 4: ready to install; Next reads "Start" here.
#pragma once
#include "setup/Page.h"

class TPageReadyForInstall : public TPage {
public:
    using TPage::TPage;
    int Show() override;
    int Hide() override;
};
