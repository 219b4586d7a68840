// What each row kind is, in one place: its name in the bench's row times, the
// caption the progress page shows while it runs, the status text while its
// record is undone, its class and the change module that applies, records,
// checks and undoes it (changes/). Describe lists every kind in a
// switch without a default, so a kind added to the enum without its entry does
// not build (-Wswitch-enum, -Werror). Pure and header-only: the uninstall
// engine's fuzz target uses it without the Win32 side of the undo steps.
#pragma once
#include <cstdint>
#include "common/RowKinds.h"

namespace tessel::common {

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
    case RowKind::EndIf64BitIde: return {"Block", nullptr, nullptr, C, M::None};
    case RowKind::SetIde: return {"SetIde", nullptr, nullptr, C, M::None};
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
