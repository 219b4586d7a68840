// The install folder's access list: made, judged and applied.
#include "common/FolderSecurity.h"
#include <aclapi.h>
#include <sddl.h>
#include "common/Files.h"

namespace tessel::common {

namespace {

// Rights that let their holder change the folder, what is in it, its list or its owner.
constexpr ACCESS_MASK ChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                     FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                     GENERIC_ALL | MAXIMUM_ALLOWED;

bool IsSid(PSID sid, const wchar_t* text) {
    UniqueLocal known;
    PSID parsed = nullptr;
    if (!ConvertStringSidToSidW(text, &parsed)) return false;
    known.reset(parsed);
    return EqualSid(sid, parsed) != 0;
}

bool IsTrusted(PSID sid, PSID self) {
    if (self && EqualSid(sid, self)) return true;
    for (const wchar_t* trusted :
         {L"S-1-5-18", L"S-1-5-32-544", L"S-1-3-0", L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"})
        if (IsSid(sid, trusted)) return true;
    return false;
}

}  // namespace

DWORD DescriptorFromSddl(const wchar_t* sddl, UniqueLocal& descriptor) {
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &made, nullptr))
        return LastErrorOr(ERROR_INVALID_PARAMETER);
    descriptor.reset(made);
    return 0;
}

bool OnlyAdministratorsCanChange(PSECURITY_DESCRIPTOR descriptor, PSID self) {
    PSID owner = nullptr;
    BOOL ownerDefaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &ownerDefaulted)) return false;
    // The owner may always rewrite the list.
    if (owner && !IsTrusted(owner, self)) return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) return false;
    if (!present || !dacl) return false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace)) return false;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        switch (header->AceType) {
        case ACCESS_ALLOWED_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: {
            // Both have the mask and the trustee's SID at the same places.
            auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            if ((allowed->Mask & ChangeRights) && !IsTrusted(&allowed->SidStart, self)) return false;
            break;
        }
        case ACCESS_DENIED_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_ACE_TYPE:
        case ACCESS_DENIED_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: break;  // taking rights away is never a danger
        default: return false;                               // an allowing kind this judge does not read
        }
    }
    return true;
}

DWORD ReadFolderDescriptor(const std::wstring& folder, UniqueLocal& descriptor) {
    PSECURITY_DESCRIPTOR read = nullptr;
    const DWORD error =
        GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, nullptr, nullptr, &read);
    if (error != ERROR_SUCCESS) return error;
    descriptor.reset(read);
    return 0;
}

DWORD CurrentUserSid(UniqueLocal& sid) {
    UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return LastErrorOr(ERROR_ACCESS_DENIED);
    DWORD size = 0;
    (void)GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);  // asks for the size only
    if (size == 0) return LastErrorOr(ERROR_INVALID_DATA);
    UniqueLocal buffer(LocalAlloc(LMEM_FIXED, size));
    if (!buffer) return LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.get(), size, &size)) return LastErrorOr(ERROR_INVALID_DATA);
    PSID user = static_cast<TOKEN_USER*>(buffer.get())->User.Sid;
    const DWORD length = GetLengthSid(user);
    UniqueLocal copy(LocalAlloc(LMEM_FIXED, length));
    if (!copy) return LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
    if (!CopySid(length, copy.get(), user)) return LastErrorOr(ERROR_INVALID_SID);
    sid = std::move(copy);
    return 0;
}

DWORD CreateProtectedFolder(const std::wstring& folder) {
    UniqueLocal descriptor;
    if (const DWORD error = DescriptorFromSddl(InstallFolderSddl, descriptor)) return error;
    SECURITY_ATTRIBUTES security{sizeof security, descriptor.get(), FALSE};
    return CreateDirectoryPath(folder, &security);
}

DWORD ProtectFolder(const std::wstring& folder) {
    UniqueLocal descriptor;
    if (const DWORD error = DescriptorFromSddl(InstallFolderSddl, descriptor)) return error;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted))
        return LastErrorOr(ERROR_INVALID_ACL);
    std::wstring name = folder;  // the call takes a writable name
    return SetNamedSecurityInfoW(&name[0], SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 dacl, nullptr);
}

}  // namespace tessel::common
