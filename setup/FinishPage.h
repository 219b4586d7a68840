// Page 6: the end of the install; Cancel reads "Finish" and the user's
// choices are stored under the product key.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

using namespace tessel::common;
using namespace tessel::script;

class FinishPage : public Page {
public:
    using Page::Page;
    int Show() override;
    int Hide() override;
    // Writes the six product-key values in order; false at the first that fails.
    bool StoreSettings();
};

}  // namespace tessel::setup
