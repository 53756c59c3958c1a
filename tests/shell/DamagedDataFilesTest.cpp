// The real program started on a noteman.QPD, an apps.QPD and a calendar.QPD
// that each lost a byte near their end: each is told once, kept aside before
// anything writes over it (an earlier kept file stays as it was), and the
// program goes on with the standard groups, options and calendar settings,
// which a note's deletion and OK on the Settings sheet then write, and which
// a restart reads without a word. Files that read but hold a damaged entry
// among sound ones lose that entry alone: each is told once and copied aside,
// and every sound group, membership, association and calendar record is
// written back and read again after a restart.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsFilesDriving.h"
#include "SettingsSheetDriving.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarSettingsFile.h"
#include "globals/MainWindowMessages.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerFile.h"
#include "noteprops/AppAssociationsFile.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "support/CurrentFolder.h"
#include "support/NoteDriving.h"
#include "support/ProgramDriver.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/bytes/MessageBoxRecorder.h"
#include "xmlfiles/bytes/XmlBufferDocument.h"
#include "support/bytes/Occurrences.h"

namespace {
const DWORD kDamagedFilesUser = 1;
const DWORD kOtherUser = 7;
const DWORD kDamagedUser = 5;
const COLORREF kOwnCalendarColour = RGB(12, 34, 56);
const int kGroupCombo = 1335;

DWORD StoreShownNote(const char* text, LONG left)
{
    CNoteController note;
    FillTestNote(note, text, left, 260);
    SaveNote(note);
    return note.m_noteId;
}

// The three files as the program writes them: a group of the user's own
// with both notes in it, an association of the first note, and the calendar
// options of the user and of another user.
void WriteGoodFiles(const std::string& folder, DWORD first, DWORD second)
{
    MessageBoxRecorder boxes;
    WriteGroups(folder, kDamagedFilesUser, {{8, "Travel"}}, {{8, first}, {8, second}});
    WriteAssociations(folder, {{first, "Travel plans - notes.txt"}});
    WriteCalendar(kDamagedFilesUser, kOwnCalendarColour, {kOtherUser, kDamagedFilesUser});
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
}

// The three files with a damaged entry among sound ones: a group without its
// name between two groups, a membership without its note, an association
// without its note and the calendar options of user 5 without a key.
struct DamagedEntryFiles {
    std::string noteman;
    std::string apps;
    std::string calendar;
};

// The file without the line that holds the part (the first after the
// marker); its new text.
std::string RemoveLineHolding(const std::string& path, const std::string& part, const std::string& marker = "")
{
    std::string text = ReadWholeFile(path);
    const size_t at = text.find(part, text.find(marker));
    if (at != std::string::npos)
        text.erase(text.rfind("\r\n", at) + 2, text.find("\r\n", at) - text.rfind("\r\n", at));
    WriteWholeFile(path, text);
    return text;
}

DamagedEntryFiles WriteFilesWithDamagedEntries(const std::string& folder, DWORD first, DWORD second)
{
    MessageBoxRecorder boxes;
    DamagedEntryFiles files;
    WriteGroups(folder, kDamagedFilesUser, {{8, "Travel"}, {9, "Nameless"}, {10, "Garden"}},
                {{8, first}, {10, 999}, {10, second}});
    RemoveLineHolding(folder + "\\noteman.QPD", "Nameless");
    files.noteman = RemoveLineHolding(folder + "\\noteman.QPD", "<noteID>999<");
    WriteAssociations(folder,
                      {{first, "Travel plans - notes.txt"}, {55, "Weather - notes.txt"}, {second, "Garden - notes.txt"}});
    files.apps = RemoveLineHolding(folder + "\\apps.QPD", "<noteID>55<");
    WriteCalendar(kDamagedFilesUser, kOwnCalendarColour, {kOtherUser, kDamagedUser, kDamagedFilesUser});
    files.calendar =
        RemoveLineHolding(folder + "\\calendar.QPD", "<hotkeyKey>", "<userID>" + std::to_string(kDamagedUser) + "<");
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    return files;
}

// The memberships of noteman.QPD as "group note", and the associations of
// apps.QPD as "note application", each sorted.
std::vector<std::string> Memberships(const std::string& path)
{
    MessageBoxRecorder boxes;
    NoteManagerContents contents(path, kDamagedFilesUser);
    std::vector<std::string> pairs;
    for (auto* node = contents.pairs.GetFirst(); node; node = node->next)
        pairs.push_back(std::to_string(node->record.groupID) + " " + std::to_string(node->record.noteID));
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}
std::vector<std::string> Associations(const std::string& path)
{
    MessageBoxRecorder boxes;
    CRecordList<CAppAssociation> list;
    LoadAppAssociations(path.c_str(), list, nullptr);
    std::vector<std::string> ties;
    for (auto* node = list.GetFirst(); node; node = node->next)
        ties.push_back(std::to_string(node->record.noteId) + " " + node->record.application);
    EXPECT_EQ(boxes.Count(), 0u) << boxes.LastText();
    std::sort(ties.begin(), ties.end());
    return ties;
}

// One byte near the end changed: the root's end tag no longer closes. The
// damaged bytes.
std::string Damage(const std::string& path)
{
    std::string text = ReadWholeFile(path);
    text[text.rfind('>')] = '!';
    WriteWholeFile(path, text);
    return text;
}

struct GroupsRead {
    std::vector<std::string> names;
    size_t memberships = 0;
    size_t boxes = 0;
};
GroupsRead ReadGroups(const std::string& path)
{
    MessageBoxRecorder boxes;
    NoteManagerContents contents(path, kDamagedFilesUser);
    GroupsRead read;
    for (auto* node = contents.groups.GetFirst(); node; node = node->next)
        read.names.push_back(node->record.name);
    read.memberships = contents.pairs.GetCount();
    read.boxes = boxes.Count();
    return read;
}

const std::vector<std::string> kStandardGroups = {"All (except Deleted)", "Deleted", "None", "Business",
                                                  "Personal", "References", "Reminders", "Urgent"};

// The calendar options of calendar.QPD: each record's user and its colour.
std::vector<std::string> CalendarRecords(const std::string& path)
{
    const std::string text = ReadWholeFile(path);
    CXMLBufferDocument document;
    document.SetBuffer(text.data(), static_cast<int32_t>(text.size()), "calendar.QPD");
    if (!document.Parse())
        return {"(unreadable)"};
    char error[256];
    const int count = document.CountElements("content", "options", error, sizeof error);
    std::vector<std::string> records;
    for (int k = 1; k <= count; ++k) {
        char user[32] = "";
        char colour[32] = "";
        document.GetValue("content", "options", k, "userID", user, sizeof user, error, sizeof error);
        document.GetValue("content", "options", k, "dialogBackColor", colour, sizeof colour, error, sizeof error);
        records.push_back(std::string(user) + " " + colour);
    }
    return records;
}

// The boxes of the program's start, each answered, the first pictured; their texts.
std::vector<std::string> AnswerStartBoxes(DWORD process, size_t count, const char* picture)
{
    std::vector<std::string> texts;
    for (size_t n = 0; n < count; ++n) {
        ShownMessageBox box = WaitForMessageBox(process, kDriverWaitMs, "Quillnet+");
        if (!box.window)
            break;
        texts.push_back(box.text);
        if (n == 0) {
            EXPECT_TRUE(SaveScreenshotOf(box.window, picture));
        }
        AnswerMessageBox(box, IDOK);
    }
    return texts;
}

bool AnyTextHas(const std::vector<std::string>& texts, const std::string& part)
{
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

// The items of the Note Manager's group combo box.
std::vector<std::string> GroupComboItems(HWND manager)
{
    HWND combo = GetDlgItem(manager, kGroupCombo);
    LRESULT count = 0;
    SendWithTimeout(combo, CB_GETCOUNT, 0, 0, &count);
    std::vector<std::string> items;
    for (int index = 0; index < count && index < 64; ++index) {
        // Asked in wide characters: the answer then crosses between the processes whole.
        wchar_t text[128] = L"";
        LRESULT length = 0;
        if (!SendWithTimeout(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, &length) || length < 0 ||
            length >= 128)
            continue;
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, kDriverWaitMs, &answer);
        char narrow[256] = "";
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.push_back(narrow);
    }
    std::sort(items.begin(), items.end());
    return items;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}
}

TEST(DamagedDataFiles, AreKeptAsideToldOnceAndTheStandardSettingsAreWrittenAndReadAfterThem)
{
    ProgramInstall install("damaged");
    install.AddInstalledDataFiles();
    const std::string noteman = install.File("noteman.QPD");
    const std::string apps = install.File("apps.QPD");
    const std::string calendar = install.File("calendar.QPD");
    std::string damagedGroups, damagedApps, damagedCalendar;
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        const DWORD first = StoreShownNote("Travel note", 60);
        const DWORD second = StoreShownNote("Second travel note", 360);
        WriteGoodFiles(install.Path(), first, second);
    }
    ASSERT_EQ(ReadGroups(noteman).memberships, 2u);
    ASSERT_EQ(CalendarRecords(calendar), (std::vector<std::string>{"1 " + std::to_string(kOwnCalendarColour),
                                                                   "7 " + std::to_string(StandardCalendarOptions().dialogBackColor)}));
    damagedGroups = Damage(noteman);
    damagedApps = Damage(apps);
    damagedCalendar = Damage(calendar);
    WriteWholeFile(noteman + ".bad", "a damaged file kept earlier");

    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        // One box for each file, naming where it was kept.
        const std::vector<std::string> boxes = AnswerStartBoxes(process, 3, "damaged-file-kept-aside");
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_TRUE(AnyTextHas(boxes, "noteman.QPD has been kept as \"noteman.QPD.bad2\". The program goes on with "
                                      "the standard note groups and Note Manager options."))
            << boxes[0] << "\n" << boxes[1] << "\n" << boxes[2];
        EXPECT_TRUE(AnyTextHas(boxes, "apps.QPD has been kept as \"apps.QPD.bad\"."));
        EXPECT_TRUE(AnyTextHas(boxes, "calendar.QPD has been kept as \"calendar.QPD.bad\"."));
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        HWND second = WaitForNoteWithText(process, "Second travel note");
        ASSERT_NE(second, nullptr);
        EXPECT_FALSE(ProgramBoxShown(process));
        EXPECT_EQ(ReadWholeFile(noteman + ".bad2"), damagedGroups);
        EXPECT_EQ(ReadWholeFile(noteman + ".bad"), "a damaged file kept earlier");
        EXPECT_EQ(ReadWholeFile(apps + ".bad"), damagedApps);
        EXPECT_EQ(ReadWholeFile(calendar + ".bad"), damagedCalendar);
        const std::string log = ReadWholeFile(install.File("error.txt"));
        for (const char* kept : {"\"noteman.QPD.bad2\"", "\"apps.QPD.bad\"", "\"calendar.QPD.bad\""})
            EXPECT_NE(log.find(kept), std::string::npos) << kept << " in " << log;

        // A note's deletion writes the groups and the associations: the
        // standard groups, no membership and no association.
        ASSERT_TRUE(DeleteNoteWindow(second, process));
        ASSERT_TRUE(WaitUntil([&] { return FileExists(noteman) && FileExists(apps); }));
        GroupsRead written = ReadGroups(noteman);
        EXPECT_EQ(written.boxes, 0u);
        EXPECT_EQ(written.names, kStandardGroups);
        EXPECT_EQ(written.memberships, 0u);
        {
            MessageBoxRecorder recorder;
            CRecordList<CAppAssociation> associations;
            EXPECT_EQ(LoadAppAssociations(apps.c_str(), associations, nullptr), 1);
            EXPECT_EQ(associations.GetCount(), 0u);
            EXPECT_EQ(recorder.Count(), 0u) << recorder.LastText();
        }
        // OK on the Settings sheet writes the calendar's settings, the
        // calendar never opened: the user's standard options alone.
        EXPECT_FALSE(FileExists(calendar));
        HWND sheet = nullptr;
        ASSERT_NE(OpenSettingsPage(program, 0, &sheet), nullptr);
        ASSERT_TRUE(PressSheetOk(sheet));
        ASSERT_TRUE(WaitUntil([&] { return FileExists(calendar); }));
        EXPECT_EQ(CalendarRecords(calendar),
                  (std::vector<std::string>{"1 " + std::to_string(StandardCalendarOptions().dialogBackColor)}));

        // The Note Manager offers the standard groups and opens without a box.
        PostMessageA(main, WM_COMMAND, kCmdNoteManager, 0);
        HWND manager = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            manager = FindTopWindowTitled("#32770", "Quillnet+ Note Manager", process);
            return manager && IsWindowVisible(manager);
        }));
        EXPECT_TRUE(SaveScreenshotOf(manager, "damaged-groups-note-manager"));
        EXPECT_EQ(GroupComboItems(manager), Sorted(kStandardGroups));
        EXPECT_FALSE(ProgramBoxShown(process));
        PostMessageA(manager, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(manager); }));
        EXPECT_EQ(ReadGroups(noteman).names, kStandardGroups);
        CloseProgram(install, program);
    }

    // After a restart: not a word, the standard settings read back, and the
    // kept files as they were.
    {
        RunningProgram again(install, "");
        const DWORD process = again.ProcessId();
        ASSERT_NE(WaitForMainWindow(again), nullptr);
        ASSERT_NE(NewNoteFromCommandLine(install, process, "After the restart"), nullptr);
        EXPECT_FALSE(ProgramBoxShown(process));
        CloseProgram(install, again);
    }
    EXPECT_EQ(ReadGroups(noteman).names, kStandardGroups);
    EXPECT_EQ(CalendarRecords(calendar),
              (std::vector<std::string>{"1 " + std::to_string(StandardCalendarOptions().dialogBackColor)}));
    EXPECT_EQ(ReadWholeFile(noteman + ".bad2"), damagedGroups);
    EXPECT_EQ(ReadWholeFile(noteman + ".bad"), "a damaged file kept earlier");
    EXPECT_EQ(ReadWholeFile(apps + ".bad"), damagedApps);
    EXPECT_EQ(ReadWholeFile(calendar + ".bad"), damagedCalendar);
    for (const char* unexpected : {"noteman.QPD.bad3", "apps.QPD.bad2", "calendar.QPD.bad2"})
        EXPECT_FALSE(FileExists(install.File(unexpected))) << unexpected;
    EXPECT_EQ(Occurrences(ReadWholeFile(install.File("error.txt")), " has been kept as "), 3u);
}

TEST(DamagedDataFiles, ADamagedEntryIsSkippedAloneAndTheSoundOnesOutliveAWriteAndARestart)
{
    ProgramInstall install("entries");
    install.AddInstalledDataFiles();
    const std::string noteman = install.File("noteman.QPD");
    const std::string apps = install.File("apps.QPD");
    const std::string calendar = install.File("calendar.QPD");
    DWORD first = 0;
    DWORD second = 0;
    DamagedEntryFiles damaged;
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        first = StoreShownNote("Travel note", 60);
        second = StoreShownNote("Garden note", 360);
        StoreShownNote("A passing note", 660);
        damaged = WriteFilesWithDamagedEntries(install.Path(), first, second);
    }
    const std::vector<std::string> soundPairs = Sorted({"8 " + std::to_string(first), "10 " + std::to_string(second)});
    const std::vector<std::string> soundTies =
        Sorted({std::to_string(first) + " Travel plans - notes.txt", std::to_string(second) + " Garden - notes.txt"});
    const std::vector<std::string> soundCalendar = {"1 " + std::to_string(kOwnCalendarColour),
                                                    "7 " + std::to_string(StandardCalendarOptions().dialogBackColor)};
    // Every sound entry in the program's files, the damaged ones gone.
    auto expectSoundEntries = [&] {
        const std::vector<std::string> names = ReadGroups(noteman).names;
        EXPECT_EQ(std::count(names.begin(), names.end(), "Travel"), 1);
        EXPECT_EQ(std::count(names.begin(), names.end(), "Garden"), 1);
        EXPECT_EQ(names.size(), 10u);
        EXPECT_EQ(Memberships(noteman), soundPairs);
        EXPECT_EQ(Associations(apps), soundTies);
        EXPECT_EQ(Sorted(CalendarRecords(calendar)), soundCalendar);
    };

    {
        RunningProgram program(install, "");
        const DWORD process = program.ProcessId();
        // One box for each file, naming where it was kept.
        const std::vector<std::string> boxes = AnswerStartBoxes(process, 3, "damaged-entries-kept-aside");
        ASSERT_EQ(boxes.size(), 3u);
        for (const char* text :
             {"noteman.QPD holds 2 entries that cannot be read; error.txt names them. The program goes on with "
              "everything else in the file.\r\n\r\nnoteman.QPD has been kept as \"noteman.QPD.bad\" before it is "
              "written again.",
              "apps.QPD holds 1 entry that cannot be read; error.txt names it.",
              "apps.QPD has been kept as \"apps.QPD.bad\" before it is written again.",
              "calendar.QPD holds 1 entry that cannot be read; error.txt names it.",
              "calendar.QPD has been kept as \"calendar.QPD.bad\" before it is written again."})
            EXPECT_TRUE(AnyTextHas(boxes, text)) << text << "\n" << boxes[0] << "\n" << boxes[1] << "\n" << boxes[2];
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        ASSERT_NE(WaitForNoteWithText(process, "Garden note"), nullptr);
        EXPECT_FALSE(ProgramBoxShown(process));
        EXPECT_EQ(ReadWholeFile(noteman + ".bad"), damaged.noteman);
        EXPECT_EQ(ReadWholeFile(apps + ".bad"), damaged.apps);
        EXPECT_EQ(ReadWholeFile(calendar + ".bad"), damaged.calendar);
        const std::string log = ReadWholeFile(install.File("error.txt"));
        for (const char* entry : {"noteman.QPD: group 10 (id \"9\") was skipped. The \"content group name\"",
                                  "noteman.QPD: noteAndGroup 2 (groupID \"10\") was skipped. ",
                                  "apps.QPD: association 2 (application \"Weather - notes.txt\") was skipped. ",
                                  "calendar.QPD: options 2 (userID \"5\") was skipped. "})
            EXPECT_NE(log.find(entry), std::string::npos) << entry << " in " << log;

        // A passing note's deletion writes the groups and the associations,
        // OK on the Settings sheet the calendar's settings.
        HWND passing = WaitForNoteWithText(process, "A passing note");
        ASSERT_NE(passing, nullptr);
        ASSERT_TRUE(DeleteNoteWindow(passing, process));
        ASSERT_TRUE(WaitUntil([&] {
            return ReadWholeFile(noteman) != damaged.noteman && ReadWholeFile(apps) != damaged.apps;
        }));
        HWND sheet = nullptr;
        ASSERT_NE(OpenSettingsPage(program, 0, &sheet), nullptr);
        ASSERT_TRUE(PressSheetOk(sheet));
        ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(calendar) != damaged.calendar; }));
        EXPECT_FALSE(ProgramBoxShown(process));
        expectSoundEntries();
        CloseProgram(install, program);
    }

    // After a restart: not a word, every sound entry still there, and the
    // kept files as they were.
    {
        RunningProgram again(install, "");
        const DWORD process = again.ProcessId();
        ASSERT_NE(WaitForMainWindow(again), nullptr);
        ASSERT_NE(WaitForNoteWithText(process, "Travel note"), nullptr);
        EXPECT_FALSE(ProgramBoxShown(process));
        CloseProgram(install, again);
    }
    expectSoundEntries();
    EXPECT_EQ(ReadWholeFile(noteman + ".bad"), damaged.noteman);
    EXPECT_EQ(ReadWholeFile(apps + ".bad"), damaged.apps);
    EXPECT_EQ(ReadWholeFile(calendar + ".bad"), damaged.calendar);
    for (const char* unexpected : {"noteman.QPD.bad2", "apps.QPD.bad2", "calendar.QPD.bad2"})
        EXPECT_FALSE(FileExists(install.File(unexpected))) << unexpected;
    EXPECT_EQ(Occurrences(ReadWholeFile(install.File("error.txt")), " before it is written again."), 3u);
}
