// Path lists: the IDEs' library search paths and C++ paths (";"-separated
// registry values below the IDE's key, per user) that the install extends
// with its folders and the uninstall takes them off again, as whole entries
// compared case-blind (PathList.h).
//
// Rows and records:
// AddSearchPath  0015  T+L: folder to add; Text2: sub-key below the IDE's key
//                      and Text3: value name (without both: the library
//                      search path); Options bit 0: a missing list is no
//                      failure, bit 1: the Win64 library key. Its record holds
//                      Location and Text; the undo takes the folder off every
//                      library key of the IDE.
// AddIdePath     0026  Text: one of the lists below, "\key\...\value name"
//                      below the IDE's key; Param: the folder to add
//                      (InstallSubPath); Location: Install, only recorded. Its
//                      record holds all three; the undo takes the folder off
//                      that list.
#pragma once
#include "changes/Change.h"
#include "common/IdeTable.h"

namespace tessel::changes::pathlists {

// The IDE path lists the install extends (an AddIdePath row's Text).
inline constexpr const wchar_t* CppSearchPath = L"\\C++\\Paths\\SearchPath";
inline constexpr const wchar_t* CppLibraryPath = L"\\C++\\Paths\\LibraryPath";
inline constexpr const wchar_t* CppWin32LibraryPath = L"\\C++\\Paths\\Win32\\LibraryPath";
inline constexpr const wchar_t* CppWin64LibraryPath = L"\\C++\\Paths\\Win64\\LibraryPath";
inline constexpr const wchar_t* DelphiSearchPath = L"\\Library\\Search Path";
inline constexpr const wchar_t* DelphiWin32SearchPath = L"\\Library\\Win32\\Search Path";
inline constexpr const wchar_t* DelphiWin64SearchPath = L"\\Library\\Win64\\Search Path";
// The Modern C++ toolchain's lists: the Delphi library key of the Win64x
// platform, and the C++ library path of that platform.
inline constexpr const wchar_t* DelphiWin64xSearchPath = L"\\Library\\Win64x\\Search Path";
inline constexpr const wchar_t* CppWin64xLibraryPath = L"\\C++\\Paths\\Win64x\\LibraryPath";
inline constexpr const wchar_t* Bds2006CppSearchPath = L"\\CppPaths\\SearchPath";  // BDS 2006 only
inline constexpr const wchar_t* IdePathLists[] = {
    Bds2006CppSearchPath, CppSearchPath,    CppLibraryPath,        CppWin32LibraryPath,
    CppWin64LibraryPath,  DelphiSearchPath, DelphiWin32SearchPath, DelphiWin64SearchPath,
    DelphiWin64xSearchPath, CppWin64xLibraryPath,
};

inline bool IsIdePathList(const std::wstring& textLower) {
    for (const wchar_t* list : IdePathLists)
        if (textLower == AsciiLower(list)) return true;
    return false;
}

inline bool Accepts(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope) {
    if (rec.Kind() == RowKind::AddIdePath)
        return rec.Param <= common::StoredSubPath(common::InstallSubPath::IdeWin64x) && scope.InstallDirHoldsLog &&
               IsIdePathList(AsciiLower(text));
    // AddSearchPath: a folder of the install.
    return common::LocationCodeFrom(rec.Location) == LocationCode::Install && scope.InstallDirHoldsLog &&
           IsPlainRelativePath(text);
}

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text);

// The end of every path row once "Adding search path: <folder>" is logged:
// "...Already" when one whole entry of list is the folder, otherwise append
// it, write the list back to the current user's key/name and, when asked,
// request the IDE (whose per-user key is userKey) to reload its options; then "...Success".
ActionResult AddFolderToList(const std::wstring& userKey, const std::wstring& key, const std::wstring& name,
                             const std::wstring& list, const std::wstring& folder, bool requestReload,
                             ChangeContext& ctx);
// Takes folder off the search path of every library key of the context's
// current IDE (its per-user key, the profile's when it has one); every key is
// tried. 0 or the first error.
DWORD RemoveFromLibraryPaths(const common::LocationContext& at, const std::wstring& folder);
// Takes folder out of the ";"-separated list held by the current user's
// registry value key/name, as a whole entry, and writes the list back. 0 when
// the folder is off the list (the value or the entry was not there);
// ERROR_CANTWRITE when the shortened list could not be written.
DWORD RemoveFromRegPathList(const std::wstring& key, const std::wstring& name, const std::wstring& folder);

}  // namespace tessel::changes::pathlists
