// Location codes to folders: the install folder, the IDE folders, system folders.
#include "common/Locations.h"

#include <shlobj.h>

#include "common/IdeRegistry.h"
#include "common/IdeTable.h"
#include "common/PathText.h"
#include "common/Files.h"
#include "common/Registry.h"
#include "common/ShellFolders.h"
#include "common/TextConversion.h"
#include "common/WholeFile.h"

namespace tessel::common {

namespace {

constexpr UINT kFolderBuffer = 260;

// The text a system folder query left in a 260-character buffer; empty when the
// query failed or the folder did not fit (the buffer then holds nothing usable).
template <typename Query>
std::wstring SystemFolder(Query query) {
    wchar_t buf[kFolderBuffer] = {};
    const UINT n = query(buf, kFolderBuffer);
    if (n == 0 || n >= kFolderBuffer) return std::wstring();
    return std::wstring(buf);
}

// The value of the "@SET BDSCOMMONDIR=" line of "bin\rsvars.bat": from the exact-case
// marker up to the next carriage return; nothing when no carriage return follows.
std::wstring CommonDirFromRsvars(const std::wstring& rootDir) {
    // Without a root folder there is no IDE file to read (the bare "\bin\rsvars.bat"
    // would name a file at the top of whatever drive is current).
    if (rootDir.empty()) return std::wstring();
    const std::wstring file = rootDir + L"\\bin\\rsvars.bat";
    if (!PathExists(file)) return std::wstring();
    const std::wstring text = ReadTextFile(file);
    const std::wstring marker = L"@SET BDSCOMMONDIR=";
    const size_t at = text.find(marker);
    if (at == std::wstring::npos) return std::wstring();
    const size_t start = at + marker.size();
    const size_t cr = text.find(L'\r', start);
    if (cr == std::wstring::npos) return std::wstring();
    return text.substr(start, cr - start);
}

// The common folder an IDE uses when nothing names one: below the common documents,
// "Software\Embarcadero\BDS\23.0" becoming "Embarcadero\Studio\23.0".
std::wstring CommonDirFromDocuments(const std::wstring& regKey) {
    const std::wstring docs = GetShellFolder(CSIDL_COMMON_DOCUMENTS);
    if (docs.empty()) return std::wstring();
    std::wstring tail = regKey;
    if (tail.find(L"Software\\") != std::wstring::npos) {
        tail.erase(0, 9);
        const size_t b = LowerWide(tail).find(L"bds");
        if (b != std::wstring::npos) tail.replace(b, 3, L"Studio");
    }
    return JoinPath(docs, tail);
}

}  // namespace

std::wstring GetBdsCommonDir(const LocationContext& context) {
    if (!context.CurrentIde.IsValid() || context.IdeKey.empty()) return std::wstring();
    const std::wstring envKey = context.IdeKey + L"\\Environment Variables";
    std::wstring value;
    // A profile keeps the user's variables under its own key; the machine's stay under the IDE's.
    const std::wstring userEnvKey = UserKeyOf(context.IdeKey, context.Profile) + L"\\Environment Variables";
    // The user's value first; an empty one still counts as read and hides the machine's.
    // A machine value that is not there leaves value empty, which the lines below handle.
    if (ReadRegString(HKEY_CURRENT_USER, userEnvKey, L"BDSCOMMONDIR", value) != 0)
        (void)ReadRegString(HKEY_LOCAL_MACHINE, envKey, L"BDSCOMMONDIR", value);
    if (value.empty()) value = CommonDirFromRsvars(context.IdeRoot);
    if (value.empty()) value = CommonDirFromDocuments(context.IdeKey);
    return value;
}

std::wstring GetLocationPath(const LocationContext& context, LocationCode code) {
    const bool hasIde = context.CurrentIde.IsValid();
    switch (code) {
    // The system's Windows folder: a terminal server gives each user a Windows
    // folder of their own, which is neither where shared files belong nor the
    // folder the uninstall's guard must protect.
    case LocationCode::Windows:
        return SystemFolder([](wchar_t* b, UINT n) { return GetSystemWindowsDirectoryW(b, n); });
    case LocationCode::System: return SystemFolder([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
    case LocationCode::Temp: return SystemFolder([](wchar_t* b, UINT n) { return UINT(GetTempPathW(n, b)); });
    case LocationCode::Install: return context.InstallDir;
    case LocationCode::IdeRoot: return hasIde ? context.IdeRoot : std::wstring();
    case LocationCode::IdeHelp: return hasIde ? context.IdeRoot + L"\\Help\\" : std::wstring();
    case LocationCode::Bpl:
    case LocationCode::Bpl64: {
        const std::wstring common = GetBdsCommonDir(context);  // empty without a current IDE
        if (common.empty()) return std::wstring();
        return JoinPath(common, code == LocationCode::Bpl ? L"Bpl" : L"Bpl\\Win64");
    }
    case LocationCode::None: break;
    }
    return std::wstring();  // no folder, or a number that names no location
}

std::wstring GetInstallSubPath(const LocationContext& context, uint32_t stored) {
    const std::wstring& dir = context.InstallDir;
    const std::wstring& folder = context.IdeFolder;
    switch (static_cast<InstallSubPath>(stored % 128)) {
    case InstallSubPath::Root: return dir;
    case InstallSubPath::Source: return JoinPath(dir, L"Source");
    case InstallSubPath::IdeFolder: return JoinPath(dir, folder);
    case InstallSubPath::IdeWin32: return JoinPath(dir, folder + L"\\Win32");
    case InstallSubPath::IdeWin64: return JoinPath(dir, folder + L"\\Win64");
    case InstallSubPath::IdeWin64x: return JoinPath(dir, folder + L"\\Win64x");
    }
    return std::wstring();  // a number that names no folder
}

std::wstring ResolvePath(const LocationContext& context, LocationCode location, const std::wstring& text) {
    if (location == LocationCode::None) return text;
    return JoinPath(GetLocationPath(context, location), text);
}

}  // namespace tessel::common
