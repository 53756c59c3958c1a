// The Users group given write access where it lacks it, on a registry key
// (where the access list is kept under Wine).
#include <windows.h>

#include <aclapi.h>

#include <gtest/gtest.h>

#include "shell/FolderSecurity.h"

namespace {
const char kKeyPath[] = "Software\\QuillnetFolderSecurityTest";
const char kKeyName[] = "CURRENT_USER\\Software\\QuillnetFolderSecurityTest";

PSID BuiltinSid(DWORD rid)
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0, &sid);
    return sid;
}

// The key's list: Administrators with every right, Users with the given one.
void SetKeyAccess(DWORD usersRights)
{
    PSID admins = BuiltinSid(DOMAIN_ALIAS_RID_ADMINS);
    PSID users = BuiltinSid(DOMAIN_ALIAS_RID_USERS);
    EXPLICIT_ACCESSA entries[2] = {};
    const PSID sids[2] = {admins, users};
    const DWORD rights[2] = {KEY_ALL_ACCESS, usersRights};
    for (int i = 0; i < 2; ++i) {
        entries[i].grfAccessPermissions = rights[i];
        entries[i].grfAccessMode = SET_ACCESS;
        entries[i].Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entries[i].Trustee.TrusteeType = TRUSTEE_IS_GROUP;
        entries[i].Trustee.ptstrName = static_cast<LPSTR>(sids[i]);
    }
    PACL acl = nullptr;
    ASSERT_EQ(SetEntriesInAclA(2, entries, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
    char name[] = "CURRENT_USER\\Software\\QuillnetFolderSecurityTest";
    ASSERT_EQ(SetNamedSecurityInfoA(name, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(acl);
    FreeSid(admins);
    FreeSid(users);
}

// The number of entries, and whether one allows Users a write-type right.
int EntryCount(bool& usersMayWrite)
{
    char name[] = "CURRENT_USER\\Software\\QuillnetFolderSecurityTest";
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(name, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return -1;
    PSID users = BuiltinSid(DOMAIN_ALIAS_RID_USERS);
    usersMayWrite = false;
    int count = acl ? acl->AceCount : 0;
    for (int i = 0; i < count; ++i) {
        ACCESS_ALLOWED_ACE* entry = nullptr;
        if (GetAce(acl, i, reinterpret_cast<void**>(&entry)) && entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&entry->SidStart, users) && (entry->Mask & 0x50000006))
            usersMayWrite = true;
    }
    FreeSid(users);
    LocalFree(descriptor);
    return count;
}

class FolderSecurity : public testing::Test {
protected:
    void SetUp() override
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKeyPath, &key), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath); }
};
}

TEST_F(FolderSecurity, UsersWithOnlyReadRightsAreGrantedWriteOnceAndThenFound)
{
    SetKeyAccess(KEY_READ);
    bool mayWrite = true;
    int before = EntryCount(mayWrite);
    ASSERT_GE(before, 2);
    EXPECT_FALSE(mayWrite);

    DWORD found = 0;
    CheckObjectSecurity(kKeyName, SE_REGISTRY_KEY, found);
    EXPECT_EQ(found, 0u);
    EXPECT_EQ(EntryCount(mayWrite), before + 1);
    EXPECT_TRUE(mayWrite);

    CheckObjectSecurity(kKeyName, SE_REGISTRY_KEY, found);
    EXPECT_EQ(found, 1u) << "the grant is found by the Users SID";
    EXPECT_EQ(EntryCount(mayWrite), before + 1) << "nothing more is added";
}

TEST_F(FolderSecurity, UsersWhoMayWriteAlreadyLeaveTheListAlone)
{
    SetKeyAccess(KEY_READ | KEY_SET_VALUE);
    bool mayWrite = false;
    int before = EntryCount(mayWrite);
    ASSERT_TRUE(mayWrite);
    DWORD found = 0;
    CheckObjectSecurity(kKeyName, SE_REGISTRY_KEY, found);
    EXPECT_EQ(found, 1u);
    EXPECT_EQ(EntryCount(mayWrite), before);

    // An object that cannot be read changes nothing and says nothing.
    DWORD untouched = 0;
    CheckObjectSecurity("CURRENT_USER\\Software\\NoSuchQuillnetKey", SE_REGISTRY_KEY, untouched);
    EXPECT_EQ(untouched, 0u);
}
