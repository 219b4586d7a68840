// What each row kind is, in one place: its name in the bench's row times, the
// caption the progress page shows while it runs, the status text while its
// record is undone, its class and its undo step. Describe lists every kind in a
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

// How a record of a kind is taken back (UndoRecordStep); None: nothing is done.
enum class UndoAction : uint8_t {
    None,
    SelectIde,          // later records are resolved for this IDE
    UnregisterPackage,  // the Known Packages value and the package folder on the search paths
    RemoveSearchPath,   // the folder from the IDE's library search paths
    RemoveIdePath,      // the folder from the IDE path list the record names
    RemoveHelpLine,     // the appended line from the IDE's help-configuration file
    DeleteFile,
    RemoveDir,
    UnregisterWinHelp,
    DeleteRegKey,
    RunHelpUnregister,  // the help deregistration batch file
    RemoveUninstallEntry,
};

struct RowKindInfo {
    const char* LogName;        // the bench's name of the kind
    const wchar_t* Caption;     // progress page caption; nullptr keeps the previous one
    const wchar_t* UndoStatus;  // uninstall status line; nullptr keeps the previous one
    RowClass Class;
    UndoAction Undo;
};

constexpr RowKindInfo Describe(RowKind kind) {
    constexpr RowClass F = RowClass::File, C = RowClass::Control, I = RowClass::Ide;
    constexpr const wchar_t* UnregisteringPackage = L"Unregistering package";
    constexpr const wchar_t* UnregisteringHelp = L"Unregistering help";
    constexpr const wchar_t* RemovingFile = L"Removing file";
    using A = UndoAction;
    switch (kind) {
    case RowKind::CompilePackage: return {"CompilePackage", L"Compiling package", nullptr, I, A::None};
    case RowKind::RegisterPackage: return {"RegisterPackage", nullptr, UnregisteringPackage, I, A::UnregisterPackage};
    case RowKind::AppendText: return {"AppendText", nullptr, UnregisteringHelp, I, A::RemoveHelpLine};
    case RowKind::DeleteOneFile: return {"DeleteFile", nullptr, RemovingFile, I, A::DeleteFile};
    case RowKind::RegisterWinHelp: return {"RegisterWinHelp", nullptr, UnregisteringHelp, I, A::UnregisterWinHelp};
    case RowKind::SetHelpDir: return {"SetHelpDir", nullptr, nullptr, I, A::None};
    case RowKind::CreateRegKey: return {"CreateRegKey", nullptr, L"Removing registry key", I, A::DeleteRegKey};
    case RowKind::CheckFile: return {"CheckFile", nullptr, nullptr, I, A::None};
    case RowKind::AddSearchPath: return {"AddSearchPath", nullptr, UnregisteringPackage, I, A::RemoveSearchPath};
    case RowKind::UninstallPrevious: return {"UninstallPrevious", nullptr, nullptr, I, A::None};
    // Old logs only; its records keep the previous status line, as they always did.
    case RowKind::AppendTextOld: return {"AppendTextOld", nullptr, nullptr, I, A::RemoveHelpLine};
    case RowKind::CopyFiles: return {"CopyFiles", nullptr, nullptr, I, A::None};
    case RowKind::DeleteFiles: return {"DeleteFiles", nullptr, nullptr, I, A::None};
    case RowKind::MergeFiles: return {"MergeFiles", nullptr, nullptr, I, A::None};
    case RowKind::ReplaceText: return {"ReplaceText", nullptr, nullptr, I, A::None};
    case RowKind::RunFile: return {"RunFile", nullptr, nullptr, I, A::None};
    case RowKind::RunInstallFile: return {"RunInstallFile", nullptr, UnregisteringHelp, I, A::RunHelpUnregister};
    case RowKind::AddIdePath: return {"AddIdePath", nullptr, UnregisteringPackage, I, A::RemoveIdePath};
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
    case RowKind::EndIf64BitIde: return {"Block", nullptr, nullptr, C, A::None};
    case RowKind::SetIde: return {"SetIde", nullptr, nullptr, C, A::SelectIde};
    case RowKind::Info: return {"Info", nullptr, nullptr, C, A::None};
    case RowKind::CreateDir: return {"CreateDir", L"Creating directory", L"Removing directory", F, A::RemoveDir};
    case RowKind::ExtractFile: return {"ExtractFile", L"Copying file", RemovingFile, F, A::DeleteFile};
    case RowKind::ClearDir: return {"ClearDir", nullptr, nullptr, F, A::None};
    case RowKind::SetCurrentDir: return {"SetCurrentDir", nullptr, nullptr, F, A::None};
    case RowKind::ExtractFileOnce: return {"ExtractFileOnce", nullptr, RemovingFile, F, A::DeleteFile};
    case RowKind::ExtractFileIfNewer: return {"ExtractFileIfNewer", nullptr, nullptr, F, A::None};
    case RowKind::RegisterUninstall:
        return {"RegisterUninstall", nullptr, L"Unregistering uninstall", F, A::RemoveUninstallEntry};
    case RowKind::CopyOneFile: return {"CopyFile", nullptr, RemovingFile, F, A::DeleteFile};
    }
    // A number that names no kind: nothing to show and nothing to undo.
    return {"Other", nullptr, nullptr, ClassOfKindNumber(static_cast<uint16_t>(kind)), A::None};
}

// The kind that closes a block opened by kind (each end kind follows its start kind).
constexpr RowKind BlockEndOf(RowKind startKind) { return static_cast<RowKind>(static_cast<uint16_t>(startKind) + 1); }

}  // namespace tessel::common
