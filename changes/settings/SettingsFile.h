// The component templates' settings file: extracted once into the Windows
// folder and kept by a partial uninstall. The file row that extracts it and
// its undo are the files module's; this is the one place that names it.
#pragma once
#include <cstdint>
#include <string>
#include "changes/RecordCheck.h"

namespace tessel::changes::settings {

inline constexpr const wchar_t* FileName = L"qvTessel.ini";
inline constexpr uint32_t PayloadId = 29;

// Whether a file record relative to the Windows folder names the settings file.
inline bool IsSettingsFile(const std::wstring& text) { return AsciiLower(text) == AsciiLower(FileName); }

}  // namespace tessel::changes::settings
