// Destinations and delivery records written to their tables, read back into
// the program-wide lists, and matched as the network code updates them; and a
// destination's own rules of equality, defaults and bounds.
#include <algorithm>
#include <cstdio>
#include <string>

#include "foundation/CriticalSectionLock.h"
#include "foundation/RecordList.h"
#include "store/DestinationListOps.h"
#include "store/DestinationLists.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"
#include "store/DbfFile.h"
#include "store/DestinationRows.h"
#include "store/FieldAccess.h"
#include "store/FreeSlotLists.h"
#include "support/InFolder.h"
#include "support/LockProbe.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class DestinationTables : public InFolder {
protected:
    void SetUp() override
    {
        CopyTemplate("sentto.QPD");
        CopyTemplate("transact.QPD");
        EmptyLists();
        SetHighestStoredComputerId(0);
        TransactionFreeSlots().Clear();
        me.currentUserId = 1;
        me.sharesNotes = {false, false, true, false};  // user 2 shares, user 3 does not
    }
    void TearDown() override { EmptyLists(); }

    static void EmptyLists()
    {
        SentToList().RemoveAll();
        TransactList().RemoveAll();
    }

    std::string Field(const char* tableName, DWORD record, const char* field)
    {
        CDbfFile table;
        table.SetTable(tableName, true);
        table.Open("READ");
        table.GoTo(record);
        std::string text = ReadText(table, field, 255);
        return text.substr(std::min(text.size(), text.find_first_not_of(' ')));
    }

    CDestination Destination(const char* computer, const char* email, DWORD computerId, DWORD noteId = 0,
                             DWORD transactionId = 0, DWORD userId = 1)
    {
        CDestination d(computer, "10.0.0.7", "ali", email, "", 1, transactionId, noteId, computerId, 2081, userId);
        d.SetLastSendTime(CDateTime(static_cast<BYTE>(computerId), 3, 2026, 14, 5, 9));
        return d;
    }

    RowOwnership me;
};

std::string ComputerNames()
{
    std::string names;
    for (auto* node = SentToList().GetFirst(); node; node = node->next)
        names += std::string(node->record.m_computerName) + "/" + node->record.m_email + "#" +
                 std::to_string(node->record.m_computerId) + " ";
    return names;
}
}

TEST_F(DestinationTables, SentToRowsKeepLongNamesSplitAndOnlySharedRowsCount)
{
    AppendSentToIfNot(Destination("SEVENTEEN-CHARS-P", "", 3), me);
    AppendSentToIfNot(Destination("", "sixteen@mail.net", 2), me);
    AppendSentToIfNot(Destination("PC1", "", 1), me);
    EXPECT_EQ(Field("sentto.QPD", 1, "SZDESTINAT"), "SEVENTEEN-CHARS-");
    EXPECT_EQ(Field("sentto.QPD", 1, "PLXREST"), "P");
    EXPECT_EQ(Field("sentto.QPD", 2, "SZDESTINAT"), "");
    EXPECT_EQ(Field("sentto.QPD", 2, "C3"), "sixteen@mail.net");
    EXPECT_EQ(Field("sentto.QPD", 1, "C1"), "20260303140509");
    EXPECT_EQ(Field("sentto.QPD", 1, "B1"), "T");

    // Writing a destination again updates its row.
    CDestination renamed = Destination("PC1", "", 1);
    renamed.SetIPAddress("10.9.9.9");
    AppendSentToIfNot(renamed, me);
    EXPECT_EQ(CountTableRecords("sentto.QPD"), 3u);
    EXPECT_EQ(Field("sentto.QPD", 3, "SZIPADDR"), "10.9.9.9");

    LoadSentToTable(me);
    EXPECT_EQ(HighestStoredComputerId(), 3u);

    // Users 2 (sharing) and 3 (not sharing) have rows of their own.
    AppendToSentToFileOtherUsersIfNot(2, "RELAYED-PC", "10.1.1.1", "rel", nullptr, 2082);
    AppendToSentToFileOtherUsersIfNot(3, "HIDDEN-PC", "10.1.1.2", "hid", nullptr, 2082);
    AppendToSentToFileOtherUsersIfNot(3, "hidden-pc", "10.1.1.2", "HID", nullptr, 2082);
    EXPECT_EQ(CountTableRecords("sentto.QPD"), 5u) << "a row already there is not added again";
    EXPECT_EQ(Field("sentto.QPD", 5, "COMPUTERID"), "5");

    SentToList().RemoveAll();
    LoadSentToTable(me);
    EXPECT_EQ(ComputerNames(), "RELAYED-PC/#4 PC1/#1 /sixteen@mail.net#2 SEVENTEEN-CHARS-P/#3 ")
        << "oldest first: the relayed row has no date";
    EXPECT_EQ(HighestStoredComputerId(), 5u) << "counted over every row";
    EXPECT_EQ(GetMaxComputerId(), 5u);

    // The user who does not share keeps the row: not matched, not deleted.
    CDestination hidden = Destination("HIDDEN-PC", "", 5);
    AppendSentToIfNot(hidden, me);
    EXPECT_EQ(CountTableRecords("sentto.QPD"), 6u);
    DeleteSentToRowsOfComputer(5, me);
    EXPECT_EQ(Field("sentto.QPD", 5, "WUSERID"), "3");
    SentToList().RemoveAll();
    RowOwnership third = me;
    third.currentUserId = 3;
    LoadSentToTable(third);
    EXPECT_EQ(ComputerNames(), "HIDDEN-PC/#5 RELAYED-PC/#4 ");
    SentToList().RemoveAll();
    LoadSentToTable(me);
    EXPECT_EQ(ComputerNames(), "RELAYED-PC/#4 PC1/#1 /sixteen@mail.net#2 SEVENTEEN-CHARS-P/#3 ");

    MessageBoxRecorder boxes;
    AppendSentToIfNot(Destination("PC0", "", 0), me);
    EXPECT_EQ(boxes.LastText(), "AppendSentToIfNot, computerID==0??");
    EXPECT_EQ(CountTableRecords("sentto.QPD"), 6u);
}

TEST_F(DestinationTables, UpdatingTheSentToListMatchesByNameAddressAliasAndMail)
{
    SetHighestStoredComputerId(40);
    CDateTime when(5, 6, 2026, 7, 8, 9);
    struct Step {
        const char *name, *address, *alias, *email;
        DWORD expectedId;
        const char* expectedList;
    } steps[] = {
        {"PC1", "10.0.0.1", "", "", 41, "PC1/10.0.0.1/ "},
        {"pc1", "10.0.0.2", "", "", 41, "PC1/10.0.0.2/ "},
        {"", "10.0.0.3", "", "", 42, "PC1/10.0.0.2/ /10.0.0.3/ "},
        {"", "10.0.0.3", "", "", 42, "PC1/10.0.0.2/ /10.0.0.3/ "},
        {"", "10.0.0.2", "boss", "", 43, "PC1/10.0.0.2/ /10.0.0.3/ /10.0.0.2/boss "},
        {"", "", "", "x@y.z", 44, "PC1/10.0.0.2/ /10.0.0.3/ /10.0.0.2/boss // "},
        {"", "", "friend", "X@Y.Z", 44, "PC1/10.0.0.2/ /10.0.0.3/ /10.0.0.2/boss //friend "},
        {"PC2", "", "", "", 45, "PC1/10.0.0.2/ /10.0.0.3/ /10.0.0.2/boss //friend PC2// "},
        {"PC2", "", "", "", 45, "PC1/10.0.0.2/ /10.0.0.3/ /10.0.0.2/boss //friend PC2// "},
        // The alias given as a computer name: the two names change places.
        {"boss", "10.0.0.2", "", "", 43, "PC1/10.0.0.2/ /10.0.0.3/ boss/10.0.0.2/ //friend PC2// "},
        {"PC3", "", "home", "", 46, "PC1/10.0.0.2/ /10.0.0.3/ boss/10.0.0.2/ //friend PC2// PC3//home "},
        {"PC3", "10.0.0.9", "home", "", 46,
         "PC1/10.0.0.2/ /10.0.0.3/ boss/10.0.0.2/ //friend PC2// PC3/10.0.0.9/home "},
        // A computer name given as an alias: the two names change places.
        {"", "10.0.0.2", "PC1", "", 41,
         "/10.0.0.2/PC1 /10.0.0.3/ boss/10.0.0.2/ //friend PC2// PC3/10.0.0.9/home "},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.name) + "|" + step.address + "|" + step.alias + "|" + step.email);
        EXPECT_EQ(UpdateSentToList(step.name, step.address, step.alias, step.email, 1, &when, 2081),
                  step.expectedId);
        std::string list;
        for (auto* node = SentToList().GetFirst(); node; node = node->next)
            list += std::string(node->record.m_computerName) + "/" + node->record.m_ipAddress + "/" +
                    node->record.m_alias + " ";
        EXPECT_EQ(list, step.expectedList);
    }
    EXPECT_EQ(SentToList().GetFirst()->record.m_lastSend.m_day, 5);
    RemoveComputerFromSentTo(41);
    EXPECT_EQ(SentToList().GetCount(), 5u);
    EXPECT_EQ(GetMaxComputerId(), 46u);
}

TEST_F(DestinationTables, DeliveryRecordsAreUpdatedInPlaceReuseFreeRecordsAndRefuseWhatTheyCannotKeep)
{
    AppendTransactIfNot(Destination("SEVENTEEN-CHARS-P", "", 7, 12, 100), 0, me);
    AppendTransactIfNot(Destination("PC2", "", 8, 12, 101), 0, me);
    AppendTransactIfNot(Destination("", "mail@x.y", 9, 13, 102), 0, me);
    AppendTransactIfNot(Destination("HIDDEN-PC", "", 8, 12, 99), 3, me);
    ASSERT_EQ(CountTableRecords("transact.QPD"), 4u);

    // The same note and computer again: the row is updated, not added.
    CDestination failed = Destination("PC2", "", 8, 12, 103);
    failed.m_status = 0;
    failed.m_retry = 1;
    failed.m_retryCount = 3;
    failed.m_retryUnit = 2;
    lstrcpyA(failed.m_attachedFile, (std::string("C:\\") + std::string(252, 'a')).c_str());
    AppendTransactIfNot(failed, 0, me);
    EXPECT_EQ(CountTableRecords("transact.QPD"), 4u);
    EXPECT_EQ(Field("transact.QPD", 2, "BSTATUS"), "F");
    EXPECT_EQ(Field("transact.QPD", 2, "ITRANSID"), "103");
    EXPECT_EQ(Field("transact.QPD", 2, "C4").size(), 255u);
    EXPECT_EQ(Field("transact.QPD", 4, "ITRANSID"), "99") << "another user's row is not matched";

    LoadTransactTable(me);
    ASSERT_EQ(TransactList().GetCount(), 3u);
    CDestination& first = TransactList().GetFirst()->record;
    EXPECT_STREQ(first.m_computerName, "SEVENTEEN-CHARS-P");
    EXPECT_EQ(first.m_noteId, 12u);
    CDestination& updated = TransactList().GetFirst()->next->record;
    EXPECT_EQ(updated.m_retryCount, 3u);
    EXPECT_EQ(updated.m_retryUnit, 2u);
    EXPECT_EQ(std::string(updated.m_attachedFile).size(), 255u);
    EXPECT_STREQ(TransactList().GetLast()->record.m_email, "mail@x.y");
    EXPECT_EQ(GetLastTransactId(12), 103u);
    EXPECT_EQ(GetLastTransactId(14), 0u);
    EXPECT_EQ(HighestStoredTransactionId(), 103u);
    EXPECT_EQ(GetLastRecipient(), "PC2");

    // A deleted note frees its rows; the next records reuse them.
    DeleteTransactRowsOfNote(12, me);
    EXPECT_EQ(TransactionFreeSlots().Count(), 2u);
    AppendTransactIfNot(Destination("PC5", "", 10, 20, 104), 0, me);
    AppendTransactIfNot(Destination("PC6", "", 11, 21, 105), 0, me);
    AppendTransactIfNot(Destination("PC7", "", 12, 22, 106), 0, me);
    EXPECT_EQ(CountTableRecords("transact.QPD"), 5u);
    EXPECT_EQ(Field("transact.QPD", 1, "ITRANSID"), "104");
    EXPECT_EQ(Field("transact.QPD", 2, "ITRANSID"), "105");
    DeleteTransactRowsOfComputer(8, me);
    EXPECT_EQ(Field("transact.QPD", 4, "ITRANSID"), "99") << "not visible, not deleted";

    MessageBoxRecorder boxes;
    AppendTransactIfNot(Destination("PC", "", 0, 1), 0, me);
    AppendTransactIfNot(Destination("PC", "", 1, 0), 0, me);
    CDestination tooLong = Destination("PC", "", 1, 1);
    lstrcpyA(tooLong.m_attachedFile, (std::string("C:\\") + std::string(253, 'b')).c_str());
    AppendTransactIfNot(tooLong, 0, me);
    ASSERT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(boxes.Boxes()[0].text, "AppendTransactIfNot, computerID==0??");
    EXPECT_EQ(boxes.Boxes()[1].text, "AppendTransactIfNot, noteID==0??");
    EXPECT_EQ(boxes.Boxes()[2].text.find("The path of the attached file is longer than 255 characters"), 0u);
    EXPECT_EQ(CountTableRecords("transact.QPD"), 5u);
}

namespace {
DWORD WINAPI EmptyTransactionsThread(void*)
{
    EmptyTransactions();
    return 0;
}
}

// A restore that replaces the notes empties the deliveries while a send
// thread may be recording one: it waits for the list's lock, and it never
// holds that lock while it waits for the table's, so a thread that holds the
// table's lock and then wants the list's cannot meet it in a wait cycle.
TEST_F(DestinationTables, EmptyingTheDeliveriesTakesEachLockInTurnAndLeavesNoRecord)
{
    AppendTransactIfNot(Destination("PC1", "", 7, 12, 100), 0, me);
    AppendTransactIfNot(Destination("PC2", "", 8, 13, 101), 0, me);
    LoadTransactTable(me);
    ASSERT_EQ(TransactList().GetCount(), 2u);

    HANDLE emptying = nullptr;
    {
        // A send thread is recording a delivery: the list is left alone until it is done.
        CCriticalSectionLock sending(TransactLock());
        emptying = CreateThread(nullptr, 0, &EmptyTransactionsThread, nullptr, 0, nullptr);
        ASSERT_NE(emptying, nullptr);
        EXPECT_EQ(WaitForSingleObject(emptying, 200), static_cast<DWORD>(WAIT_TIMEOUT));
        TransactList().AddDescendingByDate(Destination("PC3", "", 9, 14, 102));
        EXPECT_EQ(TransactList().GetCount(), 3u);
    }
    ASSERT_EQ(WaitForSingleObject(emptying, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(emptying);
    EXPECT_EQ(TransactList().GetCount(), 0u);
    LoadTransactTable(me);
    EXPECT_EQ(TransactList().GetCount(), 0u);

    // The table's lock held elsewhere: the list is emptied and its lock free
    // again while the emptying waits for the table.
    TransactList().AddDescendingByDate(Destination("PC4", "", 10, 15, 103));
    {
        CCriticalSectionLock writing(TransactTableLock());
        emptying = CreateThread(nullptr, 0, &EmptyTransactionsThread, nullptr, 0, nullptr);
        ASSERT_NE(emptying, nullptr);
        EXPECT_EQ(WaitForSingleObject(emptying, 200), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_TRUE(LockFreeForOthers(TransactLock()));
        CCriticalSectionLock list(TransactLock());
        EXPECT_EQ(TransactList().GetCount(), 0u);
    }
    ASSERT_EQ(WaitForSingleObject(emptying, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(emptying);
}

TEST(Destination, EqualityIgnoresCaseDescriptionAndFile)
{
    CDestination a("PC-ONE", "10.0.0.1", "alias", "me@example.com", "first", 1, 4, 5, 6, 28081, 2);
    CDestination b("pc-one", "10.0.0.1", "ALIAS", "ME@example.com", "other", 0, 4, 5, 6, 28081, 2);
    std::snprintf(b.m_attachedFile, sizeof b.m_attachedFile, "%s", "c:\\file.txt");
    EXPECT_TRUE(a == b);
    b.m_noteId = 99;
    EXPECT_FALSE(a == b);

    SetDestinationDefaults(28082, 3);
    CDestination defaults("pc", "", "", "", "", 0);
    EXPECT_EQ(defaults.m_port, 28082u);
    EXPECT_EQ(defaults.m_userId, 3u);
    SetDestinationDefaults(0, 0);

    CRecordList<CDestination> sentTo("SentTo");
    sentTo.AddToTail(a);
    EXPECT_NE(sentTo.FindDestination(CDestination(a)), nullptr);
    std::string longAddress(40, '1');
    a.SetIPAddress(longAddress.c_str());
    EXPECT_EQ(std::string(a.m_ipAddress), std::string(15, '1'));
}
