#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/Clock.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/GenericString.h"
#include "foundation/StringTableBoxes.h"
#include "support/ChildTest.h"
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

namespace {
const char kAppenderFolder[] = "QN_TEST_APPENDER_FOLDER";
const int kEntriesEach = 250;
const size_t kEntrySize = 100;

// "<who>-<n>:" padded with dots to a fixed size, ending in a line break.
std::string Entry(const std::string& who, int n)
{
    std::string entry = who + "-" + std::to_string(n) + ":";
    entry.resize(kEntrySize - 2, '.');
    return entry + "\r\n";
}

void AppendEntries(const std::string& who)
{
    for (int n = 0; n < kEntriesEach; ++n)
        AppendTextToFile(Entry(who, n).c_str(), "error.txt");
}
}

// Run by the test below in a second process, on the data folder it is given.
TEST(LogAppender, DISABLED_SecondProcess)
{
    char folder[MAX_PATH] = "";
    ASSERT_GT(GetEnvironmentVariableA(kAppenderFolder, folder, sizeof folder), 0u);
    SetDataFolder(folder);
    AppendEntries("process");
}

// Four threads and a second process append to "error.txt" at once: every entry
// arrives whole, once, in the data folder, though the current folder is another.
TEST(LogAppender, ThreadsAndProcessesNeverOverwriteEachOther)
{
    TempFolder data;
    TempFolder elsewhere;
    CurrentFolder current(data.Path());
    SetCurrentDirectoryA(elsewhere.Path().c_str());

    SetEnvironmentVariableA(kAppenderFolder, data.Path().c_str());
    ChildTest process("LogAppender.DISABLED_SecondProcess");
    SetEnvironmentVariableA(kAppenderFolder, nullptr);
    ASSERT_TRUE(process.Started());
    // The threads start while the second process is appending.
    for (int i = 0; i < 400 && !FileExists(data.File("error.txt")); ++i)
        Sleep(50);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] { AppendEntries("thread" + std::to_string(t)); });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_TRUE(process.Passed());

    EXPECT_FALSE(FileExists(elsewhere.File("error.txt")));
    std::string log = ReadWholeFile(data.File("error.txt"));
    std::vector<std::string> names = {"thread0", "thread1", "thread2", "thread3", "process"};
    EXPECT_EQ(log.size(), names.size() * kEntriesEach * kEntrySize);
    int missing = 0;
    for (const std::string& who : names)
        for (int n = 0; n < kEntriesEach; ++n)
            missing += log.find(Entry(who, n)) == std::string::npos;
    EXPECT_EQ(missing, 0);
}

// A report, such as the unsaved text of a failed save, waits while another
// program holds the log for a moment, and then arrives.
TEST_F(Log, AnEntryWaitsForALogThatIsHeldForAMoment)
{
    HANDLE holder = CreateFileA(File("error.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::thread writer([] { WriteErrorLog("unsaved ", "words", nullptr); });
    Sleep(200);
    CloseHandle(holder);
    writer.join();
    EXPECT_EQ(Read("error.txt"), "\r\n07-03-2009 09:05:03 unsaved words\r\n");
}
