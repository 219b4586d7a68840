// Which undo records an install of this product can have written: per record
// kind, the locations, names, keys and values the install script touches.
#include "common/UndoRecordCheck.h"
#include <algorithm>
#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/Locations.h"
#include "common/RowKindInfo.h"

namespace tessel::common {

namespace {

// Names and keys of the product are ASCII; anything else simply does not match.
std::wstring AsciiLower(std::wstring s) {
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

bool IsOneOf(const std::wstring& textLower, std::initializer_list<const wchar_t*> choices) {
    return std::any_of(choices.begin(), choices.end(), [&](const wchar_t* c) { return textLower == AsciiLower(c); });
}

// Names that the system takes for a device in any folder ("Source\NUL" is the
// null device), with or without an extension.
bool IsDeviceName(const std::wstring& nameLower) {
    std::wstring base = nameLower.substr(0, nameLower.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    if (IsOneOf(base, {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"})) return true;
    return base.size() == 4 && (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'0' && base[3] <= L'9';
}

// One file or folder name, as plain as the script's own.
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

// "qvl" + digits + ".bpl" (".dpl" for the oldest IDE): a run-time package of
// the library, what the copy rows put into the shared package folders.
bool IsRuntimePackageName(const std::wstring& nameLower) {
    if (nameLower.size() < 8 || nameLower.compare(0, 3, L"qvl") != 0) return false;
    const std::wstring ext = nameLower.substr(nameLower.size() - 4);
    if (ext != L".bpl" && ext != L".dpl") return false;
    const std::wstring digits = nameLower.substr(3, nameLower.size() - 7);
    return std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool IsDesignPackageName(const std::wstring& nameLower) {
    return nameLower.compare(0, 3, L"dcl") == 0 && IsRuntimePackageName(nameLower.substr(3));
}

// What a file record may delete, by its location.
bool IsProductFile(LocationCode location, const std::wstring& text, const UndoScope& scope) {
    if (!IsPlainRelativePath(text)) return false;
    const std::wstring lower = AsciiLower(text);
    switch (location) {
    case LocationCode::Install: return scope.InstallDirHoldsLog;  // everything below it is the install's
    case LocationCode::Windows: return lower == L"qvtessel.ini";  // the component templates' settings file
    case LocationCode::System:
    case LocationCode::Bpl:
    case LocationCode::Bpl64: return IsRuntimePackageName(lower);
    case LocationCode::IdeRoot: {
        // The IDE's WinHelp index cache, rebuilt by WinHelp after it is gone.
        const std::wstring help = L"help\\";
        return lower.size() > help.size() + 4 && lower.compare(0, help.size(), help) == 0 &&
               lower.find(L'\\', help.size()) == std::wstring::npos && lower.compare(lower.size() - 4, 4, L".gid") == 0;
    }
    case LocationCode::None:
    case LocationCode::IdeHelp:
    case LocationCode::Temp: return false;
    }
    return false;  // a number that names no location
}

// keyLower is key itself or a key below it.
bool IsKeyAtOrBelow(const std::wstring& textLower, const std::wstring& key) {
    const std::wstring keyLower = AsciiLower(key);
    if (textLower == keyLower) return true;
    if (textLower.size() <= keyLower.size() + 1 || textLower.compare(0, keyLower.size(), keyLower) != 0 ||
        textLower[keyLower.size()] != L'\\')
        return false;
    // No empty names below it: "a\\b" and a trailing "\" are not keys the install makes.
    return textLower.find(L"\\\\", keyLower.size()) == std::wstring::npos && textLower.back() != L'\\';
}

constexpr uint32_t RootCurrentUser = 0x80000001u;
constexpr uint32_t RootLocalMachine = 0x80000002u;

bool IsProductKey(uint32_t root, const std::wstring& text) {
    const std::wstring lower = AsciiLower(text);
    if ((root == RootLocalMachine || root == RootCurrentUser) && IsKeyAtOrBelow(lower, ProductKeyPath)) return true;
    return root == RootLocalMachine && IsKeyAtOrBelow(lower, std::wstring(UninstallRootKey) + UninstallEntryName);
}

}  // namespace

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

bool IsUndoableRecord(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope) {
    const LocationCode location = LocationCodeFrom(rec.Location);
    const std::wstring lower = AsciiLower(text);
    // Checked per undo step (RowKindInfo.h): what the step would act on.
    switch (Describe(rec.Kind()).Undo) {
    case UndoAction::SelectIde: return IsIdeIndex(static_cast<int>(rec.Param)) && IsPlainName(text);
    case UndoAction::RemoveDir:
        // The install's own folders; the empty text is the install folder itself.
        return location == LocationCode::Install && scope.InstallDirHoldsLog &&
               (text.empty() || IsPlainRelativePath(text));
    case UndoAction::DeleteFile: return IsProductFile(location, text, scope);
    case UndoAction::UnregisterPackage:
        // The Known Packages value (the 32-bit or the 64-bit IDE's list) is the
        // design-time package's path in the install folder.
        return rec.Param <= PackageIdeParam(PackageIde::Ide64) && location == LocationCode::Install &&
               scope.InstallDirHoldsLog && IsPlainRelativePath(text) && IsDesignPackageName(LastName(lower));
    case UndoAction::RemoveSearchPath:
        return location == LocationCode::Install && scope.InstallDirHoldsLog && IsPlainRelativePath(text);
    case UndoAction::RemoveIdePath:
        // The IDE path lists that the install extends, with a folder of the install.
        return rec.Param <= StoredSubPath(InstallSubPath::IdeWin64) && scope.InstallDirHoldsLog &&
               IsOneOf(lower,
                       {L"\\CppPaths\\SearchPath", L"\\C++\\Paths\\SearchPath", L"\\C++\\Paths\\LibraryPath",
                        L"\\C++\\Paths\\Win32\\LibraryPath", L"\\C++\\Paths\\Win64\\LibraryPath",
                        L"\\Library\\Search Path", L"\\Library\\Win32\\Search Path", L"\\Library\\Win64\\Search Path"});
    case UndoAction::RemoveHelpLine:
        // The library's lines in one of the IDE's help-configuration files.
        return IsHelpFileIndex(rec.Param) && location == LocationCode::IdeHelp &&
               IsOneOf(lower, {L"\r\n:Index Tessel library components=qvlib.hlp", L"\r\n:Link qvlib.hlp"});
    case UndoAction::UnregisterWinHelp: return IsOneOf(lower, {L"qvlib.hlp", L"qvlib.cnt"});
    case UndoAction::DeleteRegKey: return IsProductKey(rec.Param, text);
    case UndoAction::RunHelpUnregister:
        // The batch file runs from the install folder, as administrator.
        return scope.InstallDirHoldsLog;
    case UndoAction::RemoveUninstallEntry: return AsciiLower(scope.ProductIntName) == AsciiLower(UninstallEntryName);
    case UndoAction::None: return true;  // kinds without an undo step: nothing is done for them
    }
    return true;
}

}  // namespace tessel::common
