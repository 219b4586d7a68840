// What the uninstall engine reports while it walks an undo log. A program with
// a window implements it and paces the walk for the eye; a run without any
// window passes none, and the engine then neither shows nor waits.
#pragma once
#include <cstddef>
#include <string>

namespace tessel::changes {

class UninstallProgress {
public:
    virtual ~UninstallProgress() = default;
    // The walk starts; total is the number of log bytes its records take up.
    virtual void Begin(size_t total) = 0;
    // What is done with the record that comes next ("Skipping" for a kept one).
    virtual void Status(const std::wstring& text) = 0;
    // A record was undone or skipped; size is its length in the log, in bytes.
    virtual void Step(size_t size) = 0;
    // The walk is over, however it ended (a failure or an exception included).
    virtual void End() = 0;
};

}  // namespace tessel::changes
