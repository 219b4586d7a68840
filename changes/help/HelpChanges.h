// Help: the library's lines in the older IDEs' help-configuration files, its
// WinHelp registration, the help folder the registration names, and the
// Help 2 registration batch file.
//
// Rows and records:
// AppendText       000A  Text: line to add (written in the ANSI code page);
//                        Param: 1..3, which help-configuration file of the
//                        current IDE; Location: the folder of that file. Its
//                        record holds all three; the undo takes the first
//                        occurrence of the line out of the file again.
// AppendTextOld    0019  no row; met in old undo logs only, undone like AppendText
// RegisterWinHelp  000C  Text: help file name (the value written under the
//                        Windows help key; the data is the help folder). Its
//                        record holds the name; the undo deletes the value.
// SetHelpDir       000D  T+L: the help folder. Not recorded.
// RunInstallFile   0023  Text: the registration batch, relative to the
//                        install folder. Its record makes the undo run the
//                        deregistration batch from the help folder.
#pragma once
#include "changes/Change.h"
#include "common/IdeRegistry.h"

namespace tessel::changes::help {

// The lines the install adds to the help-configuration files.
inline constexpr const wchar_t* IndexLine = L"\r\n:Index Tessel library components=qvlib.hlp";
inline constexpr const wchar_t* LinkLine = L"\r\n:Link qvlib.hlp";
// The WinHelp files registered under the Windows help key.
inline constexpr const wchar_t* WinHelpKey = L"Software\\Microsoft\\Windows\\Help";
inline constexpr const wchar_t* HelpFile = L"qvlib.hlp";
inline constexpr const wchar_t* ContentsFile = L"qvlib.cnt";
// The Help 2 batch files in the install's help folder.
inline constexpr const wchar_t* HelpFolder = L"help";
inline constexpr const wchar_t* RegisterBatch = L"help_reg.bat";
inline constexpr const wchar_t* UnregisterBatch = L"help_unreg.bat";

// A WinHelp index cache below an IDE's root ("Help\<name>.gid"): the file
// rows delete it so that WinHelp rebuilds it with the library's entries.
inline bool IsIndexCache(const std::wstring& textLower) {
    const std::wstring help = L"help\\";
    return textLower.size() > help.size() + 4 && textLower.compare(0, help.size(), help) == 0 &&
           textLower.find(L'\\', help.size()) == std::wstring::npos &&
           textLower.compare(textLower.size() - 4, 4, L".gid") == 0;
}

inline bool Accepts(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope) {
    const std::wstring lower = AsciiLower(text);
    switch (KindNumber(rec.Kind())) {
    case KindNumber(RowKind::AppendText):
    case KindNumber(RowKind::AppendTextOld):
        return common::IsHelpFileIndex(rec.Param) && common::LocationCodeFrom(rec.Location) == LocationCode::IdeHelp &&
               IsOneOf(lower, {IndexLine, LinkLine});
    case KindNumber(RowKind::RegisterWinHelp): return IsOneOf(lower, {HelpFile, ContentsFile});
    // The batch file runs from the install folder, as administrator.
    case KindNumber(RowKind::RunInstallFile): return scope.InstallDirHoldsLog;
    default: return true;  // the help folder row leaves no record
    }
}

ActionResult Apply(const ScriptRow& row, ChangeContext& ctx);
DWORD Undo(const LocationContext& at, const UndoRecord& rec, const std::wstring& text);

}  // namespace tessel::changes::help
