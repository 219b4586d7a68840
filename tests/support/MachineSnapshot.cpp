#include "changes/help/HelpChanges.h"
#include "MachineSnapshot.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "common/DirectoryListing.h"
#include "common/Handles.h"
#include "common/Locations.h"
#include "common/PathText.h"
#include "common/RowKinds.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"
#include "ProductKeys.h"

using namespace tessel::common;

namespace {

bool Skipped(const std::wstring& name, const SnapshotOptions& options) {
    for (const std::wstring& skip : options.skipNames)
        if (_wcsicmp(skip.c_str(), name.c_str()) == 0) return true;
    return false;
}

std::wstring Cased(const std::wstring& path, const SnapshotOptions& options) {
    return options.lowerCase ? LowerWide(path) : path;
}

std::wstring RootName(HKEY root) {
    if (root == HKEY_CURRENT_USER) return L"HKCU";
    if (root == HKEY_LOCAL_MACHINE) return L"HKLM";
    if (root == HKEY_CLASSES_ROOT) return L"HKCR";
    if (root == HKEY_USERS) return L"HKU";
    return L"HKEY(" + std::to_wstring(reinterpret_cast<uintptr_t>(root)) + L")";
}

// Size and FNV-1a hash: enough to tell a changed file from an unchanged one.
std::wstring Fingerprint(const std::string& bytes) {
    uint32_t h = 2166136261u;
    for (unsigned char c : bytes) h = (h ^ c) * 16777619u;
    return std::to_wstring(bytes.size()) + L":" + std::to_wstring(h);
}

std::wstring ValueText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    std::wstring text = std::to_wstring(type) + L":";
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        text.append(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    } else {
        static const wchar_t digits[] = L"0123456789abcdef";
        for (DWORD i = 0; i < size; ++i) {
            text += digits[data[i] >> 4];
            text += digits[data[i] & 15];
        }
    }
    return text;
}

}  // namespace

void ForEachRegValue(
    const RegKey& key,
    const std::function<void(const std::wstring& name, DWORD type, const std::vector<BYTE>& data, DWORD size)>& visit) {
    for (const std::wstring& name : key.ValueNames()) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (key.ReadValue(name, type, data) != 0) break;
        const DWORD size = static_cast<DWORD>(data.size());
        data.resize(data.size() + sizeof(wchar_t), 0);  // a string's zero, whether stored or not
        visit(name, type, data, size);
    }
}

void SnapshotKey(HKEY root, const std::wstring& key, MachineSnapshot& out, const SnapshotOptions& options) {
    RegKey k;
    if (k.Open(root, key, KEY_READ) != 0) return;
    const std::wstring path = RootName(root) + L"\\" + Cased(key, options);
    out[L"key " + path] = L"";
    ForEachRegValue(k, [&](const std::wstring& name, DWORD type, const std::vector<BYTE>& data, DWORD size) {
        if (!Skipped(name, options)) out[L"value " + path + L" | " + name] = ValueText(type, data, size);
    });
    for (const std::wstring& sub : k.SubKeys()) {
        if (Skipped(sub, options)) continue;
        if (options.recurse)
            SnapshotKey(root, key + L"\\" + sub, out, options);
        else
            out[L"key " + path + L"\\" + Cased(sub, options)] = L"";
    }
}

void SnapshotFolder(const std::wstring& path, MachineSnapshot& out, const SnapshotOptions& options) {
    DirectoryListing listing;
    if (listing.Open(JoinPath(path, L"*")) != 0) return;
    for (DirectoryEntry entry; listing.Next(entry) == 0;) {
        const std::wstring& name = entry.Name;
        if (Skipped(name, options)) continue;
        const std::wstring full = JoinPath(path, name);
        if (entry.IsFolder()) {
            out[L"dir " + Cased(full, options)] = L"";
            if (options.recurse) SnapshotFolder(full, out, options);
        } else if (options.hashContents) {
            std::string bytes;
            out[L"file " + Cased(full, options)] = ReadFileBytes(full, bytes, FILE_SHARE_READ | FILE_SHARE_WRITE) == 0
                                                       ? Fingerprint(bytes)
                                                       : L"unreadable";
        } else {
            out[L"file " + Cased(full, options)] = std::to_wstring(entry.Size);
        }
    }
}

MachineSnapshot SnapshotInstallPlaces(const std::wstring& installDir) {
    SnapshotOptions tree;
    tree.lowerCase = true;
    tree.skipNames = {L"calls.log"};  // the stand-in compilers' own record of their calls
    SnapshotOptions flat = tree;
    flat.recurse = false;
    flat.hashContents = false;

    MachineSnapshot s;
    for (const std::wstring& dir :
         {installDir, std::wstring(L"C:\\Program Files"), std::wstring(L"C:\\Program Files (x86)"),
          std::wstring(L"C:\\users\\Public\\Documents")})
        SnapshotFolder(dir, s, tree);
    SnapshotFolder(ResolvePath({}, LocationCode::Windows, L""), s, flat);
    SnapshotFolder(ResolvePath({}, LocationCode::System, L""), s, flat);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        for (const wchar_t* key : {L"Software\\Borland", L"Software\\CodeGear", L"Software\\Embarcadero",
                                   L"Software\\Veltrane", tessel::changes::help::WinHelpKey, kUninstallEntryKey.c_str()})
            SnapshotKey(root, key, s, tree);
    return s;
}

std::vector<SnapshotChange> SnapshotChanges(const MachineSnapshot& before, const MachineSnapshot& after) {
    std::vector<SnapshotChange> changes;
    for (const auto& [entry, value] : before) {
        auto it = after.find(entry);
        if (it == after.end())
            changes.push_back({L'-', entry, value, L""});
        else if (it->second != value)
            changes.push_back({L'~', entry, value, it->second});
    }
    for (const auto& [entry, value] : after)
        if (!before.count(entry)) changes.push_back({L'+', entry, L"", value});
    return changes;
}

std::vector<SnapshotChange> WithoutInstallLeftovers(const std::vector<SnapshotChange>& changes) {
    std::vector<SnapshotChange> rest;
    for (const SnapshotChange& c : changes) {
        const std::wstring e = LowerWide(c.entry);
        auto endsWith = [&e](const std::wstring& tail) {
            return e.size() >= tail.size() && e.compare(e.size() - tail.size(), tail.size(), tail) == 0;
        };
        const bool inFolder = e.rfind(L"file ", 0) == 0 || e.rfind(L"dir ", 0) == 0;
        const bool sharedPackage =
            c.kind == L'+' && inFolder && (endsWith(L".bpl") || endsWith(L".dpl")) &&
            (e.find(L"\\system32\\") != std::wstring::npos || e.find(L"\\bpl\\") != std::wstring::npos);
        const bool helpCache = c.kind == L'-' && inFolder && endsWith(L".gid");
        const bool aliasFile = c.kind == L'~' && inFolder && endsWith(L".als");
        const bool reloadRequest = c.kind == L'+' && (endsWith(L"\\globals") || endsWith(L" | forceenvoptionsupdate"));
        if (!sharedPackage && !helpCache && !aliasFile && !reloadRequest) rest.push_back(c);
    }
    return rest;
}

testing::AssertionResult NoChanges(const std::vector<SnapshotChange>& changes) {
    if (changes.empty()) return testing::AssertionSuccess();
    std::wstring text;
    for (const SnapshotChange& c : changes) {
        text += c.kind + c.entry;
        if (c.kind == L'~') text += L": " + c.before + L" -> " + c.after;
        text += L"\n";
    }
    return testing::AssertionFailure() << ToUtf8(text);
}
