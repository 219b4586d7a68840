#include "MachineSnapshot.h"
#include "common/UHandles.h"
#include "common/UPathText.h"
#include "common/UUtils.h"

void SnapshotKey(HKEY root, const std::wstring& key, TSnapshot& out) {
    UniqueHKey k;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS) return;
    out[L"key " + key] = L"";
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        BYTE data[8192];
        DWORD nameLen = 512, dataLen = sizeof(data), type = 0;
        if (RegEnumValueW(k.get(), i, name, &nameLen, nullptr, &type, data, &dataLen) != ERROR_SUCCESS) break;
        out[L"value " + key + L" | " + name] =
            std::to_wstring(type) + L":" + std::wstring(reinterpret_cast<wchar_t*>(data), dataLen / sizeof(wchar_t));
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameLen = 512;
        if (RegEnumKeyExW(k.get(), i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        SnapshotKey(root, key + L"\\" + name, out);
    }
}

void SnapshotFolder(const std::wstring& path, TSnapshot& out) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(JoinPath(path, L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = JoinPath(path, name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[L"dir " + full] = L"";
            SnapshotFolder(full, out);
        } else {
            std::string bytes;
            ReadFileBytes(full, bytes);
            out[L"file " + full] = bytes.size() < 4096 ? FromAnsi(bytes) : L"size " + std::to_wstring(bytes.size());
        }
    } while (FindNextFileW(find.get(), &data));
}

std::wstring SnapshotDifferences(const TSnapshot& before, const TSnapshot& after) {
    std::wstring out;
    for (const auto& item : before) {
        auto it = after.find(item.first);
        if (it == after.end()) out += L"only before: " + item.first + L"\n";
        else if (it->second != item.second) out += L"changed: " + item.first + L" = " + it->second + L"\n";
    }
    for (const auto& item : after)
        if (!before.count(item.first)) out += L"only after: " + item.first + L"\n";
    return out;
}
