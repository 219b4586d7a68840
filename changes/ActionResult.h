// The result of one row's action: success, a Win32 error code, or one of the
// action's own failure points. Its number is what the error box and the
// unattended install.log show ("ErrorCode=...h"), so every failure keeps it.
// How failures are reported elsewhere: common/Errors.h.
#pragma once
#include <windows.h>
#include <cstdint>

namespace tessel::changes {

// The compile row's failure points before the compiler runs.
enum class CompileFailure : int32_t {
    NoIdeBit = -1,          // Param names no IDE
    IdeBeyondTable = -2,    // its lowest bit lies beyond the IDE table
    NoDelphiCompiler = -3,  // "bin\dcc32.exe" or "bin\dcc64.exe" missing
    NoMake = -4,            // "bin\make.exe" missing
};

// Failure points of the rows that register a package or extend an IDE path list.
enum class PathListFailure : int32_t {
    PackageNotRegistered = -1,  // no current IDE, or its "Known Packages" value not written
    ListUnreadable = -2,        // the path list could not be read
    ListUnwritable = -3,        // the extended list could not be written
    ReloadNotRequested = -4,    // "ForceEnvOptionsUpdate" could not be written
};

// Failure points of the uninstall entry, one per value in the order written.
enum class UninstallEntryFailure : int32_t {
    KeyNotCreated = -1,
    DisplayName = -2,
    UninstallString = -3,
    Publisher = -4,
    DisplayVersion = -5,
};

// Failure points of the rows that patch a text file in place.
enum class TextFileFailure : int32_t {
    NotOpened = -1,  // missing, or in use
    BadSize = -2,    // its size cannot be taken or it cannot be read whole
};

// The help registration could not be written.
enum class WinHelpFailure : int32_t { NotRegistered = -1 };

// The registry key row's key was not created (or its root is no predefined key).
enum class RegKeyFailure : int32_t { NotCreated = -1 };

// The file that a check row names does not exist.
enum class CheckFailure : int32_t { Missing = 1 };

class [[nodiscard]] ActionResult {
public:
    constexpr ActionResult() = default;  // success
    // A Win32 error code; 0 is success.
    static constexpr ActionResult FromWin32(DWORD error) { return ActionResult(static_cast<int32_t>(error)); }

    constexpr ActionResult(CompileFailure failure) : code_(static_cast<int32_t>(failure)) {}
    constexpr ActionResult(PathListFailure failure) : code_(static_cast<int32_t>(failure)) {}
    constexpr ActionResult(UninstallEntryFailure failure) : code_(static_cast<int32_t>(failure)) {}
    constexpr ActionResult(TextFileFailure failure) : code_(static_cast<int32_t>(failure)) {}
    constexpr ActionResult(WinHelpFailure failure) : code_(static_cast<int32_t>(failure)) {}
    constexpr ActionResult(CheckFailure failure) : code_(static_cast<int32_t>(failure)) {}
    constexpr ActionResult(RegKeyFailure failure) : code_(static_cast<int32_t>(failure)) {}

    constexpr bool Succeeded() const { return code_ == 0; }
    constexpr bool Failed() const { return code_ != 0; }
    // The number the error box and the install log show.
    constexpr int32_t Code() const { return code_; }

    friend constexpr bool operator==(ActionResult a, ActionResult b) { return a.code_ == b.code_; }
    friend constexpr bool operator!=(ActionResult a, ActionResult b) { return a.code_ != b.code_; }

private:
    explicit constexpr ActionResult(int32_t code) : code_(code) {}
    int32_t code_ = 0;
};

}  // namespace tessel::changes
