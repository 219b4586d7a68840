#include "uninstaller/UUninstallCommandLine.h"

TUninstallCommandLine ParseUninstallCommandLine(const std::vector<std::wstring>& params) {
    TUninstallCommandLine result;
    result.HasParameters = !params.empty();
    for (const auto& param : params) {
        if (param.size() >= 2 && (param[0] == L'/' || param[0] == L'-' || param[0] == L'\\')) {
            result.Partial = param.size() == 2 && (param[1] == L'P' || param[1] == L'p');
        } else if (param.size() >= 2 && param.front() == L'"' && param.back() == L'"') {
            result.LogFileName = param.substr(1, param.size() - 2);
        } else {
            result.LogFileName = param;
        }
    }
    return result;
}
