// The wizard's six pages in their fixed order, the one that is shown, and the
// moves between them, apart from the dialog that shows them.
#pragma once
#include <windows.h>
#include <array>
#include <memory>
#include "setup/Page.h"

namespace tessel::setup {

constexpr int PageCount = 6;

class PageFlow {
public:
    // The pages at positions 1 to PageCount, none of them empty; position 1 is shown first.
    using Pages = std::array<std::unique_ptr<Page>, PageCount>;
    explicit PageFlow(Pages pages) : pages_(std::move(pages)) {}

    // Hides the page shown (unless step is 0), moves by step (-1, 0, +1) and
    // shows the page where it stops on dialog, with Back and Next enabled for
    // its position; then makes every further move that page's Show asks for.
    // A move beyond the first or the last page stays at that page. Next from a
    // page whose MayGoOn refuses changes nothing.
    void Switch(HWND dialog, int step);

    Page& Current() const { return *pages_[static_cast<size_t>(position_ - 1)]; }
    int Position() const { return position_; }

private:
    Pages pages_;
    int position_ = 1;
};

}  // namespace tessel::setup
