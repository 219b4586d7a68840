// One row of the install script, the copy-target record, and what each of the
// row's generic fields means for each row kind.
#pragma once
#include <cstdint>
#include <string>
#include "common/Locations.h"
#include "common/RowKinds.h"

namespace tessel::script {

// The row vocabulary that the script shares with the undo log.
using common::InfoCode;
using common::InstallSubPath;
using common::LocationCode;
using common::RowFlag;
using common::RowKind;

struct CopyTarget {
    const wchar_t* FileName;  // a file name or a path relative to Location
    LocationCode Location;
};

// Nine 32-bit words: Kind and Flags, then eight generic fields whose meaning
// depends on the kind. "T+L" below is a path: Text relative to Location
// (ResolvePath); "T3+L2" likewise Text3 relative to Location2. A field not
// named for a kind is unused (null, 0 or LocationCode::None).
//
// Kind                     Fields
// CompilePackage     0006  Text: project file, relative to the current folder;
//                          Param: IDE bits, the lowest set one selects the IDE;
//                          Options: 1 = the 64-bit compiler
// RegisterPackage    0008  T+L: design-time package file; Param: the IDE that
//                          loads it (PackageIde: 0 "Known Packages", 1 the
//                          64-bit IDE's "Known Packages x64"); Options bit 1:
//                          the Win64 library key (IDEs with both)
// AppendText         000A  Text: line to add (written in the ANSI code page);
//                          Param: 1..3, which help-configuration file of the
//                          current IDE; Location: the folder of that file
// DeleteOneFile      000B  T+L: the file
// RegisterWinHelp    000C  Text: help file name (the value written under the
//                          Windows help key; the data is the help folder)
// SetHelpDir         000D  T+L: the help folder
// CreateRegKey       000F  Text: key path; Param: predefined root key handle
//                          value (0x80000002 = HKEY_LOCAL_MACHINE)
// CheckFile          0013  T+L: file or mask that must exist
// AddSearchPath      0015  T+L: folder to add; Text2: sub-key below the IDE's
//                          key and Text3: value name (without both: the
//                          library search path); Options bit 0: a missing list
//                          is no failure, bit 1: the Win64 library key
// UninstallPrevious  0018  none
// AppendTextOld      0019  no row; met in old undo logs only
// CopyFiles          001A  T+L: source mask; T3+L2: destination mask
// DeleteFiles        001B  T+L: mask
// MergeFiles         001C  T+L: source file; T3+L2: destination file
// ReplaceText        001D  T+L: the file; Text2: text to find; Text3: replacement
// RunFile            0022  Text: program, relative to the current folder
// RunInstallFile     0023  Text: program, relative to the install folder
// AddIdePath         0026  Text: "\key\...\value name" below the IDE's key;
//                          Param: the folder to add (InstallSubPath);
//                          Location: Install, only recorded
// IfIde / EndIfIde   4003/4004  Param: IDE bits, also the block code
// SetIde             4009  Text: the IDE's package folder name; Param: IDE index.
//                          Its record's Location holds the newer IDE's version
//                          (38 for "BDS\38.0"); 0 for the table's versions
// Info               400E  Param: information code (InfoCode)
// IfItem / EndIfItem 4016/4017  Param: install-item bits 0-31, Options: bits
//                          32-63; both together are the block code
// IfOption / EndIfOption, IfNotOption / EndIfNotOption  401E..4021
//                          Param: customise-option bits, also the block code
// IfFileExists       4024  T+L: the block runs when this exists; Param: block code
// EndIfFileExists    4025  Param: block code
// If64BitIde / EndIf64BitIde  4026/4027  Param: block code; the block runs when
//                          discovery found the current IDE's 64-bit IDE
// IfModernCpp / EndIfModernCpp  4028/4029  Param: block code; the block runs
//                          when discovery found the current IDE's Modern C++
//                          toolchain
// CreateDir          8001  T+L: the folder (empty Text: the location itself)
// ExtractFile        8002  T+L: target file; Param: payload id
// ClearDir           8005  T+L: the folder to empty
// SetCurrentDir      8007  T+L: the folder
// ExtractFileOnce    8010  as ExtractFile
// ExtractFileIfNewer 8011  as ExtractFile
// RegisterUninstall  8012  T+L: the uninstaller, only recorded (the entry is
//                          built from the install folder)
// CopyOneFile        8014  T+L: source file; Target: destination
//
// The undo record of a row flagged RowFlag::Undo holds Word0, Param, Location
// and Text unresolved, except: Info records hold the fact named by Param as
// their text; CopyOneFile records name the Target; a CreateDir record's Param
// says whether the folder existed before.
struct ScriptRow {
    uint32_t Word0;       // Kind in bits 0-15, Flags in bits 16-31
    const wchar_t* Text;  // nullptr or a constant wide string
    uint32_t Param;
    LocationCode Location;
    const wchar_t* Text2;
    const wchar_t* Text3;
    LocationCode Location2;
    uint32_t Options;
    const CopyTarget* Target;

    RowKind Kind() const { return static_cast<RowKind>(Word0 & 0xFFFF); }
    RowFlag Flags() const { return common::FlagsOf(Word0); }
    bool HasFlag(RowFlag flag) const { return common::HasFlag(Word0, flag); }
};

// The code that pairs a block's start row with its end row: Param, and for
// item blocks the item bits above 32 in Options (0 in the other block rows).
inline uint64_t BlockCode(const ScriptRow& row) { return uint64_t(row.Options) << 32 | row.Param; }

// A row's text field as a string: nullptr reads as empty.
inline std::wstring Str(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

// The endings a row's line in the install log gets.
namespace LogEnding {
inline constexpr const wchar_t* Success = L"...Success";
inline constexpr const wchar_t* Fail = L"...Fail";
inline constexpr const wchar_t* Already = L"...Already";
// Not run, for the reason that follows (". " and the reason).
inline constexpr const wchar_t* Skipped = L"...Skipped";
}  // namespace LogEnding

}  // namespace tessel::script
