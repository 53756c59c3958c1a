// Notes sent to the running program over a real socket become notes on its
// desktop, with their attached files kept in the "ATTACHED" folder, and are
// saved with their sender when the program closes, also when they arrive as
// it closes. Whatever else arrives, the program goes on.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "NoteCatcher.h"
#include "ProgramSender.h"
#include "net/DestinationListOps.h"
#include "net/SentToTable.h"
#include "net/bytes/WireText.h"
#include "note/NoteController.h"
#include "shell/MainWindowMessages.h"
#include "store/NotesLoader.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"

namespace {
std::string Bytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes + kWireRichTextEnd + kWireAttachmentMark;
}
}

TEST(ReceivedNote, ArrivesOnTheDesktopWithItsFileAndIsSavedWithItsSenderAlsoWhileClosing)
{
    WinsockSession winsock;
    ProgramInstall install("received");
    install.AddInstalledDataFiles();
    const std::string attached = install.File("ATTACHED\\");
    const std::string file = Bytes(70000, 1);
    const std::string other = Bytes(300, 2);
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const unsigned short port = install.ListenPort();
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(port); }));
        const size_t notesAtStart = NoteWindows(program.ProcessId()).size();

        CWireNote first = Sender("From afar");
        first.stayOnTop = true;
        first.width = 300;
        first.height = 200;
        first.alarm = "20301231235900";
        first.attachedFileName = "report.bin";
        const std::string rtf = "{\\rtf1\\ansi Hello from Anna\\par}";
        ASSERT_TRUE(SendToProgram(port, WriteWireText(first, rtf.data(), rtf.size(), file.data(), file.size())));
        HWND note = NoteReading(program.ProcessId(), "Hello from Anna");
        ASSERT_NE(note, nullptr);
        RECT rect = RectOf(note);
        EXPECT_EQ(rect.right - rect.left, 300);
        EXPECT_EQ(rect.bottom - rect.top, 200);
        EXPECT_TRUE(GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(SaveScreenshotOf(note, "received-note"));
        EXPECT_EQ(ReadWholeFile(attached + "report.bin"), file);

        // A second file of the same name is kept beside the first.
        ASSERT_TRUE(SendToProgram(install.SendPort(), WireNote("Again", "Second from Anna", "report.bin", other)));
        ASSERT_NE(NoteReading(program.ProcessId(), "Second from Anna"), nullptr);
        EXPECT_EQ(ReadWholeFile(attached + "report.bin"), file);
        EXPECT_EQ(ReadWholeFile(attached + "report (2).bin"), other);

        // Nothing of these becomes a note, and the program goes on: a probe
        // under 50 bytes, random bytes, a chat message, and a note whose
        // sender gave a path for its file and values out of every bound.
        EXPECT_TRUE(SendToProgram(port, std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd));
        EXPECT_TRUE(SendToProgram(port, Bytes(20000, 3)));
        CWireNote chat = Sender("chat");
        chat.chatId = 7;
        chat.chatOperation = "line";
        EXPECT_TRUE(SendToProgram(port, WriteWireText(chat, "{\\rtf1 chat}", 12, nullptr, 0)));
        std::string hostile = "Version=1#\r\nFrom=" + std::string(3000, 'H') + "#\r\nTitle=" + std::string(3000, 'T') +
                              "#\r\nFontSize=999999#\r\nWidth=-5#\r\nAlarm=20261399999999#\r\n"
                              "AttachedFile=..\\..\\qnpost.exe#\r\n" + kWireHeaderEnd +
                              "{\\rtf1 hostile but whole\\par}" + kWireRichTextEnd + kWireAttachmentMark + "MZ";
        EXPECT_TRUE(SendToProgram(port, hostile));
        ASSERT_NE(NoteReading(program.ProcessId(), "hostile but whole"), nullptr);
        EXPECT_EQ(ReadWholeFile(attached + "qnpost.exe"), "MZ");
        EXPECT_EQ(NoteWindows(program.ProcessId()).size(), notesAtStart + 3);
        EXPECT_TRUE(program.IsRunning());

        // The last note arrives as the program closes, while it saves the
        // others: it is saved all the same.
        PostMessageA(main, WM_COMMAND, kCmdExit, 0);
        ASSERT_TRUE(SendToProgram(port, WireNote("Last one", "Arrived while closing", "", "", "PC-BERT")));
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    CurrentFolder data(install.Path());
    RowOwnership everyone;
    everyone.seesEveryone = true;
    std::vector<std::unique_ptr<CNoteController>> notes;
    LoadNotes(everyone, [&](CNoteController* note) { notes.emplace_back(note); });
    auto stored = [&](const char* title) -> const CNoteController* {
        for (const auto& note : notes)
            if (std::string(note->m_title) == title)
                return note.get();
        return nullptr;
    };
    const CNoteController* first = stored("From afar");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->RichText().find("Hello from Anna"), std::string::npos);
    EXPECT_TRUE(first->m_received);
    EXPECT_STREQ(first->m_receivedFrom, "PC-ANNA");
    EXPECT_EQ(first->m_bodyColor, 0x9FFFFFu);
    EXPECT_EQ(first->m_textColor, 0x800000u);
    EXPECT_STREQ(first->m_bodyFont.lfFaceName, "Tahoma");
    EXPECT_TRUE(first->m_alarmSet);
    EXPECT_EQ(first->m_alarm.m_year, 2030);
    EXPECT_EQ(first->m_alarm.m_minute, 59);
    ASSERT_NE(stored("Last one"), nullptr);
    EXPECT_NE(stored("Last one")->RichText().find("Arrived while closing"), std::string::npos);

    LoadSentToTable(everyone);
    int sendersKept = 0;
    for (const CDestination& destination : CopyOfSentToList()) {
        std::string name = destination.m_computerName;
        if ((name == "PC-ANNA" || name == "PC-BERT") && std::string(destination.m_ipAddress) == "127.0.0.1" &&
            destination.m_port == 40123)
            ++sendersKept;
    }
    EXPECT_EQ(sendersKept, 2);
}
