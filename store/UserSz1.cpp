#include "store/UserSz1.h"

#include <windows.h>

#include <string>

#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/StartupValues.h"
#include "store/DbfFile.h"
#include "store/bytes/PackedValues.h"

namespace {
bool FieldMatches(CDbfFile& table, const char* fieldName, const char* wanted)
{
    std::string value = table.GetStringValue(fieldName).GetString();
    value.erase(value.find_last_not_of(' ') + 1);
    return lstrcmpiA(value.c_str(), wanted ? wanted : "") == 0;
}
}

void SaveUserSz1(const char* text, const char* userName, const char* computerName)
{
    std::string path = DataFilePath(DataName::kUsersTable);
    if (!FileExists(path.c_str()))
        return;
    CDbfFile users;
    users.SetTable(path.c_str(), true);
    users.Open("MAPPINGALL");
    for (users.GoTop(); !users.IsEOF(); users.Skip(1)) {
        if (FieldMatches(users, "SZUSERNAME", userName) && FieldMatches(users, "SZCOMPUTER", computerName)) {
            std::int32_t userId = users.GetLongValue("WUSERID");
            if (userId > 0)
                users.SetStringValue(static_cast<std::uint32_t>(userId), "SZ1", text ? text : "");
            break;
        }
    }
    users.Close();
}

void SaveCurrentUserSz1(const char* text)
{
    const StartupValues& values = GetStartupValues();
    SaveUserSz1(MakePasswordCode(text).c_str(), values.userName, values.computerName);
}
