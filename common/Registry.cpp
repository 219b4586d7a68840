// The registry key owner, its name lists, and the one-call helpers built on it.
#include "common/Registry.h"

#include "common/ProcessGlobals.h"

namespace tessel::common {

void RegNames::Iterator::Fetch(DWORD index) {
    index_ = index;
    // Sub-key names have at most 255 characters, value names 16383; the
    // buffer grows only for a name that does not fit.
    std::wstring buffer(256, L'\0');
    for (;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG status =
            range_->kind_ == Kind::SubKeys
                ? RegEnumKeyExW(range_->key_, index, &buffer[0], &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(range_->key_, index, &buffer[0], &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA && buffer.size() < 32768) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) {
            range_->error_ = status == ERROR_NO_MORE_ITEMS ? 0 : static_cast<DWORD>(status);
            *this = Iterator();
            return;
        }
        name_.assign(buffer.data(), length);
        return;
    }
}

DWORD RegKey::Open(HKEY root, const std::wstring& path, REGSAM access) {
    return static_cast<DWORD>(RegOpenKeyExW(root, path.c_str(), 0, access, key_.put()));
}

DWORD RegKey::Create(HKEY root, const std::wstring& path, REGSAM access) {
    return static_cast<DWORD>(
        RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key_.put(), nullptr));
}

DWORD RegKey::ReadValue(const std::wstring& name, DWORD& type, std::vector<BYTE>& data) const {
    type = REG_NONE;
    data.clear();
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size());
        const LONG status = RegQueryValueExW(get(), name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(),
                                             &size);
        // Asked for the size only, or the value grew between the two calls.
        if ((status == ERROR_SUCCESS && data.empty() && size > 0) || status == ERROR_MORE_DATA) {
            data.assign(size, 0);
            continue;
        }
        if (status != ERROR_SUCCESS) {
            type = REG_NONE;
            data.clear();
            return static_cast<DWORD>(status);
        }
        data.resize(size);
        return 0;
    }
}

DWORD RegKey::ReadString(const std::wstring& name, std::wstring& value) const {
    value.clear();
    DWORD type = 0;
    std::vector<BYTE> data;
    if (const DWORD err = ReadValue(name, type, data)) return err;
    if (type != REG_SZ) return ERROR_UNSUPPORTED_TYPE;
    // An odd last byte is no character of the string.
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    // Values are normally stored with their terminating zero; a value written
    // without one keeps its last character.
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    value = std::move(text);
    return 0;
}

DWORD RegKey::ReadInteger(const std::wstring& name, DWORD& value) const {
    value = 0;
    DWORD read = 0;
    DWORD size = sizeof(read);
    if (const LONG err = RegQueryValueExW(get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size))
        return static_cast<DWORD>(err);
    value = read;
    return 0;
}

DWORD RegKey::WriteString(const std::wstring& name, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);  // with the terminating zero
    if (bytes > MAXDWORD) return ERROR_INVALID_DATA;
    return static_cast<DWORD>(RegSetValueExW(get(), name.c_str(), 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(bytes)));
}

DWORD RegKey::WriteInteger(const std::wstring& name, DWORD value) {
    return static_cast<DWORD>(
        RegSetValueExW(get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)));
}

DWORD RegKey::DeleteValue(const std::wstring& name) { return static_cast<DWORD>(RegDeleteValueW(get(), name.c_str())); }

DWORD RegKey::DeleteSubKeys() { return DeleteRegSubKeys(get()); }

DWORD ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value) {
    value.clear();
    RegKey k;
    if (const DWORD err = k.Open(root, key, KEY_READ)) return err;
    return k.ReadString(name, value);
}

DWORD ReadRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value) {
    value = 0;
    RegKey k;
    if (const DWORD err = k.Open(root, key, KEY_READ)) return err;
    return k.ReadInteger(name, value);
}

DWORD WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    RegKey k;
    if (const DWORD err = k.Create(root, key, KEY_WRITE)) return err;
    return k.WriteString(name, text);
}

DWORD WriteRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    RegKey k;
    if (const DWORD err = k.Create(root, key, KEY_WRITE)) return err;
    return k.WriteInteger(name, value);
}

DWORD CreateRegKey(HKEY root, const std::wstring& key) {
    RegKey k;
    return k.Create(root, key, KEY_WRITE);
}

DWORD DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    RegKey k;
    if (const DWORD err = k.Open(root, key, KEY_WRITE)) return err;
    return k.DeleteValue(name);
}

DWORD DeleteRegSubKeys(HKEY openKey) {
    // The names first: deleting while listing would shift the ones still to come.
    RegNames listing(openKey, RegNames::Kind::SubKeys);
    const std::vector<std::wstring> names(listing.begin(), listing.end());
    // Every sub-key is tried; the first failure is the result.
    DWORD result = listing.error();
    for (const std::wstring& name : names) {
        RegKey sub;
        DWORD err = sub.Open(openKey, name, RegDeleteAccess);
        // The NT family refuses to delete a key that still has sub-keys.
        if (err == 0 && PlatformId == VER_PLATFORM_WIN32_NT) err = sub.DeleteSubKeys();
        sub.Close();
        if (err == 0) err = static_cast<DWORD>(RegDeleteKeyW(openKey, name.c_str()));
        if (result == 0) result = err;
    }
    return result;
}

DWORD DeleteRegKey(HKEY root, const std::wstring& key) {
    {
        RegKey k;
        if (const DWORD err = k.Open(root, key, RegDeleteAccess)) return err;
        if (const DWORD err = k.DeleteSubKeys()) return err;
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
        RegKey parent;
        if (parent.Open(root, parentPath, RegDeleteAccess) != 0) break;
        DWORD subKeys = 0;
        DWORD values = 0;
        if (RegQueryInfoKeyW(parent.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const LONG err = RegDeleteKeyW(parent.get(), child.c_str());
        if (first && err != ERROR_SUCCESS) return static_cast<DWORD>(err);
        parent.Close();
        if (values > 0 || subKeys > 1) break;
        current = parentPath;
    }
    return 0;
}

}  // namespace tessel::common
