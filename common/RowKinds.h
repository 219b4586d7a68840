// Row kinds and row flags of the install script. They are also the values that
// the undo log stores, so the uninstaller reads the same numbers.
#pragma once
#include <cstdint>

namespace tessel::common {

enum RowKind : uint16_t {
    skCompilePackage      = 0x0006,
    skRegisterPackage     = 0x0008,
    skAppendText          = 0x000A,
    skDeleteFile          = 0x000B,
    skRegisterWinHelp     = 0x000C,
    skSetHelpDir          = 0x000D,
    skCreateRegKey        = 0x000F,
    skCheckFile           = 0x0013,
    skAddSearchPath       = 0x0015,
    skUninstallPrevious   = 0x0018,
    skAppendTextOld       = 0x0019,  // read from old logs only, undone like skAppendText
    skCopyFiles           = 0x001A,
    skDeleteFiles         = 0x001B,
    skMergeFiles          = 0x001C,
    skReplaceText         = 0x001D,
    skRunFile             = 0x0022,
    skRunInstallFile      = 0x0023,
    skAddIdePath          = 0x0026,
    skIfIde               = 0x4003,
    skEndIfIde            = 0x4004,
    skSetIde              = 0x4009,
    skInfo                = 0x400E,
    skIfItem              = 0x4016,
    skEndIfItem           = 0x4017,
    skIfOption            = 0x401E,
    skEndIfOption         = 0x401F,
    skIfNotOption         = 0x4020,
    skEndIfNotOption      = 0x4021,
    skIfFileExists        = 0x4024,
    skEndIfFileExists     = 0x4025,
    skCreateDir           = 0x8001,
    skExtractFile         = 0x8002,
    skClearDir            = 0x8005,
    skSetCurrentDir       = 0x8007,
    skExtractFileOnce     = 0x8010,
    skExtractFileIfNewer  = 0x8011,
    skRegisterUninstall   = 0x8012,
    skCopyFile            = 0x8014,
};

// Flag bits of a row's first word (Kind in bits 0-15, Flags in bits 16-31).
constexpr uint32_t sfUndo          = 0x10000;
constexpr uint32_t sfKeepOnPartial = 0x20000;

// Row classes by the two top bits of Kind.
constexpr uint16_t kindFileClass    = 0x8000;
constexpr uint16_t kindControlClass = 0x4000;
inline bool IsIdeRowKind(uint16_t kind) { return (kind & (kindFileClass | kindControlClass)) == 0; }

// Information codes of skInfo rows and records.
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
