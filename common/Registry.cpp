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

DWORD OpenKey(HKEY root, const std::wstring& key, REGSAM access, UniqueHKey& out) {
    return static_cast<DWORD>(RegOpenKeyExW(root, key.c_str(), 0, access, out.put()));
}

DWORD CreateKeyForWriting(HKEY root, const std::wstring& key, UniqueHKey& out) {
    return static_cast<DWORD>(RegCreateKeyExW(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                                              nullptr, out.put(), nullptr));
}

}  // namespace

DWORD ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value) {
    value.clear();
    UniqueHKey h;
    if (const DWORD err = OpenKey(root, key, KEY_READ, h)) return err;
    DWORD type = 0;
    DWORD size = 0;
    if (const LONG err = RegQueryValueExW(h.get(), name.c_str(), nullptr, &type, nullptr, &size))
        return static_cast<DWORD>(err);
    if (type != REG_SZ) return ERROR_UNSUPPORTED_TYPE;
    // Room for an odd byte count too, so the read never runs past the string.
    std::wstring text((size + 1) / 2, L'\0');
    DWORD got = size;
    if (got > 0) {
        if (const LONG err =
                RegQueryValueExW(h.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &got))
            return static_cast<DWORD>(err);
    }
    if (type != REG_SZ) return ERROR_UNSUPPORTED_TYPE;
    text.resize(got / 2);
    // Values are normally stored with their terminating zero; a value written
    // without one keeps its last character.
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    value = std::move(text);
    return 0;
}

DWORD ReadRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value) {
    value = 0;
    UniqueHKey h;
    if (const DWORD err = OpenKey(root, key, KEY_READ, h)) return err;
    DWORD read = 0;
    DWORD size = sizeof(read);
    if (const LONG err =
            RegQueryValueExW(h.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size))
        return static_cast<DWORD>(err);
    value = read;
    return 0;
}

DWORD WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    UniqueHKey h;
    if (const DWORD err = CreateKeyForWriting(root, key, h)) return err;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);  // with the terminating zero
    if (bytes > MAXDWORD) return ERROR_INVALID_DATA;
    return static_cast<DWORD>(RegSetValueExW(h.get(), name.c_str(), 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(bytes)));
}

DWORD WriteRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    UniqueHKey h;
    if (const DWORD err = CreateKeyForWriting(root, key, h)) return err;
    return static_cast<DWORD>(
        RegSetValueExW(h.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)));
}

DWORD CreateRegKey(HKEY root, const std::wstring& key) {
    UniqueHKey h;
    return CreateKeyForWriting(root, key, h);
}

DWORD DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    UniqueHKey h;
    if (const DWORD err = OpenKey(root, key, KEY_WRITE, h)) return err;
    return static_cast<DWORD>(RegDeleteValueW(h.get(), name.c_str()));
}

DWORD DeleteRegSubKeys(HKEY openKey) {
    DWORD subKeys = 0;
    DWORD longest = 0;
    if (const LONG err = RegQueryInfoKeyW(openKey, nullptr, nullptr, nullptr, &subKeys, &longest, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr))
        return static_cast<DWORD>(err);
    if (subKeys == 0) return 0;
    std::vector<wchar_t> name(longest + 1);
    // From the last index down, so that deleting does not shift the ones still
    // to come. Every sub-key is tried; the first failure is the result.
    DWORD result = 0;
    for (DWORD i = subKeys; i-- > 0;) {
        DWORD len = static_cast<DWORD>(name.size());
        DWORD err =
            static_cast<DWORD>(RegEnumKeyExW(openKey, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr));
        UniqueHKey sub;
        if (err == 0) err = static_cast<DWORD>(RegOpenKeyExW(openKey, name.data(), 0, kDeleteAccess, sub.put()));
        // The NT family refuses to delete a key that still has sub-keys.
        if (err == 0 && PlatformId == VER_PLATFORM_WIN32_NT) err = DeleteRegSubKeys(sub.get());
        if (err == 0) err = static_cast<DWORD>(RegDeleteKeyW(openKey, name.data()));
        if (result == 0) result = err;
    }
    return result;
}

DWORD DeleteRegKey(HKEY root, const std::wstring& key) {
    {
        UniqueHKey h;
        if (const DWORD err = OpenKey(root, key, kDeleteAccess, h)) return err;
        if (const DWORD err = DeleteRegSubKeys(h.get())) return err;
    }
    // Climb towards the root and remove every ancestor that held nothing but
    // the branch just deleted. The key itself must go; an ancestor that cannot
    // be looked at or removed is simply kept.
    std::wstring current = key;
    for (bool first = true;; first = false) {
        const size_t slash = current.rfind(L'\\');
        if (slash == std::wstring::npos) break;
        const std::wstring parentPath = current.substr(0, slash);
        const std::wstring child = current.substr(slash + 1);
        if (child.empty()) break;  // a trailing "\" names no sub-key to delete
        UniqueHKey parent;
        if (OpenKey(root, parentPath, kDeleteAccess, parent) != 0) break;
        DWORD subKeys = 0;
        DWORD values = 0;
        if (RegQueryInfoKeyW(parent.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const LONG err = RegDeleteKeyW(parent.get(), child.c_str());
        if (first && err != ERROR_SUCCESS) return static_cast<DWORD>(err);
        parent.reset();
        if (values > 0 || subKeys > 1) break;
        current = parentPath;
    }
    return 0;
}

}  // namespace tessel::common
