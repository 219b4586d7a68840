// Pure decisions of the undo steps: removable folders and full paths.
#include "common/UndoRules.h"
#include <algorithm>
#include <vector>

namespace tessel::common {

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
        parts = Components(path, 3);  // below "X:\"
    } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.') {
        parts = Components(path, 2);         // server, share, then folders
        if (parts.size() < 3) return false;  // the share itself
        parts.erase(parts.begin(), parts.begin() + 2);
    } else {
        return false;  // empty, relative, "X:" or "X:name"
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

}  // namespace tessel::common
