// Registry access: one owner of an open key (RegKey) that reads, writes,
// deletes and lists through the one handle, and the one-call helpers for a
// single value, each built on it.
// Key paths are relative to their root and use "\". Failures are Win32 error
// codes (0 = success), as common/Errors.h describes.
#pragma once
#include <windows.h>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>
#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// The names below an open key, one at a time, as a range for range-for:
// its sub-keys or its value names, in the registry's order. The key is only
// borrowed and must stay open while the range is walked. The walk ends at the
// last name or at the first failure; error() then tells which (0: the end).
// A key changed during the walk may be listed with gaps or repeats, as
// RegEnumKeyExW and RegEnumValueW list it.
class RegNames {
public:
    enum class Kind { SubKeys, Values };
    RegNames(HKEY key, Kind kind) : key_(key), kind_(kind) {}

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::wstring;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::wstring*;
        using reference = const std::wstring&;
        Iterator() = default;  // the end
        const std::wstring& operator*() const { return name_; }
        const std::wstring* operator->() const { return &name_; }
        Iterator& operator++() {
            Fetch(index_ + 1);
            return *this;
        }
        bool operator==(const Iterator& other) const { return range_ == other.range_ && index_ == other.index_; }
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        friend class RegNames;
        explicit Iterator(RegNames* range) : range_(range) { Fetch(0); }
        void Fetch(DWORD index);

        RegNames* range_ = nullptr;  // null at the end
        DWORD index_ = 0;
        std::wstring name_;
    };

    Iterator begin() { return Iterator(this); }
    Iterator end() { return Iterator(); }
    // 0 when the last walk reached the end, otherwise the error that stopped it.
    DWORD error() const { return error_; }

private:
    HKEY key_;
    Kind kind_;
    DWORD error_ = 0;
};

// An open registry key, closed by its destructor: open once, then read,
// write and list through it. Move-only. A missing key opens as
// ERROR_FILE_NOT_FOUND; a missing value reads as ERROR_FILE_NOT_FOUND, a value
// of another type as ERROR_UNSUPPORTED_TYPE, and the value read is then
// cleared (empty, 0).
class RegKey {
public:
    RegKey() = default;
    RegKey(RegKey&&) noexcept = default;
    RegKey& operator=(RegKey&&) noexcept = default;

    // Opens root\path with access; what was open before is closed first.
    [[nodiscard]] DWORD Open(HKEY root, const std::wstring& path, REGSAM access);
    // Opens root\path with access, creating it and its missing parents.
    [[nodiscard]] DWORD Create(HKEY root, const std::wstring& path, REGSAM access);
    void Close() { (void)key_.reset(); }  // a failed close leaves nothing to act on
    bool valid() const { return key_.valid(); }
    HKEY get() const { return key_.get(); }

    // A REG_SZ value, without its terminating zero.
    [[nodiscard]] DWORD ReadString(const std::wstring& name, std::wstring& value) const;
    // A value of at most four bytes (REG_DWORD, or a shorter binary one).
    [[nodiscard]] DWORD ReadInteger(const std::wstring& name, DWORD& value) const;
    // Any value as it is stored: its type and its bytes.
    [[nodiscard]] DWORD ReadValue(const std::wstring& name, DWORD& type, std::vector<BYTE>& data) const;
    [[nodiscard]] DWORD WriteString(const std::wstring& name, const std::wstring& text);
    [[nodiscard]] DWORD WriteInteger(const std::wstring& name, DWORD value);
    [[nodiscard]] DWORD DeleteValue(const std::wstring& name);
    // Deletes every sub-key with all below it (all are tried; the first failure
    // is the result). Needs the key opened with KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY.
    [[nodiscard]] DWORD DeleteSubKeys();

    RegNames SubKeys() const { return RegNames(get(), RegNames::Kind::SubKeys); }
    RegNames ValueNames() const { return RegNames(get(), RegNames::Kind::Values); }

private:
    UniqueHKey key_;
};

// What a key is opened with to delete below it.
inline constexpr REGSAM RegDeleteAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// One value, with the key opened for the call alone; results as RegKey's.
[[nodiscard]] DWORD ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring& value);
[[nodiscard]] DWORD ReadRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD& value);
// The writes create the key when it is missing.
[[nodiscard]] DWORD WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name,
                                   const std::wstring& text);
[[nodiscard]] DWORD WriteRegInteger(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
[[nodiscard]] DWORD CreateRegKey(HKEY root, const std::wstring& key);
[[nodiscard]] DWORD DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name);
// Deletes the key with everything below it, then every ancestor that held
// nothing else. The error is the key's own; an ancestor that stays is no failure.
[[nodiscard]] DWORD DeleteRegKey(HKEY root, const std::wstring& key);
// Deletes every sub-key of openKey (all are tried; the first failure is the result).
[[nodiscard]] DWORD DeleteRegSubKeys(HKEY openKey);

}  // namespace tessel::common
