// Page 4: ready to install; Next reads "Start" here.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

class ReadyPage : public Page {
public:
    using Page::Page;
    PageMove Show() override;
    void Hide() override;
};

}  // namespace tessel::setup
