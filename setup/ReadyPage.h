// Page 4: ready to install; Next reads "Start" here.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class ReadyPage : public Page {
public:
    using Page::Page;
    int Show() override;
    int Hide() override;
};

}  // namespace tessel::setup
