// Who may change the install folder. The uninstall entry runs what lies there
// as administrator, and the administrators' IDEs load its packages, so only
// administrators may change it. A folder the setup creates gets a protected
// list of its own; an existing folder is judged by the list it has.
#pragma once
#include <windows.h>
#include <string>
#include "common/Errors.h"
#include "common/Handles.h"

namespace tessel::common {

// Full control for SYSTEM and Administrators, read and execute for Users, on
// the folder and inherited by everything below it; protected, so nothing of
// the parent's list (such as a drive root's "Authenticated Users: Modify") comes in.
inline constexpr const wchar_t* InstallFolderSddl = L"D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// The descriptor of InstallFolderSddl, or of any other SDDL text; 0 or the
// Win32 error. The descriptor is freed with its owner.
[[nodiscard]] DWORD DescriptorFromSddl(const wchar_t* sddl, UniqueLocal& descriptor);

// True when nobody but SYSTEM, Administrators, TrustedInstaller and self (the
// elevated user running the setup) can change the folder or what is created in
// it: its owner is one of them, and no allowing entry, inherited ones and those
// meant only for what is created below included, gives anyone else a right to
// write, add, delete or change the list or owner. A missing list (everyone
// may do anything) is never safe. Creator Owner counts as safe: it only gives
// what its creator could already do.
bool OnlyAdministratorsCanChange(PSECURITY_DESCRIPTOR descriptor, PSID self);

// The owner and list of an existing folder; 0 or the Win32 error.
[[nodiscard]] DWORD ReadFolderDescriptor(const std::wstring& folder, UniqueLocal& descriptor);
// The user this process runs as (a copy, freed with its owner); 0 or the Win32 error.
[[nodiscard]] DWORD CurrentUserSid(UniqueLocal& sid);

// Creates folder and every missing parent with InstallFolderSddl; folders that
// exist keep their list. 0 or the Win32 error.
[[nodiscard]] DWORD CreateProtectedFolder(const std::wstring& folder);
// Gives an existing folder InstallFolderSddl in place of its list; everything
// below it that inherits takes it on. 0 or the Win32 error.
[[nodiscard]] DWORD ProtectFolder(const std::wstring& folder);

// Why an existing install folder that others can change is refused.
inline constexpr DWORD FolderOpenToUsersError = 0x20000001u;  // an application's own code (bit 29)
inline constexpr const wchar_t* FolderOpenToUsersText =
    L"Users who are not administrators can change this folder. Choose a folder that only administrators can "
    L"change, or a new one: Setup creates it so that only administrators can.";

}  // namespace tessel::common
