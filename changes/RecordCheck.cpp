// Which undo records an install of this product can have written: the words
// of the modules' rules, and the hand-over to the module of each record's kind.
#include "changes/RecordCheck.h"
#include <algorithm>
#include "changes/files/FileChanges.h"
#include "changes/help/HelpChanges.h"
#include "changes/packages/PackageChanges.h"
#include "changes/pathlists/PathListChanges.h"
#include "changes/registry/RegistryKeyChanges.h"
#include "changes/uninstallentry/UninstallEntry.h"
#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/RowKinds.h"

namespace tessel::changes {

using namespace tessel::common;

namespace {

// Names that the system takes for a device in any folder ("Source\NUL" is the
// null device), with or without an extension.
bool IsDeviceName(const std::wstring& nameLower) {
    std::wstring base = nameLower.substr(0, nameLower.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    if (IsOneOf(base, {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"})) return true;
    return base.size() == 4 && (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'0' && base[3] <= L'9';
}

}  // namespace

std::wstring AsciiLower(std::wstring s) {
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

bool IsOneOf(const std::wstring& textLower, std::initializer_list<const wchar_t*> choices) {
    return std::any_of(choices.begin(), choices.end(), [&](const wchar_t* c) { return textLower == AsciiLower(c); });
}

bool IsPlainName(const std::wstring& name) {
    if (name.empty() || name.back() == L'.' || name.back() == L' ') return false;  // ".", "..", "x." and "x "
    for (wchar_t c : name)
        if (c < 0x20 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos) return false;
    return !IsDeviceName(AsciiLower(name));
}

std::wstring LastName(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsKeyAtOrBelow(const std::wstring& textLower, const std::wstring& key) {
    const std::wstring keyLower = AsciiLower(key);
    if (textLower == keyLower) return true;
    if (textLower.size() <= keyLower.size() + 1 || textLower.compare(0, keyLower.size(), keyLower) != 0 ||
        textLower[keyLower.size()] != L'\\')
        return false;
    // No empty names below it: "a\\b" and a trailing "\" are not keys the install makes.
    return textLower.find(L"\\\\", keyLower.size()) == std::wstring::npos && textLower.back() != L'\\';
}

bool IsPlainRelativePath(const std::wstring& text) {
    if (text.empty()) return false;
    size_t start = 0;
    for (;;) {
        const size_t stop = text.find(L'\\', start);
        if (!IsPlainName(text.substr(start, stop == std::wstring::npos ? std::wstring::npos : stop - start)))
            return false;
        if (stop == std::wstring::npos) return true;
        start = stop + 1;
    }
}

bool IsSameFolder(const std::wstring& aLower, const std::wstring& bLower) {
    auto normal = [](std::wstring s) {
        std::replace(s.begin(), s.end(), L'/', L'\\');
        while (!s.empty() && s.back() == L'\\') s.pop_back();
        return s;
    };
    const std::wstring a = normal(aLower);
    return !a.empty() && a == normal(bLower);
}

bool SplitProfileSelection(const std::wstring& text, std::wstring& folder, std::wstring& profile) {
    const size_t cut = text.find(L'\\');
    if (cut == std::wstring::npos) return false;
    folder = text.substr(0, cut);
    profile = text.substr(cut + 1);
    return IsPlainName(folder) && IsValidProfileName(profile);
}

bool IsUndoableRecord(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope) {
    switch (Describe(rec.Kind()).Module) {
    case ChangeModule::Files: return files::Accepts(rec, text, scope);
    case ChangeModule::Packages: return packages::Accepts(rec, text, scope);
    case ChangeModule::PathLists: return pathlists::Accepts(rec, text, scope);
    case ChangeModule::HelpLines: return help::Accepts(rec, text, scope);
    case ChangeModule::RegistryKeys: return registry::Accepts(rec, text);
    case ChangeModule::UninstallEntry: return uninstall_entry::Accepts(scope);
    case ChangeModule::None: break;
    }
    // The walk's own records: an IDE selection names an IDE of the table and
    // its package folder (the newer IDE also its version), and one with a
    // profile also a valid profile name; the others are not acted on.
    const bool newerVersionOk =
        !IsNewerIdeSlot(IdeIndex(static_cast<int>(rec.Param))) || IsNewerBdsVersion(rec.Location);
    if (rec.Kind() == RowKind::SetIde)
        return IsIdeIndex(static_cast<int>(rec.Param)) && IsPlainName(text) && newerVersionOk;
    std::wstring folder, profile;
    if (rec.Kind() == RowKind::SetIdeProfile)
        return IsIdeIndex(static_cast<int>(rec.Param)) && SplitProfileSelection(text, folder, profile) &&
               newerVersionOk;
    return true;
}

}  // namespace tessel::changes
