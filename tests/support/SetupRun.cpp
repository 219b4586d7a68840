#include "support/SetupRun.h"

#include "common/Handles.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "support/MachineSnapshot.h"

using namespace tessel::common;

std::wstring SetupExePath() { return TESSEL_BUILD_DIR L"\\setup\\setup.exe"; }

std::wstring FreshFolder(const std::wstring& tag) {
    const std::wstring dir = L"C:\\tessel-tests\\" + tag;
    (void)DeleteDirectoryTree(dir, false);
    (void)CreateDirectoryPath(dir);
    return dir;
}

void ListTree(const std::wstring& root, std::set<std::wstring>& files, std::set<std::wstring>& folders) {
    MachineSnapshot snapshot;
    SnapshotFolder(root, snapshot);
    const std::wstring base = !root.empty() && root.back() == L'\\' ? root : root + L"\\";
    const std::wstring dirPrefix = L"dir " + base;
    const std::wstring filePrefix = L"file " + base;
    for (const auto& entry : snapshot) {
        const std::wstring& key = entry.first;
        if (key.rfind(dirPrefix, 0) == 0) folders.insert(key.substr(dirPrefix.size()));
        if (key.rfind(filePrefix, 0) == 0) files.insert(key.substr(filePrefix.size()));
    }
}
