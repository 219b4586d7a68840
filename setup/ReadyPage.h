// Page 4: ready to install; Next reads "Start" here.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class TPageReadyForInstall : public TPage {
public:
    using TPage::TPage;
    int Show() override;
    int Hide() override;
};

}  // namespace tessel::setup
