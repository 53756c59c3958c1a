#include "shell/FolderSecurity.h"

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/StartupValues.h"

namespace {
const char kProgramKey[] = "MACHINE\\SOFTWARE\\Corvell Ltd";

// Write data, append data, generic write and generic all.
const DWORD kWriteTypeRights = 0x50000006;
// Read, write, delete; read data, write data, append data, delete child, write attributes.
const DWORD kFolderGrant = 0xC0010147;
// Read, write, change permissions, read control, delete; the five key rights.
const DWORD kKeyGrant = 0xC003001F;

// The built-in Users group: NT authority, 32, 545. Recognised by its SID, as
// its name differs from one language of Windows to another.
PSID UsersSid()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0,
                                  &sid))
        return nullptr;
    return sid;
}

// True when an allow entry of Users holds a write-type right; false also when
// the list cannot be read whole.
bool UsersMayWrite(PACL acl, PSID users, bool& readable)
{
    readable = false;
    ACL_SIZE_INFORMATION size = {};
    if (!GetAclInformation(acl, &size, sizeof size, AclSizeInformation) || size.AceCount != acl->AceCount)
        return false;
    bool mayWrite = false;
    for (DWORD index = 0; index < size.AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(acl, index, &entry) || !entry)
            return false;
        ACE_HEADER* header = static_cast<ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        ACCESS_ALLOWED_ACE* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        PSID sid = &allowed->SidStart;
        if (!IsValidSid(sid))
            return false;
        if (EqualSid(sid, users) && (allowed->Mask & kWriteTypeRights) != 0)
            mayWrite = true;
    }
    readable = true;
    return mayWrite;
}

void GrantUsers(const char* objectName, SE_OBJECT_TYPE objectType, PACL oldAcl, PSID users)
{
    EXPLICIT_ACCESSA grant = {};
    grant.grfAccessPermissions = objectType == SE_REGISTRY_KEY ? kKeyGrant : kFolderGrant;
    grant.grfAccessMode = GRANT_ACCESS;
    grant.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    grant.Trustee.TrusteeType = TRUSTEE_IS_GROUP;
    grant.Trustee.ptstrName = static_cast<LPSTR>(users);
    PACL newAcl = nullptr;
    if (SetEntriesInAclA(1, &grant, oldAcl, &newAcl) != ERROR_SUCCESS)
        return;
    std::string name = objectName;
    SetNamedSecurityInfoA(&name[0], objectType, DACL_SECURITY_INFORMATION, nullptr, nullptr, newAcl, nullptr);
    LocalFree(newAcl);
}
}

void CheckObjectSecurity(const char* objectName, SE_OBJECT_TYPE objectType, DWORD& found)
{
    std::string name = objectName;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(&name[0], objectType, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return;
    PSID users = UsersSid();
    if (users && acl && acl->AceCount > 0 && IsValidSecurityDescriptor(descriptor)) {
        bool readable = false;
        if (UsersMayWrite(acl, users, readable))
            found = 1;
        else if (readable)
            GrantUsers(objectName, objectType, acl, users);
    }
    if (users)
        FreeSid(users);
    LocalFree(descriptor);
}

void CheckFolderSecurity(DWORD& found, SE_OBJECT_TYPE objectType)
{
    if (objectType == SE_REGISTRY_KEY)
        CheckObjectSecurity(kProgramKey, objectType, found);
    else
        CheckObjectSecurity(GetStartupValues().programFolder, objectType, found);
}
