// Page 1: the welcome text.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

class WelcomePage : public Page {
public:
    using Page::Page;
    PageMove Show() override;
    void Hide() override;
};

}  // namespace tessel::setup
