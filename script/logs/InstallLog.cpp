// "install.log": opened by the runner, one line per row.
#include "script/logs/InstallLog.h"

#include "common/FolderSecurity.h"
#include "common/LogNames.h"
#include "common/PathText.h"
#include "common/WholeFile.h"

namespace tessel::script {

using namespace tessel::common;

void InstallLog::Open(const std::wstring& installDir) {
    (void)CreateProtectedFolder(installDir);  // a failure shows as the log's failed create
    file_.reset(CreateFileW(JoinPath(installDir, InstallLogFileName).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void InstallLog::Write(const std::wstring& text) {
    if (!file_) return;
    const std::wstring line = text + L"\r\n";
    (void)WriteAll(file_.get(), line.data(), line.size() * sizeof(wchar_t));
}

}  // namespace tessel::script
