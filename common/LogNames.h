// The file names of the two logs an install writes into its folder.
#pragma once

namespace tessel::common {

// The human record, one line per row (UTF-16LE).
inline constexpr const wchar_t* InstallLogFileName = L"install.log";
// The undo log that the uninstaller walks (UndoLogFormat.h).
inline constexpr const wchar_t* UndoLogFileName = L"uninst.log";

}  // namespace tessel::common
