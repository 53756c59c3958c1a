#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "foundation/RecordList.h"
#include "net/Destination.h"

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
