// The small records of the store: the intro notes of a new user and the chat
// options profile.
#include <memory>
#include <string>

#include "StoreFolder.h"
#include "foundation/Clock.h"
#include "foundation/bytes/NoteColors.h"
#include "note/NoteController.h"
#include "globals/ProgramGlobals.h"
#include "store/ChatOptions.h"
#include "store/FieldAccess.h"
#include "store/IntroNotes.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
class SmallRecords : public StoreFolder {
protected:
    void SetUp() override
    {
        for (const char* name : {"config.QPD", "config.QPS", "users.QPD"})
            CopyTemplate(name);
        UserSettings() = CUserSettings();
        ChatOptions() = CChatOptions();
        SetDisplayColorCount(1u << 24);
    }
    void TearDown() override { SetDisplayColorCount(0); }

    // The profile's lines of the user's section, in order.
    std::string Section(const std::string& name)
    {
        std::string text = Read("chat.QPD");
        size_t start = text.find("[" + name + "]");
        if (start == std::string::npos)
            return "";
        size_t end = text.find("\r\n[", start + 1);
        return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }

    MessageBoxRecorder m_boxes;
};
}

TEST_F(SmallRecords, IntroNotesArePlacedOneStepFurtherEach)
{
    // Two more intro rows like the shipped one, sharing its text.
    const long text = std::stol(Field("config.QPD", 5, "TEXT"));
    for (const char* title : {"Second", "Third"}) {
        CSettingsTable table;
        table.Open("MAPPINGAPPEND");
        DWORD row = table.GetRecno();
        WriteText(table, row, "CONFIG", "IN");
        WriteText(table, row, "SZTITLE", title);
        WriteNumber(table, row, "TEXT", text);
        WriteNumber(table, row, "WNOWIDTH", 180);
        WriteNumber(table, row, "WNOHEIGHT", 120);
        WriteColour(table, row, kNoteColourFields, 0x9FFF9F);
        WriteLogical(table, row, "BSTAYONTOP", true);
        WriteNumber(table, row, "BYRETRY", 4);
    }
    SYSTEMTIME madeAt = {2026, 12, 1, 7, 9, 30, 15, 0};
    SetClockOverride(&madeAt);
    CreatedNotes notes;
    CreateIntroNotes(3, notes);
    SetClockOverride(nullptr);
    std::vector<std::unique_ptr<CNoteController>> owned(notes.begin(), notes.end());
    ASSERT_EQ(owned.size(), 3u);
    // They are dated when they are made.
    EXPECT_TRUE(owned[0]->m_created == CDateTime(7, 12, 2026, 9, 30, 15));
    EXPECT_TRUE(owned[2]->m_created == CDateTime(7, 12, 2026, 9, 30, 15));
    const LONG places[3][2] = {{50, 50}, {270, 100}, {490, 150}};
    const char* const titles[3] = {"Welcome to Quillnet+", "Second", "Third"};
    for (int i = 0; i < 3; ++i) {
        const CNoteController& note = *owned[i];
        EXPECT_EQ(note.m_left, places[i][0]);
        EXPECT_EQ(note.m_top, places[i][1]);
        EXPECT_STREQ(note.m_title, titles[i]);
        EXPECT_EQ(note.m_userId, 3u);
        EXPECT_EQ(note.RichText(), owned[0]->RichText());
    }
    EXPECT_EQ(owned[1]->m_width, 180);
    EXPECT_EQ(owned[1]->m_bodyColor, 0x9FFF9Fu);
    EXPECT_TRUE(owned[2]->m_stayOnTop);
    EXPECT_EQ(owned[2]->m_retryCount, 4);
    EXPECT_EQ(owned[0]->m_width, 260);

    // On a display of few colours the named colours are drawn pure.
    SetDisplayColorCount(256);
    CreatedNotes plain;
    CreateIntroNotes(3, plain);
    std::vector<std::unique_ptr<CNoteController>> ownedPlain(plain.begin(), plain.end());
    ASSERT_EQ(ownedPlain.size(), 3u);
    EXPECT_EQ(ownedPlain[1]->m_bodyColor, 0x00FF00u);
    EXPECT_EQ(m_boxes.Count(), 0u) << m_boxes.LastText();
}

TEST_F(SmallRecords, ChatOptionsLiveInTheUsersSectionOfTheProfile)
{
    CreateDirectoryA(File("CHAT").c_str(), nullptr);
    for (const char* name : {"cat.bmp", "dog.bmp", "owl.bmp"})
        WriteWholeFile(File(std::string("CHAT\\") + name), "BM");
    UserSettings().userId = 4;
    LoadChatOptions();
    const std::string avatar = ChatOptions().avatar;
    EXPECT_TRUE(avatar == "cat.bmp" || avatar == "dog.bmp" || avatar == "owl.bmp") << avatar;
    EXPECT_EQ(Section("4"), "[4]\r\nAvatar=" + avatar +
                                "\r\nShowSenderComputer=0\r\nShowSenderName=1\r\nShowReceivedDate=0"
                                "\r\nShowReceivedTime=1\r\nMyOwnMessagesInBold=1\r\n");

    // Read back: present switches are taken, missing ones stay.
    WritePrivateProfileStringA("4", "ShowReceivedDate", "1", File("chat.QPD").c_str());
    WritePrivateProfileStringA("4", "ShowSenderName", nullptr, File("chat.QPD").c_str());
    ChatOptions() = CChatOptions();
    ChatOptions().showSenderName = 0;
    LoadChatOptions();
    EXPECT_EQ(std::string(ChatOptions().avatar), avatar);
    EXPECT_EQ(ChatOptions().showReceivedDate, 1u);
    EXPECT_EQ(ChatOptions().showSenderName, 0u);

    // An avatar whose picture is gone reads as no picture.
    DeleteFileA(File("CHAT\\" + avatar).c_str());
    LoadChatOptions();
    EXPECT_STREQ(ChatOptions().avatar, "  NoImage");

    // Another user without pictures gets none, in a section of its own.
    DeleteFileA(File("CHAT\\cat.bmp").c_str());
    DeleteFileA(File("CHAT\\dog.bmp").c_str());
    DeleteFileA(File("CHAT\\owl.bmp").c_str());
    UserSettings().userId = 5;
    LoadChatOptions();
    EXPECT_STREQ(ChatOptions().avatar, "  NoImage");
    EXPECT_NE(Section("5"), "");
    EXPECT_NE(Section("4"), "");
}
