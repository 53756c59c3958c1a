// Backups made by the running program, read by Python's XML reader: every
// note whole, texts that would break a file kept safe in it, the dated name,
// and the messages of the tray command.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "store/Destination.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"
#include "globals/MainWindowMessages.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/StoredNotes.h"
#include "xmlfiles/bytes/BackupWriting.h"

namespace {
const char kTrickyTitle[] = "<a&b>]]>";
const char kTeam[] = "Team <team@example.org>";
// The password text of "secret".
const char kSecretText[] = "426897c0";

void StoreDeliveries(const ProgramInstall& install, DWORD noteId)
{
    CurrentFolder data(install.Path());
    CDestination desk("DESK", "10.0.0.2", "Desk", "", "", 1, 11, noteId, 1, 0, 1);
    CDestination laptop("LAPTOP", "10.0.0.3", "Laptop", "", "", 1, 12, noteId, 2, 0, 1);
    CDestination team("", "", "Team", kTeam, "", 1, 13, noteId, 3, 0, 1);
    for (const CDestination* sent : {&desk, &laptop, &team}) {
        AppendSentToRowOfOwner(*sent);
        AppendTransactIfNot(*sent, 1);
    }
}

// The comma-separated values in order.
std::string Sorted(const std::string& list)
{
    std::vector<std::string> values;
    std::stringstream items(list);
    for (std::string item; std::getline(items, item, ',');)
        values.push_back(item);
    std::sort(values.begin(), values.end());
    std::string joined;
    for (const std::string& value : values)
        joined += (joined.empty() ? "" : ",") + value;
    return joined;
}

// A text as the facts show it ends with a protected body's mark, whatever
// line break and blanks stand after it in the file.
bool EndsWithMarkInFile(const std::string& shown)
{
    // The blanks and the escaped line breaks ("\\n") after it.
    const size_t last = shown.find_last_not_of(" \\n");
    return last != std::string::npos && last >= 2 && shown.compare(last - 2, 3, "~^+") == 0;
}

bool IsDatedName(const std::string& name, const SYSTEMTIME& from, const SYSTEMTIME& to)
{
    char first[20];
    char last[20];
    std::snprintf(first, sizeof first, "%04d%02d%02d%02d%02d.QPK", from.wYear, from.wMonth, from.wDay, from.wHour,
                  from.wMinute);
    std::snprintf(last, sizeof last, "%04d%02d%02d%02d%02d.QPK", to.wYear, to.wMonth, to.wDay, to.wHour, to.wMinute);
    return name.size() == 16 && name >= first && name <= last;
}
}

TEST(BackupProgram, ABackupHoldsEveryNoteWholeAndPythonReadsIt)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, kTrickyTitle, sizeof note.m_title);
        static const char text[] = "{\\rtf1\\ansi Plain note ]]> with <tags> & more}";
        note.SetRichText(text, sizeof text - 1);
    });
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Every other day", sizeof note.m_title);
        note.m_alarmSet = true;
        note.m_alarm = CDateTime(24, 12, 2026, 18, 30);
        note.m_alarmRecurring = true;
        note.m_alarmValue = 2;
        note.m_alarmUnit = 3;
        static const char text[] = "{\\rtf1\\ansi Water the plants}";
        note.SetRichText(text, sizeof text - 1);
    });
    const DWORD sent = StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Sent", sizeof note.m_title);
        lstrcpynA(note.m_lastSentTo, kTeam, sizeof note.m_lastSentTo);
        note.m_sent = true;
        static const char text[] = "{\\rtf1\\ansi Minutes of the meeting}";
        note.SetRichText(text, sizeof text - 1);
    });
    StoreDeliveries(install, sent);
    // Locked with "secret" and hidden: it stays masked all through the run.
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Masked", sizeof note.m_title);
        static const char text[] = "{\\rtf1\\ansi Masked secret}";
        note.SetRichText(text, sizeof text - 1);
        note.m_protected = true;
        note.m_passwordText = kSecretText;
        note.m_hidden = true;
    });
    WriteLockedAndGroupedBackup(install.File("locked.QPK"));

    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    // The new user's welcome note stands beside the three.
    const size_t stored = NoteWindows(process).size();
    ASSERT_GE(stored, 3u);
    // The locked note that comes back is opened with its password.
    RestoreAnsweringPassword(install, process, "/import locked.QPK", "secret");
    ASSERT_TRUE(WaitUntil([&] { return NoteWindows(process).size() == stored + 2; }));
    ASSERT_NE(WaitForNoteWithText(process, "Hello"), nullptr);

    SYSTEMTIME before;
    GetLocalTime(&before);
    const std::string done = BoxAfterCommand(main, process, kCmdBackupAll);
    SYSTEMTIME after;
    GetLocalTime(&after);
    const std::vector<std::string> files = BackupFiles(install);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(IsDatedName(files[0], before, after)) << files[0];
    EXPECT_EQ(done, "Backup completed successfully to: BACKUP\\" + files[0]);

    std::map<std::string, std::string> facts = BackupFacts(BackupFile(install, files[0]));
    ASSERT_EQ(facts["parsed"], "1") << facts["error"];
    EXPECT_EQ(facts["root"], "backup");
    const std::string order =
        "noteID,user_name,computer_name,is_hidden,is_stay_on_top,has_border,show_creation_date,rollup_losing_focus,"
        "left_margin_line,gradient_backcolor,horizontal_lines,plain_text,transparency,is_locked,group,left,top,"
        "height,width,creation_date_time,last_sent_to,last_sent_succeeded,received_from_computer_name,"
        "received_from_user_name,textarea,title,alarm";
    std::map<std::string, std::string> byTitle;
    for (size_t n = 1; n <= stored + 2; ++n)
        byTitle[facts["note" + std::to_string(n) + ".title"]] = "note" + std::to_string(n) + ".";
    ASSERT_EQ(byTitle.size(), stored + 2);
    // The file holds "]]>" in its escaped form, which the restore turns back.
    const std::string plain = byTitle["<a&b>]`>"];
    const std::string alarm = byTitle["Every other day"];
    const std::string delivered = byTitle["Sent"];
    const std::string locked = byTitle["Locked"];
    const std::string grouped = byTitle["Grouped"];
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(facts[plain + "children"], order);
    EXPECT_EQ(facts[plain + "textarea"],
              "backcolor_red,backcolor_green,backcolor_blue,textcolor_red,textcolor_green,textcolor_blue,font,text,"
              "rtf_text");
    EXPECT_EQ(facts[plain + "font"],
              "name,size,bold,italic,underlined,strikeout,charset,escapement,orientation,outprecision,clipprecision,"
              "quality,pitch_and_family");
    EXPECT_NE(facts[plain + "rtf_text"].find("Plain note ]`> with <tags> & more"), std::string::npos)
        << facts[plain + "rtf_text"];
    // Python reads the text's line breaks as the XML standard has them.
    EXPECT_EQ(facts[plain + "rtf_text"].rfind("\\n{\\\\rtf1", 0), 0u);
    EXPECT_NE(facts[plain + "text"].find("Plain note ]`> with <tags> & more"), std::string::npos);
    EXPECT_EQ(facts[alarm + "alarm"], "is_set:1,date_time:20261224T18:30:00,is_set:1,value:2,unit:day(s)");
    EXPECT_EQ(facts[delivered + "children"], order + ",sent_to,sent_to,sent_to");
    EXPECT_EQ(facts[delivered + "last_sent_to"], kTeam);
    EXPECT_EQ(Sorted(facts[delivered + "sent_to"]), "1,2,3");
    EXPECT_EQ(Sorted(facts["computers"]), std::string("DESK,LAPTOP,") + kTeam);
    // A protected note, open or masked, goes in as its enciphered body, its
    // end marked for the file, and never in clear.
    const std::string masked = byTitle["Masked"];
    ASSERT_FALSE(masked.empty());
    for (const std::string& key : {locked, masked}) {
        EXPECT_EQ(facts[key + "text"], "         ") << key;
        EXPECT_TRUE(EndsWithMarkInFile(facts[key + "rtf_text"])) << facts[key + "rtf_text"];
    }
    EXPECT_EQ(facts[locked + "rtf_text"].find("Hello"), std::string::npos);
    EXPECT_EQ(facts[masked + "rtf_text"].find("Masked secret"), std::string::npos);
    EXPECT_EQ(facts[grouped + "group"], "Travel");
    EXPECT_EQ(facts[grouped + "associations"], "Untitled - Notepad");
    EXPECT_EQ(facts[grouped + "children"], order + ",association");

    CloseProgram(install, program);
}

// The backup written as the program ends, after "/close" from a second start:
// a note typed into holds the text its window shows, one left alone the text
// it was stored with, and the notes table keeps both after the end.
TEST(BackupProgram, TheBackupAtTheEndHoldsWhatEachNoteShows)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        RunningProgram first(install, "");
        ASSERT_NE(WaitForMainWindow(first), nullptr);
        CloseProgram(install, first);
    }
    SetBackupOptions(install, true, 7, false);
    static const char kUntouched[] = "{\\rtf1\\ansi Left as it was stored\\par \\'e9t\\'e9 line\\par The last line}";
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Untouched", sizeof note.m_title);
        note.SetRichText(kUntouched, sizeof kUntouched - 1);
    });
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Typed", sizeof note.m_title);
        static const char text[] = "{\\rtf1\\ansi Typed into}";
        note.SetRichText(text, sizeof text - 1);
    });
    for (const std::string& name : BackupFiles(install))
        DeleteFileA(BackupFile(install, name).c_str());

    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    HWND typed = WaitForNoteWithText(program.ProcessId(), "Typed into");
    ASSERT_NE(typed, nullptr);
    ASSERT_TRUE(SendWithTimeout(BodyOf(typed), EM_SETSEL, 0, 0));
    for (char key : std::string("Zebra "))
        ASSERT_TRUE(SendWithTimeout(BodyOf(typed), WM_CHAR, static_cast<unsigned char>(key), 1));
    ASSERT_EQ(ReadWindowText(BodyOf(typed)), "Zebra Typed into");
    CloseProgram(install, program);

    const std::vector<std::string> files = BackupFiles(install);
    ASSERT_EQ(files.size(), 1u);
    std::map<std::string, BackupNote> byTitle;
    for (const BackupNote& note : ReadBackupNotes(BackupFile(install, files[0])))
        byTitle[note.title] = note;
    ASSERT_EQ(byTitle.count("Untouched"), 1u);
    ASSERT_EQ(byTitle.count("Typed"), 1u);
    EXPECT_EQ(byTitle["Untouched"].content, kUntouched);
    // The plain text is read whole: every line, to the last.
    const std::string& shown = byTitle["Untouched"].text;
    EXPECT_EQ(shown.rfind("Left as it was stored", 0), 0u) << shown;
    EXPECT_NE(shown.find("\xE9t\xE9 line"), std::string::npos) << shown;
    ASSERT_GE(shown.size(), 13u);
    EXPECT_EQ(shown.substr(shown.size() - 13), "The last line") << shown;
    EXPECT_EQ(byTitle["Typed"].content.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(byTitle["Typed"].content.find("Zebra Typed into"), std::string::npos) << byTitle["Typed"].content;
    EXPECT_NE(byTitle["Typed"].text.find("Zebra Typed into"), std::string::npos);

    StoredNoteList stored = LoadEveryNote(install.Path());
    const CNoteController* untouched = StoredNoteTitled(stored, "Untouched");
    const CNoteController* changed = StoredNoteTitled(stored, "Typed");
    ASSERT_NE(untouched, nullptr);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(untouched->RichText(), kUntouched);
    EXPECT_NE(changed->RichText().find("Zebra Typed into"), std::string::npos) << changed->RichText();
}

TEST(BackupProgram, WithoutNotesNothingIsBackedUp)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    for (HWND note : NoteWindows(process))
        ASSERT_TRUE(DeleteNoteWindow(note, process));
    EXPECT_EQ(BoxAfterCommand(main, process, kCmdBackupAll), "Right now you have no notes to backup");
    EXPECT_TRUE(BackupFiles(install).empty());
    CloseProgram(install, program);
}
