#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/HotkeyAction.h"
#include "foundation/PtrList.h"
#include "foundation/RecordList.h"
#include "support/CurrentFolder.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
struct Dated {
    CDateTime when;
};
const CDateTime& RecordDateTime(const Dated& record)
{
    return record.when;
}

struct Group {
    long id;
    char name[50];
};
long RecordId(const Group& group)
{
    return group.id;
}
const char* RecordName(const Group& group)
{
    return group.name;
}

std::vector<int> DaysOf(const CPtrList& list)
{
    std::vector<int> days;
    for (void* p = list.GetFirst(); p; p = list.GetNext(p))
        days.push_back(static_cast<Dated*>(p)->when.m_day);
    return days;
}
}

TEST(PtrList, InsertSortedByDateRunsFromLatestToEarliest)
{
    Dated may5{CDateTime(5, 5, 2009)}, may3{CDateTime(3, 5, 2009)}, may4{CDateTime(4, 5, 2009)};
    CPtrList list("DeletedNotesList");
    list.InsertSortedByDate(&may5);
    list.InsertSortedByDate(&may3);
    list.InsertSortedByDate(&may4);
    EXPECT_EQ(DaysOf(list), (std::vector<int>{5, 4, 3}));
    EXPECT_EQ(list.GetPrev(&may4), &may5);
    EXPECT_EQ(list.GetNextCircular(&may3), &may5);
    EXPECT_EQ(list.GetPrevCircular(&may5), &may3);
    int stranger = 0;
    EXPECT_EQ(list.GetNextCircular(&stranger), nullptr);
}

TEST(PtrList, DeletingAnAbsentElementIsLoggedAndChangesNothing)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    int a = 1, b = 2, stranger = 3;
    CPtrList list("notes");
    list.AddHead(&a);
    list.AddHead(&b);
    EXPECT_EQ(list.DeleteElem(&stranger), 0);
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(ReadWholeFile(folder.File("error.txt")), "Error DeleteElem. Element not found??\r\n ");
    EXPECT_EQ(list.DeleteElem(&b), 1);
    EXPECT_EQ(list.GetFirst(), &a);
    EXPECT_EQ(list.GetLast(), &a);
}

TEST(PtrList, TheSixHundredAndFirstNodeComesFromASecondBlock)
{
    MessageBoxRecorder boxes;
    DWORD before = GetLiveNodeCount();
    std::vector<int> values(700);
    CPtrList list("many");
    for (int i = 0; i < 600 - static_cast<int>(before); ++i)
        list.AddHead(&values[i]);
    EXPECT_FALSE(boxes.Saw("Memory allocation error\r\nCPtrNod::s_headOfFreeList==NULL!!"));
    list.AddHead(&values[650]);
    EXPECT_TRUE(boxes.Saw("Memory allocation error\r\nCPtrNod::s_headOfFreeList==NULL!!"));
    EXPECT_EQ(list.GetFirst(), &values[650]);
    EXPECT_EQ(GetLiveNodeCount(), 601u);
    list.RemoveAll();
    EXPECT_EQ(GetLiveNodeCount(), before);
}

TEST(RecordList, OrderedInsertsAndNames)
{
    std::string longName(60, 'n');
    CRecordList<Dated> dated(longName.c_str());
    EXPECT_EQ(std::string(dated.GetName()), std::string(49, 'n'));
    dated.AddDescendingByDate(Dated{CDateTime(5, 5, 2009)});
    dated.AddDescendingByDate(Dated{CDateTime(3, 5, 2009)});
    dated.AddDescendingByDate(Dated{CDateTime(4, 5, 2009)});
    std::vector<int> days;
    for (auto* node = dated.GetFirst(); node; node = node->next)
        days.push_back(node->record.when.m_day);
    EXPECT_EQ(days, (std::vector<int>{3, 4, 5}));

    HotkeySortMode = 1;
    CRecordList<CHotkeyAction> actions("hotkeys");
    for (int id : {5, 2, 9, 2}) {
        CHotkeyAction action;
        action.m_id = id;
        actions.AddDescending(action);
    }
    std::vector<int> ids;
    for (auto* node = actions.GetFirst(); node; node = node->next)
        ids.push_back(node->record.m_id);
    EXPECT_EQ(ids, (std::vector<int>{2, 2, 5, 9}));
    HotkeySortMode = 0;
}

TEST(RecordList, IdsAndNames)
{
    CRecordList<Group> groups("groups");
    EXPECT_EQ(groups.NextFreeId(), 0);
    groups.AddToTail(Group{3, "Work"});
    groups.AddToTail(Group{7, "Home"});
    groups.AddToTail(Group{1, "Misc"});
    EXPECT_EQ(groups.NextFreeId(), 8);
    EXPECT_EQ(groups.FindIdByName("HOME"), 7);
    EXPECT_EQ(groups.FindIdByName("none"), -1);
    char name[3];
    EXPECT_EQ(groups.GetNameById(name, sizeof name, 3), 1);
    EXPECT_STREQ(name, "Wo");
    EXPECT_EQ(groups.GetNameById(name, sizeof name, 4), 0);
    EXPECT_EQ(groups.GetNextByName("work")->id, 7);
    EXPECT_EQ(groups.GetNextByName("misc"), nullptr);
    EXPECT_NE(groups.FindByIdAndName(Group{7, "home"}), nullptr);
    EXPECT_EQ(groups.FindByIdAndName(Group{3, "home"}), nullptr);
}

// At shut-down the pool gives its blocks back only after the last node has come
// home; a list emptied later still finds a live pool.
TEST(PtrList, ClosingReleasesBlocksOnlyWhenNoNodeIsInUse)
{
    MessageBoxRecorder boxes;
    int a = 1, b = 2;
    {
        CPtrList early("early");
        CPtrList late("late");
        early.AddHead(&a);
        late.AddHead(&b);
        SetNodePoolClosing(true);
        early.RemoveAll();
        EXPECT_EQ(late.GetFirst(), &b);
        late.AddHead(&a);
        EXPECT_EQ(late.GetCount(), 2u);
    }
    EXPECT_EQ(GetLiveNodeCount(), 0u);
    CPtrList after("after");
    after.AddHead(&a);
    EXPECT_EQ(after.GetFirst(), &a);
    EXPECT_EQ(boxes.Count(), 0u) << "a fresh block after the release is not an exhausted pool";
    after.RemoveAll();
    SetNodePoolClosing(false);
}
