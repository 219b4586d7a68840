// Page 1: the welcome text.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class WelcomePage : public Page {
public:
    using Page::Page;
    int Show() override;
    int Hide() override;
};

}  // namespace tessel::setup
