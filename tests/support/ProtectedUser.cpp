#include "support/ProtectedUser.h"

#include <gtest/gtest.h>

#include "store/FieldAccess.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"

// The password text of "secret".
const char kSecretPasswordText[] = "426897c0";

void PrepareProtectingUser(const ProgramInstall& install, int passwordMode, bool askedAtStart)
{
    {
        RunningProgram first(install, "");
        ASSERT_NE(WaitForMainWindow(first), nullptr);
        CloseProgram(install, first);
    }
    CurrentFolder data(install.Path());
    CUsersTable users;
    users.Open("MAPPINGALL");
    const DWORD count = users.GetRecordCount();
    ASSERT_GT(count, 0u);
    for (DWORD record = 1; record <= count; ++record) {
        users.SetStringValue(record, "SZ1", kSecretPasswordText);
        users.SetLongValue(record, "W1", passwordMode);
        WriteLogical(users, record, "BRECEIVED1", askedAtStart);
    }
    users.Close();
}
