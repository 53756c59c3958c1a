#include <string>

#include <gtest/gtest.h>

#include "foundation/Clock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/StringTableBoxes.h"
#include "support/InFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
// The clock stands still at 7 March 2009, 09:05:03.
class Log : public InFolder {
protected:
    void SetUp() override
    {
        SYSTEMTIME fixed = {2009, 3, 6, 7, 9, 5, 3, 0};
        SetClockOverride(&fixed);
    }
    void TearDown() override { SetClockOverride(nullptr); }
};
}

TEST_F(Log, ErrorEntriesAreTimeStampedLines)
{
    WriteErrorLog("first ", "second", nullptr);
    WriteErrorLog(nullptr, nullptr, nullptr);
    EXPECT_EQ(Read("error.txt"),
              "\r\n07-03-2009 09:05:03 first second\r\n"
              "\r\n07-03-2009 09:05:03 \r\n");
}

TEST_F(Log, WritersAppendAndGiveUpQuietly)
{
    AppendTextToFile("one");
    AppendTextToFile("two");
    AppendBytesToFile("\0x", 2, "dump.bin");
    EXPECT_EQ(Read("messages.txt"), "onetwo");
    EXPECT_EQ(Read("dump.bin"), std::string("\0x", 2));
    EXPECT_NO_THROW(WriteErrorLog("lost", nullptr, "no such folder\\error.txt"));
    EXPECT_NO_THROW(AppendTextToFile("lost", "no such folder\\messages.txt"));
}

TEST_F(Log, ErrorDescriptionNamesTheCode)
{
    CGenericString text("SetCurrentDirectory failed (");
    GetLastErrorText(2, text);
    std::string described = text.GetString();
    EXPECT_EQ(described.rfind("SetCurrentDirectory failed ( , Error number: 2, Details: ", 0), 0u) << described;
    EXPECT_GT(described.size(), std::string("SetCurrentDirectory failed ( , Error number: 2, Details: ").size());

    char buffer[64];
    FormatLastErrorText(0x80004005u, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer).rfind(" , Error number: 2147500037, Details: ", 0), 0u);
}

TEST(StringTableBoxes, UseTheirTexts)
{
    MessageBoxRecorder boxes;
    ShowPasteTooLongMessage(nullptr, 50000);
    ShowBusySendingMessage(nullptr);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Sorry...");
    EXPECT_EQ(boxes.LastText(), "Quillnet+ is busy transmitting a note.\n\n         Please wait.");
}
