#include <gtest/gtest.h>

#include "store/bytes/DeletedRecordList.h"

// The main window's messages: each list keeps its numbers once, oldest first.
TEST(DeletedRecordList, TheMainWindowMessagesReachTheirLists)
{
    CDeletedRecordList notes, transactions;
    std::intptr_t result = -1;
    auto send = [&](unsigned message, std::uintptr_t record) {
        EXPECT_TRUE(AnswerDeletedListMessage(message, record, notes, transactions, result));
        return result;
    };
    EXPECT_EQ(send(0x806E, 0), 0);
    send(0x807F, 12);
    send(0x807F, 9999); // a note never saved has no record to free
    send(0x807F, 4);
    send(0x807F, 12);
    EXPECT_EQ(send(0x806E, 0), 12);
    send(0x806F, 42);
    send(0x806F, 12);
    EXPECT_EQ(send(0x806E, 0), 4);
    EXPECT_EQ(notes.Count(), 1u);

    EXPECT_EQ(send(0x8082, 0), 0);
    send(0x8080, 9999);
    send(0x8080, 5);
    EXPECT_EQ(send(0x8082, 0), 9999);
    send(0x8081, 9999);
    EXPECT_EQ(send(0x8082, 0), 5);
    EXPECT_EQ(notes.First(), 4u);

    EXPECT_FALSE(AnswerDeletedListMessage(0x8067, 1, notes, transactions, result));
}
