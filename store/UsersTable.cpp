#include "store/UsersTable.h"

#include <cstdio>
#include <string>

#include "foundation/StartupValues.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "store/ChatOptions.h"
#include "store/FieldAccess.h"
#include "store/IntroNotes.h"
#include "store/SettingsTable.h"
#include "store/UserRecord.h"

namespace {
bool SameName(CDbfFile& table, const char* field, const char* name)
{
    return lstrcmpiA(ReadText(table, field, 25).c_str(), name) == 0;
}

// The user id of the first record whose names match (a null computer name
// matches any); 0 when none does.
DWORD FindRecord(CDbfFile& table, const char* userName, const char* computerName)
{
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        if (SameName(table, "SZUSERNAME", userName) && (!computerName || SameName(table, "SZCOMPUTER", computerName)))
            return static_cast<DWORD>(ReadNumber(table, "WUSERID"));
    return 0;
}

std::string Cut25(const char* name)
{
    return std::string(name).substr(0, 25);
}
}

void IdentifyUser(CreatedNotes& introNotes)
{
    try {
        const StartupValues& values = GetStartupValues();
        if (values.commandLineUser[0] != '\0') {
            FindUserRecord(introNotes);
            return;
        }
        if (FindCurrentUser())
            ReadUserSettings();
        else
            CreateDefaultUser(false, introNotes);
        LoadChatOptions();
    } catch (const CGenericException&) {
        throw;
    } catch (...) {
        throw CGenericException("IdentifyUser Unknown exception");
    }
}

void FindUserRecord(CreatedNotes& introNotes)
{
    const StartupValues& values = GetStartupValues();
    const char* named = values.commandLineUser;
    DWORD userId = 0;
    {
        CUsersTable users;
        users.Open("READ");
        userId = FindRecord(users, named, named);
        users.Close();
    }
    if (!userId) {
        // The logged-on user's record becomes the named user's.
        CUsersTable users;
        users.Open("MAPPINGALL");
        userId = FindRecord(users, Cut25(values.userName).c_str(), nullptr);
        if (userId) {
            WriteText(users, userId, "SZUSERNAME", named);
            WriteText(users, userId, "SZCOMPUTER", named);
        }
        users.Close();
    }
    if (!userId) {
        CreateDefaultUser(true, introNotes);
        return;
    }
    UserSettings().userId = userId;
    ReadUserSettings();
}

void CreateDefaultUser(bool named, CreatedNotes& introNotes)
{
    const StartupValues& values = GetStartupValues();
    if (named)
        FillNewUserRecord(values.commandLineUser, values.commandLineUser);
    else
        FillNewUserRecord(Cut25(values.userName).c_str(), Cut25(values.computerName).c_str());
    LoadStylesAndOptions();
    LoadHotkeyEnableFlags();
    CreateIntroNotes(UserSettings().userId, introNotes);
}

bool FindCurrentUser()
{
    const StartupValues& values = GetStartupValues();
    CUsersTable users;
    users.Open("READ");
    DWORD userId = FindRecord(users, Cut25(values.userName).c_str(), Cut25(values.computerName).c_str());
    users.Close();
    if (userId)
        UserSettings().userId = userId;
    return userId != 0;
}

CMemArray<CUserEntry>& UsersArray()
{
    static CMemArray<CUserEntry> users;
    return users;
}

int FillArraySharingNotes()
{
    CUsersTable users;
    users.Open("READ");
    DWORD count = users.GetRecordCount();
    if (count == 0) {
        users.Close();
        ShowMessageBox(nullptr, "No users found in the table??", ProgramTitle, kMbOk);
        return 0;
    }
    CMemArray<CUserEntry>& entries = UsersArray();
    entries.Alloc(count + 1);
    std::snprintf(entries[0].userName, sizeof entries[0].userName, " ");
    std::snprintf(entries[0].computerName, sizeof entries[0].computerName, " ");
    entries[0].sharesNotes = 0;
    for (users.GoTop(); !users.IsEOF(); users.Skip(1)) {
        long id = ReadNumber(users, "WUSERID");
        if (id < 0 || static_cast<DWORD>(id) > count) {
            users.Close();
            ShowMessageBox(nullptr, "dwUserId > dwUsersFound", "Error", kMbOk);
            return 0;
        }
        if (id == 0) {
            users.Close();
            ShowMessageBox(nullptr, "dwUserId==0", "FillArraySharingNotes", kMbOk);
            return 0;
        }
        CUserEntry& entry = entries[static_cast<DWORD>(id)];
        ReadTrimmedText(users, "SZUSERNAME", entry.userName, sizeof entry.userName);
        ReadTrimmedText(users, "SZCOMPUTER", entry.computerName, sizeof entry.computerName);
        entry.sharesNotes = ReadFlag(users, "BSHARENOTE");
    }
    users.Close();
    return 1;
}

DWORD FindUserIndex(const char* userName, const char* computerName)
{
    CMemArray<CUserEntry>& entries = UsersArray();
    for (DWORD i = 0; i < entries.GetCount(); ++i)
        if (lstrcmpiA(entries[i].userName, userName) == 0 && lstrcmpiA(entries[i].computerName, computerName) == 0)
            return i;
    return 0;
}

void SaveShareNotesForEveryUser(DWORD share)
{
    CUsersTable users;
    users.Open("MAPPINGALL");
    const DWORD count = users.GetRecordCount();
    for (DWORD record = 1; record <= count; ++record)
        if (!users.IsDeleted(record))
            WriteLogical(users, record, "BSHARENOTE", share != 0);
    users.Close();
    CMemArray<CUserEntry>& entries = UsersArray();
    for (DWORD i = 1; i < entries.GetCount(); ++i)
        entries[i].sharesNotes = share != 0;
}
