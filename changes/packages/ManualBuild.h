// IDEs whose edition cannot compile from the command line (the compiler answers
// with its refusal): their packages are built and installed from the IDE by the
// user. The texts that say so, and which rows an install then passes over.
#pragma once
#include <cstdint>
#include <string>
#include "common/IdeNumbers.h"
#include "script/rows/ScriptRow.h"

namespace tessel::changes {
struct RunState;
}

namespace tessel::changes::packages {


// Why the IDE's package rows are skipped, for their install-log lines.
std::wstring ManualBuildReason(common::IdeIndex ideIndex);
// The one message of the wizard for such an IDE: what is installed, and that
// the packages are built and installed from the IDE, from packageFolder.
inline constexpr const wchar_t* ManualBuildCaption = L"Install";
std::wstring ManualBuildText(common::IdeIndex ideIndex, const std::wstring& packageFolder);
// What the finish page adds for the IDEs of ideMask (InternalId bits); empty for none.
std::wstring ManualBuildFinishText(common::IdeMask ideMask);

// True for a package row (compile, check, copy, register) of an IDE whose
// compiler refused: the row is not run. Its install-log line is SkippedRowText.
bool PassedOverForManualBuild(const RunState& run, const script::ScriptRow& row);
std::wstring SkippedRowText(const RunState& run, const script::ScriptRow& row);

}  // namespace tessel::changes::packages
