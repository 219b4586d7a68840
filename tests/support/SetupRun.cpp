#include "support/SetupRun.h"

#include "common/UHandles.h"
#include "common/UPathText.h"
#include "common/UUtils.h"

std::wstring SetupExePath() { return TESSEL_BUILD_DIR L"\\setup\\setup.exe"; }

std::wstring FreshFolder(const std::wstring& tag) {
    const std::wstring dir = L"C:\\tessel-tests\\" + tag;
    DeleteDirectoryTree(dir, false);
    CreateDirectoryPath(dir);
    return dir;
}

namespace {
void Walk(const std::wstring& root, const std::wstring& rel, std::set<std::wstring>& files,
          std::set<std::wstring>& folders) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(JoinPath(JoinPath(root, rel), L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = JoinPath(rel, name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folders.insert(path);
            Walk(root, path, files, folders);
        } else {
            files.insert(path);
        }
    } while (FindNextFileW(find.get(), &data));
}
}  // namespace

void ListTree(const std::wstring& root, std::set<std::wstring>& files, std::set<std::wstring>& folders) {
    Walk(root, L"", files, folders);
}
