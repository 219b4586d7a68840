// Which undo records an install of this product can have written. The log lies
// in the install folder, which need not be protected, and the uninstaller runs
// as administrator: a record that names anything else is never acted on.
// IsUndoableRecord hands each record to the rule of its kind's module; the
// helpers below are the words those rules are written in. Pure decisions on
// plain values, no Win32 calls.
#pragma once
#include <initializer_list>
#include <string>
#include "common/UndoLogFormat.h"

namespace tessel::changes {

using common::UndoRecord;

// What a walk knows besides the record itself.
struct UndoScope {
    // The install folder that the log's information names is the folder the
    // log itself lies in. Records relative to the install folder (and the help
    // batch run from it) are undone only then.
    bool InstallDirHoldsLog = false;
    std::wstring ProductIntName;  // the uninstall entry's name as the log gives it
};

// True for a path below a location folder as the install script writes one:
// names joined by "\", none of them empty, "." or "..", none ending in a dot or a
// blank (the system drops those), no drive, stream, device or wildcard syntax,
// no "/" and nothing before the first name. The empty text is not one.
bool IsPlainRelativePath(const std::wstring& text);
// One file or folder name, as plain as the script's own.
bool IsPlainName(const std::wstring& name);

// True when two folder paths, both lower-cased, are the same full path: "/" is
// taken as "\" and trailing backslashes are ignored.
bool IsSameFolder(const std::wstring& aLower, const std::wstring& bLower);

// Names and keys of the product are ASCII: lower-cased here without the
// system's rules, anything else simply does not match.
std::wstring AsciiLower(std::wstring s);
// Whether textLower is one of choices, compared ASCII case-blind.
bool IsOneOf(const std::wstring& textLower, std::initializer_list<const wchar_t*> choices);
// The last name of a "\"-separated path.
std::wstring LastName(const std::wstring& path);
// textLower is key itself or a key below it, without empty names.
bool IsKeyAtOrBelow(const std::wstring& textLower, const std::wstring& key);

// True when an install of this product can have written rec, whose text is
// already decoded: only such records are undone.
// The package folder and the profile of a SetIdeProfile record's text
// "<folder>\<profile>"; false when it is not two such names.
bool SplitProfileSelection(const std::wstring& text, std::wstring& folder, std::wstring& profile);

bool IsUndoableRecord(const UndoRecord& rec, const std::wstring& text, const UndoScope& scope);

}  // namespace tessel::changes
