#include <string>

#include <gtest/gtest.h>

#include "store/DbfFile.h"
#include "support/InFolder.h"
#include "store/UserSz1.h"

namespace {
struct UserRow {
    const char* name;
    const char* computer;
    int id;
    bool deleted;
};

// A users table of the program in a fresh working folder.
class UserSz1 : public InFolder {
protected:
    void WriteUsers(std::initializer_list<UserRow> rows)
    {
        CopyTemplate("users.QPD");
        CDbfFile users;
        users.SetTable("users.QPD", true);
        for (const UserRow& row : rows) {
            users.Open("MAPPINGAPPEND");
            std::uint32_t record = users.GetRecno();
            users.SetStringValue(record, "SZUSERNAME", row.name);
            users.SetStringValue(record, "SZCOMPUTER", row.computer);
            users.SetLongValue(record, "WUSERID", row.id);
            if (row.deleted)
                users.DeleteRecord(record);
            users.Close();
        }
    }

    std::string Sz1(std::uint32_t record)
    {
        CDbfFile users;
        users.SetTable("users.QPD", true);
        users.Open("READ");
        users.GoTo(record);
        std::string value = users.GetStringValue("SZ1").GetString();
        return value.erase(value.find_last_not_of(' ') + 1);
    }
};
}

TEST_F(UserSz1, WritesIntoTheRecordOfTheFirstLiveMatchingUserOnly)
{
    SaveUserSz1("code", "Alice", "PC-1");
    EXPECT_FALSE(FileExists("users.QPD"));

    WriteUsers({{"Alice", "PC-1", 0, false}, {"bob", "pc-2", 2, true}, {"Bob", "pc-2", 3, false}});
    SaveUserSz1("0123456789abcdef0123456789abcdef", "BOB", "PC-2");
    SaveUserSz1("code", "alice", "pc-1"); // user id 0
    SaveUserSz1("code", "Bob", "PC-3");
    EXPECT_EQ(Sz1(3), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(Sz1(2), "");
    EXPECT_EQ(Sz1(1), "");
}
