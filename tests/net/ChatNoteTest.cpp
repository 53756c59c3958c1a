// A chat between the running program and a peer of the test's (a real
// listener on 127.0.0.1): a chat started by the peer becomes a chat note with
// a button per participant, lines go both ways, participants who left or cannot
// be reached are marked, the chat note and its participants come back after a
// restart, and ending the chat tells the peer, also when the user exits at
// once, and removes what was kept of it.
// Each side shows the other's avatar: the pictures travel with the chat texts
// that introduce a participant and are kept in the CHAT folder.
#include "NetDriving.h"
#include "NoteCatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/bytes/ChatText.h"
#include "note/NoteMessages.h"
#include "resources/ids/AvatarPickerIds.h"
#include "globals/MainWindowMessages.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/PictureFiles.h"

namespace {
const DWORD kChatId = 424242;
// The tray menu's first deleted note: choosing it undeletes the note.
const WPARAM kFirstDeletedNoteCommand = 3800;

std::vector<std::string> ButtonTexts(HWND note)
{
    std::vector<std::string> texts;
    HWND strip = FindWindowExA(note, nullptr, "QnChatStrip", nullptr);
    for (HWND button = FindWindowExA(strip, nullptr, "Button", nullptr); button;
         button = FindWindowExA(strip, button, "Button", nullptr))
        texts.push_back(ReadWindowText(button));
    return texts;
}

// A named button shows its whole label, or, too narrow for it, says it in the
// tooltip that the pointer over it brings up.
::testing::AssertionResult LabelReadable(DWORD process, HWND button)
{
    const std::string label = ReadWindowText(button);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    SIZE text{0, 0};
    GetTextExtentPoint32A(screen, label.c_str(), static_cast<int>(label.size()), &text);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    RECT shown = RectOf(button);
    if (shown.right - shown.left >= text.cx + 8)
        return ::testing::AssertionSuccess();
    SetCursorPos((shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2);
    std::string tip;
    WaitUntil([&] {
        HWND tooltip = FindTopWindow("tooltips_class32", process);
        tip = tooltip && IsWindowVisible(tooltip) ? ReadWindowText(tooltip) : "";
        return !tip.empty();
    });
    SetCursorPos(0, 0);
    if (tip.rfind(label, 0) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << label << "\" is cut to " << shown.right - shown.left
                                         << " pixels and its tooltip says \"" << tip << "\"";
}

// The names of the files in the data folder's CHAT folder.
std::vector<std::string> ChatPictures(const ProgramInstall& install)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(install.File("CHAT\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found) != FALSE)
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The line of the avatar picker's list that names the picture, or -1. (Wine
// hands a list's text to another process in wide characters only.)
int PickerLine(HWND list, const std::string& name)
{
    const std::wstring wide(name.begin(), name.end());
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count; ++line) {
        wchar_t text[MAX_PATH] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, line, 0) < MAX_PATH &&
            SendMessageW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text)) > 0 && wide == text)
            return line;
    }
    return -1;
}

bool BodyHas(HWND note, const std::string& text)
{
    return WaitUntil([&] { return ReadWindowText(BodyOf(note)).find(text) != std::string::npos; });
}

class ChatNote : public InFolder {
protected:
    // What the peer "PC-ANNA" sends: the chat's operation with its participants.
    std::string FromAnna(const char* operation, const std::string& text, const std::string& avatarName = "",
                         const std::string& avatarPicture = "")
    {
        return FromAnnaTo({"PC-BERT|127.0.0.1|" + std::to_string(bertPort), Me(install)}, operation, text,
                          avatarName, avatarPicture);
    }
    // The same for the chat of that id with these participants.
    std::string FromAnnaTo(const std::vector<std::string>& participants, const char* operation,
                           const std::string& text, const std::string& avatarName = "",
                           const std::string& avatarPicture = "", DWORD chatId = kChatId)
    {
        CWireNote wire;
        wire.version = kWireVersion;
        wire.computerName = "PC-ANNA";
        wire.userName = "anna";
        wire.replyPort = anna.record.m_port;
        wire.title = "Lunch chat";
        wire.chatId = chatId;
        wire.chatOperation = operation;
        wire.coRecipients = participants;
        wire.avatarName = avatarName;
        wire.avatarData = Base64Line(avatarPicture);
        return WriteWireText(wire, text.data(), text.size(), nullptr, 0);
    }
    // The program of the install as a participant.
    static std::string Me(const ProgramInstall& where)
    {
        return ThisComputer() + "|127.0.0.1|" + std::to_string(where.ListenPort());
    }

    const CaughtMessage* WaitForChat(const char* operation, size_t& seen)
    {
        const CaughtMessage* found = nullptr;
        WaitUntil([&] {
            for (; seen < catcher.caught.size() && !found; ++seen)
                if (catcher.caught[seen].message.note.chatOperation == operation)
                    found = &catcher.caught[seen];
            return found != nullptr;
        });
        return found;
    }

    WinsockSession winsock;
    NoteCatcher catcher;
    ScopedListener anna{catcher.Window(), 1};
    unsigned short bertPort = FindFreePort();  // nobody listens there
    ProgramInstall install{"chat"};
};
}

TEST_F(ChatNote, AChatFromAPeerIsHeldWithItsParticipantsAcrossARestartAndEndsForEveryone)
{
    install.AddInstalledDataFiles();
    AcceptChats(install);
    // The user's picture (the only one, so the program takes it) and Anna's.
    const std::string owl = SquareBitmap(24, RGB(200, 120, 40));
    const std::string annaFace = SquareBitmap(20, RGB(40, 160, 60));
    ASSERT_TRUE(CreateDirectoryA(install.File("CHAT").c_str(), nullptr));
    WriteWholeFile(install.File("CHAT\\owl.bmp"), owl);
    const std::string me = ThisComputer();
    size_t seen = 0;
    {
        RunningProgram program(install, "");
        ASSERT_NE(program.WaitForWindow(kMainClass), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));

        ASSERT_TRUE(SendToProgram(install.ListenPort(), FromAnna("start", "{\\rtf1\\ansi shall we meet?\\par}",
                                                                 "..\\faces\\anna.bmp", annaFace)));
        HWND note = NoteHaving(program.ProcessId(), "shall we meet?", true);
        ASSERT_NE(note, nullptr);
        // Anna's picture is kept beside the user's and shown on her button;
        // Bert sent none. The user's picture goes to the others in return, and
        // Bert, whom nobody answers for, is shown away.
        const std::vector<std::string> buttons{"End chat", "You", "PC-ANNA", "PC-BERT (away)"};
        EXPECT_TRUE(WaitUntil([&] { return ButtonTexts(note) == buttons; }));
        EXPECT_EQ(ReadWholeFile(install.File("CHAT\\anna.bmp")), annaFace);
        EXPECT_TRUE(WaitUntil([&] { return ShowsPicture(note, "PC-ANNA"); }));
        EXPECT_TRUE(ShowsPicture(note, "You"));
        EXPECT_FALSE(ShowsPicture(note, "PC-BERT"));
        size_t avatarSeen = 0;
        const CaughtMessage* introduced = WaitForChat("avatar", avatarSeen);
        ASSERT_NE(introduced, nullptr);
        EXPECT_EQ(introduced->message.note.avatarName, "owl.bmp");
        EXPECT_EQ(introduced->message.note.avatarData, Base64Line(owl));

        // The user says a line: it goes to Anna with the chat's participants;
        // Bert cannot be reached and his button says so.
        HWND input = FindWindowExA(FindWindowExA(note, nullptr, "QnChatStrip", nullptr), nullptr, "Edit", nullptr);
        ASSERT_NE(input, nullptr);
        SendWithTimeout(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("see you at noon"));
        PostMessageA(input, WM_CHAR, VK_RETURN, 0);
        const CaughtMessage* line = WaitForChat("message", seen);
        ASSERT_NE(line, nullptr) << ReadWholeFile(install.File("error.txt"));
        EXPECT_EQ(line->message.note.chatId, kChatId);
        EXPECT_EQ(line->message.note.computerName, me);
        EXPECT_EQ(line->message.note.replyPort, install.ListenPort());
        EXPECT_EQ(line->message.richText, "see you at noon");
        EXPECT_EQ(line->message.note.coRecipients,
                  (std::vector<std::string>{"PC-ANNA|127.0.0.1|" + std::to_string(anna.record.m_port),
                                            "PC-BERT|127.0.0.1|" + std::to_string(bertPort)}));
        EXPECT_TRUE(BodyHas(note, "see you at noon"));
        EXPECT_TRUE(ReadWindowText(input).empty());
        EXPECT_TRUE(WaitUntil([&] { return ButtonTexts(note).back() == "PC-BERT (away)"; }));
        HWND bert = FindWindowExA(FindWindowExA(note, nullptr, "QnChatStrip", nullptr), nullptr, "Button",
                                  "PC-BERT (away)");
        EXPECT_TRUE(LabelReadable(program.ProcessId(), bert));

        // Anna's line shows in the note; then she leaves.
        ASSERT_TRUE(SendToProgram(install.ListenPort(), FromAnna("message", "fine, at the usual place")));
        EXPECT_TRUE(BodyHas(note, "anna"));
        EXPECT_TRUE(BodyHas(note, "fine, at the usual place"));
        ASSERT_TRUE(SendToProgram(install.ListenPort(), FromAnna("left", "")));
        EXPECT_TRUE(WaitUntil([&] { return ButtonTexts(note)[2] == "PC-ANNA (left)"; }));
        EXPECT_TRUE(SaveScreenshotOf(note, "chat-note"));

        ExitProgram(program, program.WaitForWindow(kMainClass));
    }
    std::string kept = ReadWholeFile(install.File("chatnote.QPD"));
    EXPECT_NE(kept.find("ChatId=424242"), std::string::npos) << kept;
    EXPECT_NE(kept.find("Participants=2"), std::string::npos) << kept;
    EXPECT_NE(kept.find("PC-ANNA|127.0.0.1|" + std::to_string(anna.record.m_port) + "|1|anna.bmp"), std::string::npos)
        << kept;
    EXPECT_NE(kept.find("PC-BERT|127.0.0.1|" + std::to_string(bertPort) + "|2"), std::string::npos) << kept;

    {
        RunningProgram program(install, "");
        ASSERT_NE(program.WaitForWindow(kMainClass), nullptr);
        HWND note = NoteHaving(program.ProcessId(), "fine, at the usual place", true);
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(ButtonTexts(note),
                  (std::vector<std::string>{"End chat", "You", "PC-ANNA (left)", "PC-BERT (away)"}));
        HWND annaButton = FindWindowExA(FindWindowExA(note, nullptr, "QnChatStrip", nullptr), nullptr, "Button",
                                        "PC-ANNA (left)");
        EXPECT_TRUE(ShowsPicture(note, "PC-ANNA (left)"));
        EXPECT_FALSE(IsWindowEnabled(annaButton)) << "grayed: she left";
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
        // She comes back with a program as its picture: it is not kept, and her
        // button shows her name.
        ASSERT_TRUE(SendToProgram(install.ListenPort(),
                                  FromAnna("joined", "", "..\\..\\qnpost.exe", "MZ\x90 not a picture")));
        EXPECT_TRUE(WaitUntil([&] { return ButtonTexts(note)[2] == "PC-ANNA"; }));
        EXPECT_TRUE(WaitUntil([&] { return !ShowsPicture(note, "PC-ANNA"); }));
        // Another picture of the same name keeps the first one.
        const std::string annaHat = SquareBitmap(22, RGB(200, 40, 40));
        ASSERT_TRUE(SendToProgram(install.ListenPort(), FromAnna("avatar", "", "anna.bmp", annaHat)));
        EXPECT_TRUE(WaitUntil([&] { return ShowsPicture(note, "PC-ANNA"); }));
        EXPECT_EQ(ReadWholeFile(install.File("CHAT\\anna (2).bmp")), annaHat);
        EXPECT_EQ(ReadWholeFile(install.File("CHAT\\anna.bmp")), annaFace);
        EXPECT_EQ(ChatPictures(install), (std::vector<std::string>{"anna (2).bmp", "anna.bmp", "owl.bmp"}));

        // Bytes that only begin like a picture are not kept, and no box stops
        // the program for them.
        ASSERT_TRUE(SendToProgram(install.ListenPort(), FromAnna("avatar", "", "broken.Bmp", "BM not a bitmap")));
        EXPECT_TRUE(WaitUntil([&] {
            return ReadWholeFile(install.File("error.txt")).find("could not be kept: broken.bmp") != std::string::npos;
        }));
        EXPECT_EQ(WaitForMessageBox(program.ProcessId(), 1000).window, nullptr);
        EXPECT_EQ(ChatPictures(install), (std::vector<std::string>{"anna (2).bmp", "anna.bmp", "owl.bmp"}));

        // The user's own button chooses another picture in the picker, which
        // the others are sent; a name too long to keep is refused.
        const std::string longName = std::string(100, 'w') + ".bmp";
        WriteWholeFile(install.File("CHAT\\" + longName), owl);
        HWND strip = FindWindowExA(note, nullptr, "QnChatStrip", nullptr);
        auto choose = [&](const std::string& name) {
            PostMessageA(FindWindowExA(strip, nullptr, "Button", "You"), BM_CLICK, 0, 0);
            HWND picker = nullptr;
            WaitUntil([&] {
                picker = FindTopWindowTitled("#32770", "Select chat icon", program.ProcessId());
                return picker && SendMessageA(GetDlgItem(picker, IDC_PICTURE_LIST), LB_GETCOUNT, 0, 0) == 5;
            });
            HWND list = GetDlgItem(picker, IDC_PICTURE_LIST);
            SendWithTimeout(list, LB_SETCURSEL, PickerLine(list, name), 0);
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), PickerLine(list, name)) << name;
            PostMessageA(picker, WM_COMMAND, IDC_PICTURE_OK, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
        };
        choose(longName);
        ShownMessageBox tooLong = WaitForMessageBox(program.ProcessId());
        EXPECT_NE(tooLong.text.find("too long"), std::string::npos) << tooLong.text;
        AnswerMessageBox(tooLong, IDOK);
        EXPECT_NE(ReadWholeFile(install.File("chat.QPD")).find("Avatar=owl.bmp"), std::string::npos);
        size_t changeSeen = catcher.caught.size();
        choose("anna.bmp");
        const CaughtMessage* changed = WaitForChat("avatar", changeSeen);
        ASSERT_NE(changed, nullptr);
        EXPECT_EQ(changed->message.note.avatarName, "anna.bmp");
        EXPECT_EQ(changed->message.note.avatarData, Base64Line(annaFace));
        EXPECT_NE(ReadWholeFile(install.File("chat.QPD")).find("Avatar=anna.bmp"), std::string::npos);
        EXPECT_TRUE(ShowsPicture(note, "You"));

        // Deleted, the note leaves the chat; undeleted, it takes part again.
        HWND main = program.WaitForWindow(kMainClass);
        PostMessageA(note, WM_COMMAND, kNoteCmdDelete, 0);
        ShownMessageBox sure = WaitForMessageBox(program.ProcessId(), 3000);
        if (sure.window)
            AnswerMessageBox(sure, IDYES);
        const CaughtMessage* left = WaitForChat("left", seen);
        ASSERT_NE(left, nullptr);
        EXPECT_FALSE(IsWindowVisible(note));
        PostMessageA(main, WM_COMMAND, kFirstDeletedNoteCommand, 0);
        ASSERT_NE(WaitForChat("undeleted", seen), nullptr);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(note) != FALSE; }));

        // Ending the chat asks first, tells Anna, forgets the chat and deletes
        // the note. The user exits at once: Anna is told all the same.
        HWND end = FindWindowExA(FindWindowExA(note, nullptr, "QnChatStrip", nullptr), nullptr, "Button", "End chat");
        PostMessageA(end, BM_CLICK, 0, 0);
        ShownMessageBox ask = WaitForMessageBox(program.ProcessId());
        ASSERT_NE(ask.window, nullptr);
        EXPECT_NE(ask.text.find("End this chat?"), std::string::npos);
        ASSERT_TRUE(AnswerMessageBox(ask, IDYES));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(note) || !IsWindowVisible(note); }));
        ExitProgram(program, main);
        const CaughtMessage* closed = WaitForChat("closed", seen);
        ASSERT_NE(closed, nullptr);
        EXPECT_EQ(closed->message.note.chatId, kChatId);
        EXPECT_EQ(ReadWholeFile(install.File("chatnote.QPD")).find("424242"), std::string::npos);
    }
}

// A chat text is a stranger's until the user takes part in its chat: with
// chats off no text keeps a picture or makes the program reach out, and the
// participants a chat starts with are each reached once, whatever the text
// names.
TEST_F(ChatNote, OnlyAcceptedChatsKeepPicturesAndAStartReachesEachParticipantOnce)
{
    install.AddInstalledDataFiles();  // chats are off for its users
    LoopbackPeer bert(bertPort);
    ASSERT_TRUE(bert.IsListening());
    const std::string face = SquareBitmap(20, RGB(40, 160, 60));
    const std::string bertThere = "PC-BERT|127.0.0.1|" + std::to_string(bertPort);
    {
        RunningProgram program(install, "");
        ASSERT_NE(program.WaitForWindow(kMainClass), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(install.ListenPort()); }));
        for (const char* operation : {"start", "avatar", "joined", "undeleted", "message"})
            ASSERT_TRUE(SendToProgram(install.ListenPort(), FromAnnaTo({bertThere, Me(install)}, operation,
                                                                      "{\\rtf1 hello\\par}", "anna.bmp", face)));
        // Texts are taken in turn: once a plain note that came after them
        // shows, they have all been dealt with.
        CWireNote plain;
        plain.version = kWireVersion;
        plain.computerName = "PC-ANNA";
        const std::string rtf = "{\\rtf1 after the chat texts\\par}";
        ASSERT_TRUE(SendToProgram(install.ListenPort(), WriteWireText(plain, rtf.data(), rtf.size(), nullptr, 0)));
        ASSERT_NE(NoteHaving(program.ProcessId(), "after the chat texts"), nullptr);
        for (HWND note : NoteWindows(program.ProcessId()))
            EXPECT_EQ(ReadWindowText(BodyOf(note)).find("hello"), std::string::npos);
        EXPECT_TRUE(ChatPictures(install).empty());
        std::string nothing;
        EXPECT_FALSE(bert.Receive(nothing, 3000)) << "the program reached out for a chat it refused";
        EXPECT_TRUE(catcher.caught.empty());
        ExitProgram(program, program.WaitForWindow(kMainClass));
    }

    ProgramInstall accepting("chaton");
    accepting.AddInstalledDataFiles();
    AcceptChats(accepting);
    RunningProgram program(accepting, "");
    ASSERT_NE(program.WaitForWindow(kMainClass), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(accepting.ListenPort()); }));
    // A text of a chat this program never took part in keeps nothing.
    ASSERT_TRUE(SendToProgram(accepting.ListenPort(),
                              FromAnnaTo({Me(accepting)}, "avatar", "", "stranger.bmp", face, kChatId + 1)));
    // Bert is named under thirty names: he is one participant, reached once.
    std::vector<std::string> named;
    for (int n = 1; named.size() < WireLimit::kCoRecipients - 1; ++n)
        named.push_back("PC-BERT" + std::to_string(n) + "|127.0.0.1|" + std::to_string(bertPort));
    named.push_back(Me(accepting));
    ASSERT_TRUE(SendToProgram(accepting.ListenPort(),
                              FromAnnaTo(named, "start", "{\\rtf1\\ansi one of us?\\par}", "anna.bmp", face)));
    HWND note = NoteHaving(program.ProcessId(), "one of us?", true);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        return ButtonTexts(note) == std::vector<std::string>{"End chat", "You", "PC-ANNA", "PC-BERT1"};
    }));
    std::string introduced;
    ASSERT_TRUE(bert.Receive(introduced));
    EXPECT_NE(introduced.find("ChatOp=avatar#"), std::string::npos);
    EXPECT_FALSE(bert.Receive(introduced, 3000)) << "Bert was reached more than once";
    EXPECT_EQ(ChatPictures(accepting), std::vector<std::string>{"anna.bmp"});
    ExitProgram(program, program.WaitForWindow(kMainClass));
}
