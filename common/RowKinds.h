// Row kinds, row flags and information codes of the install script, and what
// each kind is. The numbers are also the values that the undo log stores, so
// the uninstaller reads the same numbers.
#pragma once
#include <cstdint>

namespace tessel::common {

// The stored numbers, in a column.
// clang-format off
enum class RowKind : uint16_t {
    CompilePackage      = 0x0006,
    RegisterPackage     = 0x0008,
    AppendText          = 0x000A,
    DeleteOneFile       = 0x000B,
    RegisterWinHelp     = 0x000C,
    SetHelpDir          = 0x000D,
    CreateRegKey        = 0x000F,
    CheckFile           = 0x0013,
    AddSearchPath       = 0x0015,
    UninstallPrevious   = 0x0018,
    AppendTextOld       = 0x0019,  // read from old logs only, undone like RowKind::AppendText
    CopyFiles           = 0x001A,
    DeleteFiles         = 0x001B,
    MergeFiles          = 0x001C,
    ReplaceText         = 0x001D,
    RunFile             = 0x0022,
    RunInstallFile      = 0x0023,
    AddIdePath          = 0x0026,
    IfIde               = 0x4003,
    EndIfIde            = 0x4004,
    SetIde              = 0x4009,
    Info                = 0x400E,
    IfItem              = 0x4016,
    EndIfItem           = 0x4017,
    IfOption            = 0x401E,
    EndIfOption         = 0x401F,
    IfNotOption         = 0x4020,
    EndIfNotOption      = 0x4021,
    IfFileExists        = 0x4024,
    EndIfFileExists     = 0x4025,
    If64BitIde          = 0x4026,  // the current IDE comes with its 64-bit IDE
    EndIf64BitIde       = 0x4027,
    IfModernCpp         = 0x402A,  // the current IDE comes with the Modern C++ toolchain (Win64x)
    EndIfModernCpp      = 0x402B,
    // Records only: a SetIde row's record in an install with a registry
    // profile. Text: "<package folder>\<profile>". Uninstallers that predate
    // profiles know no such kind and select no IDE for its records, so they
    // never take the profile's entries out of the IDE's own keys.
    SetIdeProfile       = 0x4028,
    CreateDir           = 0x8001,
    ExtractFile         = 0x8002,
    ClearDir            = 0x8005,
    SetCurrentDir       = 0x8007,
    ExtractFileOnce     = 0x8010,
    ExtractFileIfNewer  = 0x8011,
    RegisterUninstall   = 0x8012,
    CopyOneFile         = 0x8014,
};
// clang-format on

// Flag bits of a row's or record's first word (bits 16-31; the kind is in bits 0-15).
enum class RowFlag : uint32_t {
    None = 0,
    Undo = 0x10000,           // the runner writes an undo record for the row
    KeepOnPartial = 0x20000,  // a partial uninstall leaves the recorded change in place
};

constexpr RowFlag operator|(RowFlag a, RowFlag b) {
    return static_cast<RowFlag>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}
// The first word of a row or record without flag bits.
constexpr uint32_t FirstWord(RowKind kind) { return static_cast<uint16_t>(kind); }
// A row's or record's first word: the kind with flag bits added.
constexpr uint32_t operator|(RowKind kind, RowFlag flags) { return FirstWord(kind) | static_cast<uint32_t>(flags); }
constexpr uint32_t operator|(uint32_t word0, RowFlag flags) { return word0 | static_cast<uint32_t>(flags); }
// The flag bits of a first word, unknown ones included.
constexpr RowFlag FlagsOf(uint32_t word0) { return static_cast<RowFlag>(word0 & 0xFFFF0000u); }
// Whether a first word carries flag (any of them, for a combination).
constexpr bool HasFlag(uint32_t word0, RowFlag flag) { return (word0 & static_cast<uint32_t>(flag)) != 0; }

// Information codes: the Param of RowKind::Info rows and records, saying which
// product fact the record's text holds.
enum class InfoCode : uint32_t {
    ProductName = 1,
    ProductVersion = 2,
    InstallDir = 4,
    ProductRegKey = 5,
    Direction = 6,  // empty text: undo the following records from the end
    ProductIntName = 7,
};
// The stored number of an information code (a row's or record's Param).
constexpr uint32_t InfoParam(InfoCode code) { return static_cast<uint32_t>(code); }

// Which IDE a registered design-time package is for: the Param of
// RowKind::RegisterPackage rows and records. Logs written before the 64-bit
// IDE was supported hold 0 there.
enum class PackageIde : uint32_t {
    Ide32 = 0,  // "Known Packages"
    Ide64 = 1,  // "Known Packages x64": the 64-bit IDE's, built for Win64
};
constexpr uint32_t PackageIdeParam(PackageIde ide) { return static_cast<uint32_t>(ide); }

// ---- What each kind is ----------------------------------------------------
// In one place: its name in the bench's row times, the caption the progress
// page shows while it runs, the status text while its record is undone, its
// class and the change module that applies, records, checks and undoes it
// (changes/). Describe lists every kind in a switch without a default, so a
// kind added to the enum without its entry does not build (-Wswitch-enum,
// -Werror). Pure: the uninstall engine's fuzz target uses it.

// File rows also run in copy-only mode, control rows steer the run, IDE rows
// change an IDE's settings. The stored numbers say the same: bit 15 of the kind
// marks file rows, bit 14 control rows, neither IDE rows.
enum class RowClass : uint8_t { File, Control, Ide };

// The class that a kind's stored number carries; also the class of numbers
// that name no kind (a damaged or newer log).
constexpr RowClass ClassOfKindNumber(uint16_t kind) {
    return (kind & 0x8000u) ? RowClass::File : (kind & 0x4000u) ? RowClass::Control : RowClass::Ide;
}

// The module of changes/ that owns a kind: it applies its rows, writes their
// undo records, judges the records an uninstall reads and undoes them. None:
// the runner and the uninstall engine handle the kind themselves (blocks, the
// IDE selection, product information, removing an earlier installation).
enum class ChangeModule : uint8_t {
    None,
    Files,           // files and folders (changes/files)
    Packages,        // compiling, checking and registering packages (changes/packages)
    PathLists,       // the IDEs' search and C++ path lists (changes/pathlists)
    HelpLines,       // help-configuration lines, WinHelp and the help batch (changes/help)
    RegistryKeys,    // registry keys, the product key among them (changes/registry)
    UninstallEntry,  // the Windows uninstall entry (changes/uninstallentry)
};

struct RowKindInfo {
    const char* LogName;        // the bench's name of the kind
    const wchar_t* Caption;     // progress page caption; nullptr keeps the previous one
    const wchar_t* UndoStatus;  // uninstall status line; nullptr keeps the previous one
    RowClass Class;
    ChangeModule Module;
};

constexpr RowKindInfo Describe(RowKind kind) {
    constexpr RowClass F = RowClass::File, C = RowClass::Control, I = RowClass::Ide;
    constexpr const wchar_t* UnregisteringPackage = L"Unregistering package";
    constexpr const wchar_t* UnregisteringHelp = L"Unregistering help";
    constexpr const wchar_t* RemovingFile = L"Removing file";
    using M = ChangeModule;
    switch (kind) {
    case RowKind::CompilePackage: return {"CompilePackage", L"Compiling package", nullptr, I, M::Packages};
    case RowKind::RegisterPackage: return {"RegisterPackage", nullptr, UnregisteringPackage, I, M::Packages};
    case RowKind::AppendText: return {"AppendText", nullptr, UnregisteringHelp, I, M::HelpLines};
    case RowKind::DeleteOneFile: return {"DeleteFile", nullptr, RemovingFile, I, M::Files};
    case RowKind::RegisterWinHelp: return {"RegisterWinHelp", nullptr, UnregisteringHelp, I, M::HelpLines};
    case RowKind::SetHelpDir: return {"SetHelpDir", nullptr, nullptr, I, M::HelpLines};
    case RowKind::CreateRegKey: return {"CreateRegKey", nullptr, L"Removing registry key", I, M::RegistryKeys};
    case RowKind::CheckFile: return {"CheckFile", nullptr, nullptr, I, M::Packages};
    case RowKind::AddSearchPath: return {"AddSearchPath", nullptr, UnregisteringPackage, I, M::PathLists};
    case RowKind::UninstallPrevious: return {"UninstallPrevious", nullptr, nullptr, I, M::None};
    // Old logs only; its records keep the previous status line, as they always did.
    case RowKind::AppendTextOld: return {"AppendTextOld", nullptr, nullptr, I, M::HelpLines};
    case RowKind::CopyFiles: return {"CopyFiles", nullptr, nullptr, I, M::Files};
    case RowKind::DeleteFiles: return {"DeleteFiles", nullptr, nullptr, I, M::Files};
    case RowKind::MergeFiles: return {"MergeFiles", nullptr, nullptr, I, M::Files};
    case RowKind::ReplaceText: return {"ReplaceText", nullptr, nullptr, I, M::Files};
    case RowKind::RunFile: return {"RunFile", nullptr, nullptr, I, M::Files};
    case RowKind::RunInstallFile: return {"RunInstallFile", nullptr, UnregisteringHelp, I, M::HelpLines};
    case RowKind::AddIdePath: return {"AddIdePath", nullptr, UnregisteringPackage, I, M::PathLists};
    case RowKind::IfIde:
    case RowKind::EndIfIde:
    case RowKind::IfItem:
    case RowKind::EndIfItem:
    case RowKind::IfOption:
    case RowKind::EndIfOption:
    case RowKind::IfNotOption:
    case RowKind::EndIfNotOption:
    case RowKind::IfFileExists:
    case RowKind::EndIfFileExists:
    case RowKind::If64BitIde:
    case RowKind::EndIf64BitIde:
    case RowKind::IfModernCpp:
    case RowKind::EndIfModernCpp: return {"Block", nullptr, nullptr, C, M::None};
    case RowKind::SetIde:
    case RowKind::SetIdeProfile: return {"SetIde", nullptr, nullptr, C, M::None};
    case RowKind::Info: return {"Info", nullptr, nullptr, C, M::None};
    case RowKind::CreateDir: return {"CreateDir", L"Creating directory", L"Removing directory", F, M::Files};
    case RowKind::ExtractFile: return {"ExtractFile", L"Copying file", RemovingFile, F, M::Files};
    case RowKind::ClearDir: return {"ClearDir", nullptr, nullptr, F, M::Files};
    case RowKind::SetCurrentDir: return {"SetCurrentDir", nullptr, nullptr, F, M::Files};
    case RowKind::ExtractFileOnce: return {"ExtractFileOnce", nullptr, RemovingFile, F, M::Files};
    case RowKind::ExtractFileIfNewer: return {"ExtractFileIfNewer", nullptr, nullptr, F, M::Files};
    case RowKind::RegisterUninstall:
        return {"RegisterUninstall", nullptr, L"Unregistering uninstall", F, M::UninstallEntry};
    case RowKind::CopyOneFile: return {"CopyFile", nullptr, RemovingFile, F, M::Files};
    }
    // A number that names no kind: nothing to show, nothing to apply or undo.
    return {"Other", nullptr, nullptr, ClassOfKindNumber(static_cast<uint16_t>(kind)), M::None};
}

// The kind that closes a block opened by kind (each end kind follows its start kind).
constexpr RowKind BlockEndOf(RowKind startKind) { return static_cast<RowKind>(static_cast<uint16_t>(startKind) + 1); }

}  // namespace tessel::common
