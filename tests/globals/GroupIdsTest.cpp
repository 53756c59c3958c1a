// The id a new group takes: past the largest while the group hotkeys can
// still carry it, then the lowest id left free, and none when all are taken.
#include <windows.h>

#include <gtest/gtest.h>

#include "globals/NoteManagerOptions.h"

namespace {
void AddGroups(CRecordList<CNoteGroup>& groups, long first, long last)
{
    for (long id = first; id <= last; ++id) {
        CNoteGroup group{};
        group.id = static_cast<DWORD>(id);
        groups.AddToTail(group);
    }
}
}

TEST(GroupIds, ANewGroupTakesAnIdTheHotkeysCanCarry)
{
    CRecordList<CNoteGroup> groups("groups");
    EXPECT_EQ(NextNewGroupId(groups), 0);
    AddGroups(groups, 0, 7);
    EXPECT_EQ(NextNewGroupId(groups), 8);
    AddGroups(groups, 99, 100);
    // Past 100: the lowest free id from the first group a user made.
    EXPECT_EQ(NextNewGroupId(groups), 8);
    AddGroups(groups, 8, 98);
    EXPECT_EQ(NextNewGroupId(groups), -1);
    AddGroups(groups, 250, 250);  // an id from an older file changes nothing
    EXPECT_EQ(NextNewGroupId(groups), -1);
    groups.RemoveAll();
    AddGroups(groups, 0, 2);
    AddGroups(groups, 100, 100);
    EXPECT_EQ(NextNewGroupId(groups), 3);
}
