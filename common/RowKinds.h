// Row kinds and row flags of the install script. They are also the values that
// the undo log stores, so the uninstaller reads the same numbers.
#pragma once
#include <cstdint>

namespace tessel::common {

enum class RowKind : uint16_t {
    CompilePackage      = 0x0006,
    RegisterPackage     = 0x0008,
    AppendText          = 0x000A,
    DeleteOneFile          = 0x000B,
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
    CreateDir           = 0x8001,
    ExtractFile         = 0x8002,
    ClearDir            = 0x8005,
    SetCurrentDir       = 0x8007,
    ExtractFileOnce     = 0x8010,
    ExtractFileIfNewer  = 0x8011,
    RegisterUninstall   = 0x8012,
    CopyOneFile            = 0x8014,
};

// Flag bits of a row's first word (Kind in bits 0-15, Flags in bits 16-31).
constexpr uint32_t sfUndo          = 0x10000;
constexpr uint32_t sfKeepOnPartial = 0x20000;

// A row's or record's first word: the kind in bits 0-15, flag bits above.
inline constexpr uint32_t operator|(RowKind kind, uint32_t flags) { return static_cast<uint16_t>(kind) | flags; }
// The first word of a row or record without flag bits.
inline constexpr uint32_t FirstWord(RowKind kind) { return static_cast<uint16_t>(kind); }

// Row classes by the two top bits of Kind.
constexpr uint16_t kindFileClass    = 0x8000;
constexpr uint16_t kindControlClass = 0x4000;
inline bool IsIdeRowKind(RowKind kind) {
    return (static_cast<uint16_t>(kind) & (kindFileClass | kindControlClass)) == 0;
}

// Information codes of RowKind::Info rows and records.
enum : uint32_t {
    infoProductName    = 1,
    infoProductVersion = 2,
    infoInstallDir     = 4,
    infoProductRegKey  = 5,
    infoDirection      = 6,  // empty text: undo the following records from the end
    infoProductIntName = 7,
};

// Names of Windows registry places that both programs use.
inline constexpr const wchar_t* UninstallRootKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const wchar_t* WinHelpKey = L"Software\\Microsoft\\Windows\\Help";

}  // namespace tessel::common
