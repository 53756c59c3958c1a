#include "shell/StartupPassword.h"

#include <cstdio>
#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/GlobalsIds.h"
#include "shell/StartupPasswordDialog.h"
#include "store/FieldAccess.h"
#include "store/bytes/PackedValues.h"

namespace {
const DWORD kOldCodeRecord = 3;
const size_t kOldCodeLength = 32;

bool FieldIs(CDbfFile& table, const char* field, const char* wanted)
{
    return lstrcmpiA(ReadTrimmedText(table, field).c_str(), wanted) == 0;
}

// Whether a record carries the "/u=" name as both its user and computer name.
bool NamedUserHasRecord(CDbfFile& users, const char* name)
{
    for (users.GoTop(); !users.IsEOF(); users.Skip(1))
        if (FieldIs(users, "SZUSERNAME", name) && FieldIs(users, "SZCOMPUTER", name))
            return true;
    return false;
}

bool RecordMatches(CDbfFile& users, const StartupValues& values, bool namedUserFound)
{
    const char* named = values.commandLineUser;
    if (named[0]) {
        if (FieldIs(users, "SZUSERNAME", named) && FieldIs(users, "SZCOMPUTER", named))
            return true;
        return !namedUserFound && FieldIs(users, "SZUSERNAME", values.userName);
    }
    return FieldIs(users, "SZUSERNAME", values.userName) && FieldIs(users, "SZCOMPUTER", values.computerName);
}
}

bool FindStartupPasswordRecord(StartupPasswordRecord& record)
{
    if (!FileExists(DataFilePath(DataName::kUsersTable).c_str()))
        return false;
    const StartupValues& values = GetStartupValues();
    CUsersTable users;
    users.Open("READ");
    bool namedUserFound = values.commandLineUser[0] && NamedUserHasRecord(users, values.commandLineUser);
    bool found = false;
    for (users.GoTop(); !users.IsEOF() && !found; users.Skip(1)) {
        if (RecordMatches(users, values, namedUserFound)) {
            found = true;
            std::int32_t id = users.GetLongValue("WUSERID");
            record.userId = id > 0 ? static_cast<DWORD>(id) : 0;
        }
    }
    if (!found || record.userId == 0 || record.userId > users.GetRecordCount()) {
        users.Close();
        return false;
    }
    users.GoTo(record.userId);
    record.passwordOn = users.GetLogicalValue("BRECEIVED1");
    std::snprintf(record.code, sizeof record.code, "%s", ReadTrimmedText(users, "SZ1").c_str());
    users.Close();
    return true;
}

bool MoveOldPasswordCode(StartupPasswordRecord& record)
{
    std::string oldCode;
    {
        CSettingsTable config;
        config.Open("READ");
        if (config.GetRecordCount() >= kOldCodeRecord) {
            config.GoTo(kOldCodeRecord);
            oldCode = ReadTrimmedText(config, "SZSOUND");
        }
        config.Close();
    }
    if (oldCode.size() != kOldCodeLength)
        return false;
    std::string code = MakePasswordCode(oldCode.c_str());
    {
        CUsersTable users;
        users.Open("MAPPINGALL");
        users.SetStringValue(record.userId, "SZ1", code.c_str());
        users.Close();
    }
    // The old field is emptied only now: had the write above failed, the code
    // would still be found there at the next start.
    CSettingsTable config;
    config.Open("MAPPINGALL");
    config.SetStringValue(kOldCodeRecord, "SZSOUND", "");
    config.Close();
    std::snprintf(record.code, sizeof record.code, "%s", code.c_str());
    return true;
}

bool AskStartupPassword(HINSTANCE instance)
{
    StartupPasswordRecord record;
    if (!FindStartupPasswordRecord(record) || !record.passwordOn)
        return true;
    MoveOldPasswordCode(record);
    if (std::string(record.code).size() != kPasswordCodeLength)
        return true;
    if (!LoadCursorA(instance, MAKEINTRESOURCEA(IDC_CURSOR_HTTP)))
        ShowErrorMessage(nullptr, "Loading IDC_CURSOR_HTTP failed", ProgramTitle);
    CHashRecord stored{};
    std::snprintf(stored.name, sizeof stored.name, "%s", record.code);
    stored.id = static_cast<long>(record.userId);
    return RunStartupPasswordDialog(instance, stored) == 1;
}
