#include "uninstaller/UUninstallCommandLine.h"

TUninstallCommandLine ParseUninstallCommandLine(const std::vector<std::wstring>& params) {
    TUninstallCommandLine result;
    result.HasParameters = !params.empty();
    for (const auto& param : params) {
        if (param.size() >= 2 && (param[0] == L'/' || param[0] == L'-' || param[0] == L'\\')) {
            const wchar_t letter = param.size() == 2 ? param[1] : L'\0';
            const bool partial = letter == L'P' || letter == L'p';
            const bool silent = letter == L'S' || letter == L's';
            // /P and /S leave each other's choice alone; every other switch clears both.
            result.Partial = partial || (silent && result.Partial);
            result.Silent = silent || (partial && result.Silent);
        } else if (param.size() >= 2 && param.front() == L'"' && param.back() == L'"') {
            result.LogFileName = param.substr(1, param.size() - 2);
        } else {
            result.LogFileName = param;
        }
    }
    return result;
}
