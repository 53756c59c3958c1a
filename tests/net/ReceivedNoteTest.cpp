// Notes sent to the running program over a real socket become notes on its
// desktop, with their attached files kept in the "ATTACHED" folder, and are
// saved with their sender when the program closes, also when they arrive as
// it closes. Whatever else arrives, the program goes on. The tray icon flashes
// while a received note is unread, and stops once all are read: seen as the
// user sees it, the icon's picture in the tray that Wine's explorer shows on a
// screen without a tray of its own.
#include "NetDriving.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "NoteCatcher.h"
#include "store/DestinationListOps.h"
#include "store/SentToTable.h"
#include "store/DbfFile.h"
#include "store/NotesLoader.h"
#include "store/TableText.h"
#include "globals/MainWindowMessages.h"
#include "support/CurrentFolder.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TempFolder.h"
#include "support/TextChecks.h"
#include "support/UnixProgram.h"

namespace {
const UINT kTrayCallback = 0x8064;
const UINT kTrayIconId = 508;

// A note from "anna" on the computer, in her colours and font.
CWireNote Sender(const std::string& title, const char* computer = "PC-ANNA")
{
    CWireNote note;
    note.version = kWireVersion;
    note.computerName = computer;
    note.userName = "anna";
    note.replyPort = 40123;
    note.title = title;
    note.hasColours = true;
    note.backColour = 0x9FFFFF;
    note.textColour = 0x800000;
    note.fontName = "Tahoma";
    note.fontSize = 12;
    return note;
}

// The wire text of such a note with its text and, when named, an attached file.
std::string WireNote(const std::string& title, const std::string& text, const std::string& fileName = "",
                     const std::string& file = "", const char* computer = "PC-ANNA")
{
    CWireNote note = Sender(title, computer);
    note.attachedFileName = fileName;
    std::string rtf = "{\\rtf1\\ansi " + text + "\\par}";
    return WriteWireText(note, rtf.data(), rtf.size(), fileName.empty() ? nullptr : file.data(), file.size());
}

HWND TrayIconWindow()
{
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    return tray ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr;
}

// The pixels of the icon's place on the screen.
std::string IconPicture(HWND icon)
{
    RECT r{};
    GetWindowRect(icon, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return std::string();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string pixels(static_cast<size_t>((width * 3 + 3) & ~3) * height, '\0');
    GetDIBits(memory, picture, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The icon's picture once the tray has drawn it: the same for a second.
std::string SettledPicture(HWND icon)
{
    std::string earlier = IconPicture(icon), now;
    DWORD since = GetTickCount();
    WaitUntil([&] {
        now = IconPicture(icon);
        if (now != earlier) {
            earlier = now;
            since = GetTickCount();
        }
        return GetTickCount() - since >= 1000;
    });
    return now;
}

// A few of the flashing's half-second turns: long enough to show that the
// icon no longer flashes.
const DWORD kFewTurnsMs = 3000;

// Flashing goes on: the icon shows its own picture and then the other one
// again. Whether it flashes is waited for as long as the driver waits for
// anything, so that a loaded machine's late turns still count.
bool KeepsFlashing(HWND icon, const std::string& normal, DWORD waitMs = kDriverWaitMs)
{
    return WaitUntil([&] { return IconPicture(icon) == normal; }, waitMs) &&
           WaitUntil([&] { return IconPicture(icon) != normal; }, waitMs);
}
}

TEST(ReceivedNote, ArrivesWithItsFileFlashesTheTrayUntilReadAndIsSavedWithItsSenderAlsoWhileClosing)
{
    WinsockSession winsock;
    ProgramInstall install("received");
    install.AddInstalledDataFiles();
    const std::string attached = install.File("ATTACHED\\");
    // Files that hold the wire text's own marks.
    const std::string marks = std::string(kWireRichTextEnd) + kWireAttachmentMark;
    const std::string file = RandomBytes(70000, 1) + marks;
    const std::string other = RandomBytes(300, 2) + marks;
    // No timed save stores the notes before the end.
    SetAutoSaveInterval(install.Path(), 60);
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        HWND icon = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (icon = TrayIconWindow()) != nullptr; }));
        const std::string normal = SettledPicture(icon);
        ASSERT_FALSE(normal.empty());
        EXPECT_FALSE(KeepsFlashing(icon, normal, kFewTurnsMs)) << "flashing before any note arrived";
        const unsigned short port = install.ListenPort();
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(port); }));
        const size_t notesAtStart = NoteWindows(process).size();

        CWireNote first = Sender("From afar");
        first.stayOnTop = true;
        first.width = 300;
        first.height = 200;
        first.alarm = "20301231235900";
        first.attachedFileName = "report.bin";
        const std::string rtf = "{\\rtf1\\ansi Hello from Anna\\par}";
        ASSERT_TRUE(SendToProgram(port, WriteWireText(first, rtf.data(), rtf.size(), file.data(), file.size())));
        HWND note = NoteHaving(process, "Hello from Anna");
        ASSERT_NE(note, nullptr);
        RECT rect = RectOf(note);
        EXPECT_EQ(rect.right - rect.left, 300);
        EXPECT_EQ(rect.bottom - rect.top, 200);
        EXPECT_TRUE(GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(SaveScreenshotOf(note, "received-note"));
        EXPECT_EQ(ReadWholeFile(attached + "report.bin"), file);

        // A second file of the same name is kept beside the first.
        ASSERT_TRUE(SendToProgram(install.SendPort(), WireNote("Again", "Second from Anna", "report.bin", other)));
        HWND again = NoteHaving(process, "Second from Anna");
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(ReadWholeFile(attached + "report.bin"), file);
        EXPECT_EQ(ReadWholeFile(attached + "report (2).bin"), other);

        // Nothing of these becomes a note, and the program goes on: a probe
        // under 50 bytes and random bytes (refused), a chat message, and a
        // note whose sender gave a path for its file and values out of every
        // bound.
        EXPECT_FALSE(SendToProgram(port, std::string(kWireHeaderEnd) + "{rtf}" + kWireRichTextEnd));
        EXPECT_FALSE(SendToProgram(port, RandomBytes(20000, 3) + marks));
        CWireNote chat = Sender("chat");
        chat.chatId = 7;
        chat.chatOperation = "line";
        EXPECT_TRUE(SendToProgram(port, WriteWireText(chat, "{\\rtf1 chat}", 12, nullptr, 0)));
        std::string hostile = "Version=1#\r\nFrom=" + std::string(3000, 'H') + "#\r\nTitle=" + std::string(3000, 'T') +
                              "#\r\nFontSize=999999#\r\nWidth=-5#\r\nAlarm=20261399999999#\r\n"
                              "AttachedFile=..\\..\\qnpost.exe#\r\n" + kWireHeaderEnd +
                              "{\\rtf1 hostile but whole\\par}" + kWireRichTextEnd + kWireAttachmentMark + "MZ";
        EXPECT_TRUE(SendToProgram(port, hostile));
        HWND whole = NoteHaving(process, "hostile but whole");
        ASSERT_NE(whole, nullptr);
        EXPECT_EQ(ReadWholeFile(attached + "qnpost.exe"), "MZ");
        EXPECT_EQ(NoteWindows(process).size(), notesAtStart + 3);
        EXPECT_TRUE(program.IsRunning());

        // New notes come up at the screen's top left, over the tray: the user
        // moves them. Unread, they make the icon flash; one read, the others
        // still call for the user; a press on the icon shows the rest.
        int x = 200;
        for (HWND received : {note, again, whole})
            SetWindowPos(received, nullptr, x += 200, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(KeepsFlashing(icon, normal));
        SendWithTimeout(BodyOf(note), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        SendWithTimeout(BodyOf(note), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_TRUE(KeepsFlashing(icon, normal)) << "stopped with a note still unread";
        PostMessageA(main, kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
        ASSERT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
        EXPECT_TRUE(WaitUntil([&] { return IconPicture(icon) == normal; }));
        EXPECT_FALSE(KeepsFlashing(icon, normal, kFewTurnsMs)) << "still flashing with every note read";
        EXPECT_TRUE(IsWindowVisible(note) && IsWindowVisible(again) && IsWindowVisible(whole));

        // The last note is sent as the program closes: another program holds
        // the notes table, so the end cannot store the notes the test moved
        // and asks whether to end all the same, its ports still open. The
        // table is free again before the note comes, which the program stores
        // at once, with its sender, and answers as kept; ending anyway then
        // stores nothing more.
        ShownMessageBox question;
        {
            HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
            ASSERT_TRUE(holder.Held());
            PostMessageA(main, WM_COMMAND, kCmdExit, 0);
            question = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
            ASSERT_NE(question.window, nullptr);
            EXPECT_NE(question.text.find("notes.QPD"), std::string::npos) << question.text;
        }
        EXPECT_EQ(SendToProgramTelling(port, WireNote("Last one", "Arrived while closing", "", "", "PC-BERT")), "sent");
        ASSERT_TRUE(AnswerMessageBox(question, IDYES));
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    const StoredNoteList notes = LoadEveryNote(install.Path());
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

    CurrentFolder data(install.Path());
    RowOwnership everyone;
    everyone.seesEveryone = true;
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

namespace {
// The rows of the install's "sentto.QPD": computer name and port.
std::vector<std::pair<std::string, long>> KnownComputers(const ProgramInstall& install)
{
    std::vector<std::pair<std::string, long>> rows;
    CDbfFile table;
    table.SetTable(install.File("sentto.QPD").c_str(), true);
    table.Open("READ");
    for (table.GoTop(); !table.IsEOF(); table.Skip(1))
        rows.emplace_back(ReadTrimmedText(table, "SZDESTINAT") + ReadTrimmedText(table, "PLXREST"),
                          table.GetLongValue("PORT"));
    table.Close();
    return rows;
}

// The last line of a text that holds something.
std::string LastLine(std::string text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    const size_t mark = text.find_last_of("\r\n");
    return mark == std::string::npos ? text : text.substr(mark + 1);
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
}

// The file that came with a note is named in the note's last line, which is
// part of its text and saved with it. The computers that notes name as their
// other recipients join the list of computers, but however many names the
// senders make up, the list takes only so many known by a name alone, and a
// computer known already keeps its address and port.
TEST(ReceivedNote, NamesItsFileInItsLastLineAndAddsTheOtherRecipientsWithinABound)
{
    WinsockSession winsock;
    ProgramInstall install("alsoto");
    install.AddInstalledDataFiles();
    const std::string line = "Attached file: " + install.File("ATTACHED\\plan.txt");
    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const unsigned short port = install.ListenPort();
        ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(port); }));
        ASSERT_TRUE(SendToProgram(port, WireNote("Plan", "Here is the plan", "plan.txt", "the plan itself")));
        HWND note = NoteHaving(process, "Here is the plan");
        ASSERT_NE(note, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return LastLine(ReadWindowText(BodyOf(note))) == line; }))
            << ReadWindowText(BodyOf(note));
        EXPECT_EQ(ReadWindowText(BodyOf(note)).find("Here is the plan"), 0u);
        SetWindowPos(note, nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(SaveScreenshotOf(note, "attachment-line"));

        // Ten notes, each naming 32 computers nobody has heard of; then PC-BERT
        // names PC-ANNA, whom the program knows at her address and port.
        for (int sender = 0; sender < 10; ++sender) {
            CWireNote named = Sender("Names " + std::to_string(sender));
            for (int k = 0; k < 32; ++k)
                named.coRecipients.push_back("PC-" + std::to_string(sender) + "-" + std::to_string(k));
            const std::string rtf = "{\\rtf1 names " + std::to_string(sender) + "\\par}";
            ASSERT_TRUE(SendToProgram(port, WriteWireText(named, rtf.data(), rtf.size(), nullptr, 0)));
        }
        CWireNote fromBert = Sender("From Bert", "PC-BERT");
        fromBert.replyPort = 40124;
        fromBert.coRecipients = {"PC-ANNA", "pc-bert", "PC-CARL"};
        const std::string rtf = "{\\rtf1 Bert names Anna\\par}";
        ASSERT_TRUE(SendToProgram(port, WriteWireText(fromBert, rtf.data(), rtf.size(), nullptr, 0)));
        ASSERT_NE(NoteHaving(process, "Bert names Anna"), nullptr);
        ExitProgram(program, main);
    }

    const StoredNoteList notes = LoadEveryNote(install.Path());
    size_t linesKept = 0;
    for (const auto& stored : notes)
        linesKept += Occurrences(stored->RichText(), "Attached file: ");
    EXPECT_EQ(linesKept, 1u) << "the line is kept with the note's text, once";

    const auto rows = KnownComputers(install);
    // The two senders, and the names up to the bound; PC-CARL came too late.
    EXPECT_EQ(rows.size(), 2 + kMaxHeardOfComputers);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), std::make_pair(std::string("PC-ANNA"), 40123L)), 1);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), std::make_pair(std::string("PC-BERT"), 40124L)), 1);
    EXPECT_NE(ReadWholeFile(install.File("error.txt")).find("were not added to the list of computers"),
              std::string::npos);
}

namespace {
// Whether a new file can be made in the folder now.
bool FolderTakesAFile(const std::string& folder)
{
    const std::string probe = folder + "\\taking a file.probe";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return true;
}

// While it lives, the folder takes no new file, as a full or write-protected
// drive refuses one: changed on the host (without write permission, and
// unchangeable for a user whom permissions do not stop), and given back when
// it goes. Its files can still be written.
class FolderTakingNoFile {
public:
    explicit FolderTakingNoFile(const std::string& folder) : m_folder(folder), m_unix(UnixPath(folder))
    {
        if (m_unix.empty())
            return;
        StartShellScript("chmod a-w '" + m_unix + "'; chattr +i '" + m_unix + "'");
        m_refuses = WaitUntil([&] { return !FolderTakesAFile(m_folder); });
    }
    ~FolderTakingNoFile()
    {
        if (m_unix.empty())
            return;
        StartShellScript("chattr -i '" + m_unix + "'; chmod u+w '" + m_unix + "'");
        WaitUntil([&] { return FolderTakesAFile(m_folder); });
    }
    FolderTakingNoFile(const FolderTakingNoFile&) = delete;
    FolderTakingNoFile& operator=(const FolderTakingNoFile&) = delete;

    bool Refuses() const { return m_refuses; }

private:
    std::string m_folder;
    std::string m_unix;
    bool m_refuses = false;
};
}

// A received note that neither the notes table nor a rescue backup in any
// folder can take is never shown, its attached file goes with it, and its
// sender hears that it did not arrive; sent again once the folder is free,
// it arrives once.
TEST(ReceivedNote, ANoteNoFileCanTakeIsNeverShownAndItsSenderHearsItDidNotArrive)
{
    WinsockSession winsock;
    ProgramInstall install("unkept");
    install.AddInstalledDataFiles();
    SetAutoSaveInterval(install.Path(), 60);
    // The error log and the folder of attached files are there to be written to.
    WriteWholeFile(install.File("error.txt"), "");
    CreateDirectoryA(install.File("ATTACHED").c_str(), nullptr);
    const std::string wire = WireNote("Unkept", "Nowhere to keep it", "plan.txt", "the plan itself");
    RunningProgram program(install, "");
    const DWORD process = program.ProcessId();
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const unsigned short port = install.ListenPort();
    ASSERT_TRUE(WaitUntil([&] { return PortAcceptsConnections(port); }));
    const size_t notesAtStart = NoteWindows(process).size();
    // Then, for a while, a file stands where the backup folder was.
    MoveFileA(install.File("BACKUP").c_str(), install.File("BACKUP.old").c_str());
    WriteWholeFile(install.File("BACKUP"), "not a folder");
    std::string told;
    {
        FolderTakingNoFile full(install.Path());
        if (!full.Refuses())
            GTEST_SKIP() << "this machine cannot keep a folder from taking files";
        told = SendToProgramTelling(port, wire);
        // Answered: the note has gone, or never came.
        EXPECT_EQ(NoteWindows(process).size(), notesAtStart);
    }
    DeleteFileA(install.File("BACKUP").c_str());
    MoveFileA(install.File("BACKUP.old").c_str(), install.File("BACKUP").c_str());
    EXPECT_EQ(told, "the recipient did not keep the note");
    EXPECT_FALSE(FileExists(install.File("ATTACHED\\plan.txt")));
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")),
                         "A received note could not be stored, nor kept in a rescue backup: it was dropped, and its "
                         "sender is told that it did not arrive\r\n"));

    EXPECT_EQ(SendToProgramTelling(port, wire), "sent");
    HWND note = NoteHaving(process, "Nowhere to keep it");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(IsWindowVisible(note));
    EXPECT_EQ(NoteWindows(process).size(), notesAtStart + 1);
    EXPECT_EQ(ReadWholeFile(install.File("ATTACHED\\plan.txt")), "the plan itself");
    EXPECT_FALSE(FileExists(install.File("ATTACHED\\plan (2).txt")));
    ExitProgram(program, main);
    size_t copies = 0;
    for (const auto& stored : LoadEveryNote(install.Path()))
        copies += Contains(stored->RichText(), "Nowhere to keep it") ? 1 : 0;
    EXPECT_EQ(copies, 1u);
}
