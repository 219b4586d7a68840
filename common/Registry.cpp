// Registry helpers: every key is opened per operation and closed on every path.
#include "common/SystemUtils.h"

#include <vector>

#include "common/ProcessGlobals.h"
#include "common/Handles.h"
#include "common/PathText.h"

namespace tessel::common {

namespace {

// Access used when a key is opened to delete below it.
constexpr REGSAM kDeleteAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

bool OpenKey(HKEY root, const std::wstring& key, REGSAM access, UniqueHKey& out) {
    return RegOpenKeyExW(root, key.c_str(), 0, access, out.put()) == ERROR_SUCCESS;
}

bool CreateKeyForWriting(HKEY root, const std::wstring& key, UniqueHKey& out) {
    return RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, out.put(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

bool ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value) {
    value.clear();
    UniqueHKey h;
    if (!OpenKey(root, key, KEY_READ, h)) return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(h.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ) return false;
    // Room for an odd byte count too, so the read never runs past the string.
    std::wstring text((size + 1) / 2, L'\0');
    DWORD got = size;
    if (got > 0 &&
        RegQueryValueExW(h.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&text[0]), &got) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ) return false;
    text.resize(got / 2);
    // Values are normally stored with their terminating zero; a value written
    // without one keeps its last character.
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    value = std::move(text);
    return true;
}

bool ReadRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value) {
    value = 0;
    UniqueHKey h;
    if (!OpenKey(root, key, KEY_READ, h)) return false;
    DWORD read = 0;
    DWORD size = sizeof(read);
    if (RegQueryValueExW(h.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&read),
                         &size) != ERROR_SUCCESS)
        return false;
    value = read;
    return true;
}

bool WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    UniqueHKey h;
    if (!CreateKeyForWriting(root, key, h)) return false;
    const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t) + sizeof(wchar_t));
    return RegSetValueExW(h.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool WriteRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    UniqueHKey h;
    if (!CreateKeyForWriting(root, key, h)) return false;
    return RegSetValueExW(h.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool CreateRegKey(HKEY root, const std::wstring& key) {
    UniqueHKey h;
    return CreateKeyForWriting(root, key, h);
}

bool DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    UniqueHKey h;
    if (!OpenKey(root, key, KEY_WRITE, h)) return false;
    return RegDeleteValueW(h.get(), name.c_str()) == ERROR_SUCCESS;
}

void DeleteRegSubKeys(HKEY openKey) {
    DWORD subKeys = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(openKey, nullptr, nullptr, nullptr, &subKeys, &longest, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    if (subKeys == 0) return;
    std::vector<wchar_t> name(longest + 1);
    // From the last index down, so that deleting does not shift the ones still to come.
    for (DWORD i = subKeys; i-- > 0;) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(openKey, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            continue;
        UniqueHKey sub;
        if (RegOpenKeyExW(openKey, name.data(), 0, kDeleteAccess, sub.put()) != ERROR_SUCCESS)
            continue;
        // The NT family refuses to delete a key that still has sub-keys.
        if (PlatformId == VER_PLATFORM_WIN32_NT) DeleteRegSubKeys(sub.get());
        RegDeleteKeyW(openKey, name.data());
    }
}

bool DeleteRegKey(HKEY root, const std::wstring& key) {
    {
        UniqueHKey h;
        if (!OpenKey(root, key, kDeleteAccess, h)) return false;
        DeleteRegSubKeys(h.get());
    }
    // Climb towards the root and remove every ancestor that held nothing but
    // the branch just deleted.
    std::wstring current = key;
    for (;;) {
        const size_t slash = current.rfind(L'\\');
        if (slash == std::wstring::npos) break;
        const std::wstring parentPath = current.substr(0, slash);
        const std::wstring child = current.substr(slash + 1);
        if (child.empty()) break;  // a trailing "\" names no sub-key to delete
        UniqueHKey parent;
        if (!OpenKey(root, parentPath, kDeleteAccess, parent)) break;
        DWORD subKeys = 0;
        DWORD values = 0;
        if (RegQueryInfoKeyW(parent.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        RegDeleteKeyW(parent.get(), child.c_str());
        parent.reset();
        if (values > 0 || subKeys > 1) break;
        current = parentPath;
    }
    return true;
}

}  // namespace tessel::common
