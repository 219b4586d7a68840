// The uninstaller's dialog as the uninstall engine's progress: the main text,
// the progress frame, bar and status line, Start and Cancel, and the pacing
// that lets the user follow the walk.
#pragma once
#include <windows.h>
#include <string>
#include "changes/UninstallProgress.h"

namespace tessel::uninstaller {

class UninstallDialogProgress final : public changes::UninstallProgress {
public:
    // dialog holds the controls of uninstaller/resource.h; productText is what
    // the main text names while the walk runs (for example "Tessel library v4.09").
    UninstallDialogProgress(HWND dialog, std::wstring productText);

    // Shows the progress display, disables Start and Cancel and repaints the
    // dialog at once: no messages are processed while the walk runs.
    void Begin(size_t total) override;
    void Status(const std::wstring& text) override;
    // Waits until 50 ms have passed since the record was done, then advances the bar.
    void Step(size_t size) override;
    // Enables Cancel again.
    void End() override;

private:
    HWND dialog_;
    std::wstring productText_;
};

}  // namespace tessel::uninstaller
