// Row kinds, row flags and information codes of the install script. They are
// also the values that the undo log stores, so the uninstaller reads the same numbers.
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

}  // namespace tessel::common
