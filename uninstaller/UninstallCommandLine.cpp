// The uninstaller's command line.
#include "uninstaller/UninstallCommandLine.h"

namespace tessel::uninstaller {

UninstallCommandLine ParseUninstallCommandLine(const std::vector<std::wstring>& params) {
    UninstallCommandLine result;
    result.HasParameters = !params.empty();
    for (const auto& param : params) {
        if (param.size() >= 2 && (param[0] == L'/' || param[0] == L'-' || param[0] == L'\\')) {
            const wchar_t letter = param.size() == 2 ? param[1] : L'\0';
            const wchar_t upper = letter >= L'a' && letter <= L'z' ? letter - L'a' + L'A' : letter;
            result.Partial = upper == L'P' || upper == L'K';
            result.Silent = upper == L'S' || upper == L'K';
        } else if (param.size() >= 2 && param.front() == L'"' && param.back() == L'"') {
            result.LogFileName = param.substr(1, param.size() - 2);
        } else {
            result.LogFileName = param;
        }
    }
    return result;
}

SilentExit SilentExitFor(changes::UndoLogLoad load) {
    switch (load) {
    case changes::UndoLogLoad::Loaded: return SilentExit::Complete;
    case changes::UndoLogLoad::CannotOpen: return SilentExit::CannotOpen;
    case changes::UndoLogLoad::Empty:
    case changes::UndoLogLoad::NotUndoLog: break;
    }
    return SilentExit::InvalidLog;
}

SilentExit SilentExitFor(const changes::WalkResult& result) {
    switch (result.End) {
    case changes::WalkEnd::Complete: return SilentExit::Complete;
    case changes::WalkEnd::StepFailed: return SilentExit::StepFailed;
    case changes::WalkEnd::Damaged: break;
    }
    return SilentExit::WalkStopped;
}

}  // namespace tessel::uninstaller
