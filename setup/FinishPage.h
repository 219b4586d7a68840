// Page 6: the end of the install; Cancel reads "Finish" and the user's
// choices are stored under the product key.
#pragma once
#include "setup/Page.h"

namespace tessel::setup {

class FinishPage : public Page {
public:
    using Page::Page;
    PageMove Show() override;
    void Hide() override;
    // Writes the six product-key values in order; false at the first that fails.
    [[nodiscard]] DWORD StoreSettings();
};

}  // namespace tessel::setup
