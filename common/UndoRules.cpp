// Pure decisions of the undo steps: path lists, removable folders, registry paths, status texts.
#include "common/UndoRules.h"
#include <algorithm>
#include <vector>
#include "common/PathText.h"
#include "common/RowKinds.h"

namespace tessel::common {

bool RemovePathListEntry(std::wstring& value, const std::wstring& valueLower, const std::wstring& folderLower) {
    if (folderLower.empty() || valueLower.size() != value.size()) return false;
    size_t start = 0;
    while (start <= valueLower.size()) {
        size_t stop = valueLower.find(L';', start);
        const bool last = stop == std::wstring::npos;
        if (last) stop = valueLower.size();
        if (valueLower.compare(start, stop - start, folderLower) == 0) {
            if (!last) {
                value.erase(start, stop - start + 1);     // the entry and the ";" behind it
            } else if (start > 0) {
                value.erase(start - 1, stop - start + 1); // the ";" before the last entry, and it
            } else {
                value.clear();                            // the only entry
            }
            return true;
        }
        if (last) break;
        start = stop + 1;
    }
    return false;
}

namespace {

std::wstring WithoutTrailingBackslashes(std::wstring s) {
    while (s.size() > 1 && s.back() == L'\\') s.pop_back();
    return s;
}

std::vector<std::wstring> Components(const std::wstring& s, size_t from) {
    std::vector<std::wstring> parts;
    size_t start = from;
    while (start <= s.size()) {
        size_t stop = s.find(L'\\', start);
        if (stop == std::wstring::npos) stop = s.size();
        parts.push_back(s.substr(start, stop - start));
        start = stop + 1;
    }
    return parts;
}

// The system takes "/" as a separator as well; compare with "\" only.
std::wstring WithBackslashes(std::wstring s) {
    std::replace(s.begin(), s.end(), L'/', L'\\');
    return WithoutTrailingBackslashes(s);
}

// True when folder is dir itself or one of its ancestors.
bool HoldsFolder(const std::wstring& folder, const std::wstring& dir) {
    if (dir.size() < folder.size() || dir.compare(0, folder.size(), folder) != 0) return false;
    return dir.size() == folder.size() || dir[folder.size()] == L'\\';
}

}  // namespace

bool IsRemovableTreePath(const std::wstring& pathLower, const std::wstring& windowsDirLower,
                         const std::wstring& systemDirLower) {
    const std::wstring path = WithBackslashes(pathLower);
    std::vector<std::wstring> parts;
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
        ((path[0] >= L'a' && path[0] <= L'z') || (path[0] >= L'A' && path[0] <= L'Z'))) {
        parts = Components(path, 3);            // below "X:\"
    } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.') {
        parts = Components(path, 2);            // server, share, then folders
        if (parts.size() < 3) return false;     // the share itself
        parts.erase(parts.begin(), parts.begin() + 2);
    } else {
        return false;                           // empty, relative, "X:" or "X:name"
    }
    if (parts.empty()) return false;
    for (const auto& part : parts) {
        // The system drops trailing dots and blanks from a name: "windows." is the
        // Windows folder and ".. " the parent, so no such name is accepted.
        if (part.empty() || part.back() == L'.' || part.back() == L' ') return false;
    }
    for (const std::wstring* other : {&windowsDirLower, &systemDirLower}) {
        if (!other->empty() && HoldsFolder(path, WithBackslashes(*other))) return false;
    }
    return true;
}

bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'a' && path[0] <= L'z') || (path[0] >= L'A' && path[0] <= L'Z');
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

bool SplitRegValuePath(const std::wstring& path, std::wstring& key, std::wstring& name) {
    const int p = LastCharPos(path, L'\\');
    if (p == 0) return false;
    key = path.substr(0, p - 1);
    name = path.substr(p);
    return true;
}

std::wstring FolderOfPath(const std::wstring& path) {
    const int p = LastCharPos(path, L'\\');
    return p == 0 ? path : path.substr(0, p - 1);
}

const wchar_t* UndoStatusText(RowKind kind) {
    switch (kind) {
    case RowKind::RegisterPackage:
    case RowKind::AddSearchPath:
    case RowKind::AddIdePath:
        return L"Unregistering package";
    case RowKind::AppendText:
    case RowKind::RegisterWinHelp:
    case RowKind::RunInstallFile:
        return L"Unregistering help";
    case RowKind::DeleteOneFile:
    case RowKind::ExtractFile:
    case RowKind::ExtractFileOnce:
    case RowKind::CopyOneFile:
        return L"Removing file";
    case RowKind::CreateDir:
        return L"Removing directory";
    case RowKind::CreateRegKey:
        return L"Removing registry key";
    case RowKind::RegisterUninstall:
        return L"Unregistering uninstall";
    default:
        return nullptr;
    }
}

}  // namespace tessel::common
