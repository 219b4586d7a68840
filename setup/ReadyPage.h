// Page 4: ready to install; Next reads "Start" here.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

class ReadyPage : public Page {
public:
    using Page::Page;
    PageMove Show() override;
    void Hide() override;
    // Start: only once no IDE that the install touches is running.
    bool MayGoOn() override;
};

}  // namespace tessel::setup
