// Restores on the running program: a backup replacing the notes brings each
// one back whole, an undo returns to the notes of before, appending twice
// places each set further down, and a backup by hand ends the undo copy.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "note/NoteSheetRecords.h"
#include "resources/ids/RestoreIds.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
const char kAlphaText[] = "{\\rtf1\\ansi Alpha text}";
const char kBlankLinesText[] = "{\\rtf1\\ansi \\par\\par Third line}";

void StoreAlphaAndBlankLines(const ProgramInstall& install)
{
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Alpha", sizeof note.m_title);
        note.m_left = 100;
        note.m_top = 120;
        note.m_width = 260;
        note.m_height = 180;
        note.m_stayOnTop = true;
        note.m_border = true;
        note.m_showDate = true;
        SetNoteLineKinds(note, 1, 2, 1);
        note.m_bodyColor = RGB(10, 200, 30);
        note.m_textColor = RGB(40, 50, 60);
        note.m_titleColor = RGB(70, 80, 90);
        note.m_titleTextColor = RGB(250, 240, 230);
        note.m_bodyFont.lfWeight = FW_BOLD;
        note.m_bodyFont.lfItalic = 1;
        note.m_titleFont.lfHeight = -11;
        lstrcpynA(note.m_titleFont.lfFaceName, "Arial", LF_FACESIZE);
        note.m_alarmSet = true;
        note.m_alarm = CDateTime(24, 12, 2030, 18, 30);
        note.m_alarmRecurring = true;
        note.m_alarmValue = 3;
        note.m_alarmUnit = 2;
        note.SetRichText(kAlphaText, sizeof kAlphaText - 1);
    });
    StoreNote(install, [](CNoteController& note) {
        lstrcpynA(note.m_title, "Blank lines", sizeof note.m_title);
        note.m_left = 400;
        note.m_top = 120;
        note.SetRichText(kBlankLinesText, sizeof kBlankLinesText - 1);
    });
}

HWND NoteContaining(DWORD process, const std::string& text, int skip = 0)
{
    for (HWND note : NoteWindows(process)) {
        if (ReadWindowText(BodyOf(note)).find(text) != std::string::npos && skip-- == 0)
            return note;
    }
    return nullptr;
}

size_t NotesContaining(DWORD process, const std::string& text)
{
    size_t count = 0;
    for (HWND note : NoteWindows(process))
        count += ReadWindowText(BodyOf(note)).find(text) != std::string::npos;
    return count;
}

// A silent backup of the notes as they are now, named, read by Python.
std::map<std::string, std::string> FactsNow(const ProgramInstall& install, const std::string& name)
{
    RunToEnd(install, "/backup " + name);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(install.File(name)); }));
    return BackupFacts(install.File(name));
}

// The facts of the note whose title is given, under keys without the note's number.
std::map<std::string, std::string> NoteFacts(const std::map<std::string, std::string>& facts, const std::string& title)
{
    std::map<std::string, std::string> note;
    for (int n = 1; facts.count("note" + std::to_string(n) + ".title"); ++n) {
        const std::string key = "note" + std::to_string(n) + ".";
        if (facts.at(key + "title") != title)
            continue;
        for (const auto& fact : facts)
            if (fact.first.rfind(key, 0) == 0)
                note[fact.first.substr(key.size())] = fact.second;
    }
    return note;
}

// "&Yes" of "Restore notes...", after choosing the method; the dialog's texts.
struct RestoreDialogTexts {
    std::string countLine;
    std::string question;
    std::string explanation;
};
RestoreDialogTexts AnswerRestoreDialog(DWORD process, int methodButton, const char* screenshot)
{
    RestoreDialogTexts texts;
    HWND dialog = WaitForDialog(process, "Restore notes...");
    EXPECT_NE(dialog, nullptr);
    if (!dialog)
        return texts;
    SendWithTimeout(GetDlgItem(dialog, methodButton), BM_CLICK, 0, 0);
    texts.countLine = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_COUNT_LINE));
    texts.question = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_QUESTION));
    texts.explanation = ReadWindowText(GetDlgItem(dialog, IDC_RESTORE_EXPLANATION));
    EXPECT_TRUE(SaveScreenshotOf(dialog, screenshot));
    EXPECT_TRUE(PressAndWaitGone(dialog, IDOK));
    return texts;
}

std::string FileOrNothing(const std::string& path)
{
    return FileExists(path) ? ReadWholeFile(path) : std::string("(no file)");
}

const CNoteController* StoredNoteAt(const StoredNoteList& notes, const char* title, LONG left)
{
    for (const auto& note : notes)
        if (std::string(note->m_title) == title && note->m_left == left)
            return note.get();
    return nullptr;
}
}

TEST(RestoreProgram, AReplacedSetComesBackWholeAndAnUndoReturnsToTheNotesOfBefore)
{
    // A backup made by the program of two stored notes and of a locked and
    // a grouped note it took in from another backup.
    std::string backupName;
    std::string backupBytes;
    {
        ProgramInstall earlier;
        earlier.AddInstalledDataFiles();
        StoreAlphaAndBlankLines(earlier);
        WriteLockedAndGroupedBackup(earlier.File("other.QPK"));
        RunningProgram program(earlier, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        const size_t stored = NoteWindows(program.ProcessId()).size();
        // Its password is not given: the locked note is hidden, still masked.
        RestoreAnsweringPassword(earlier, program.ProcessId(), "/import other.QPK", nullptr);
        ASSERT_TRUE(WaitUntil([&] { return NoteWindows(program.ProcessId()).size() == stored + 2; }));
        BoxAfterCommand(main, program.ProcessId(), kCmdBackupAll);
        ASSERT_EQ(BackupFiles(earlier).size(), 1u);
        backupName = BackupFiles(earlier)[0];
        backupBytes = ReadWholeFile(BackupFile(earlier, backupName));
        CloseProgram(earlier, program);
    }

    // The notes of before: the two stored notes again, and one more.
    ProgramInstall install;
    install.AddInstalledDataFiles();
    StoreAlphaAndBlankLines(install);
    ASSERT_TRUE(CreateDirectoryA(install.File("BACKUP").c_str(), nullptr));
    WriteWholeFile(BackupFile(install, backupName), backupBytes);
    EXPECT_EQ(NoteFacts(BackupFacts(BackupFile(install, backupName)), "Alpha")["font_size"], "10");
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    const DWORD process = program.ProcessId();
    ASSERT_NE(NewNoteFromCommandLine(install, process, "Gamma after the backup"), nullptr);
    const std::vector<std::string> before = NoteTexts(process);
    const RECT alpha = RectOf(NoteContaining(process, "Alpha text"));
    const std::string blankLines = ReadWindowText(BodyOf(NoteContaining(process, "Third line")));
    ASSERT_EQ(blankLines.rfind("\r\n\r\nThird line", 0), 0u) << blankLines;

    // Replacing: the backup's notes, and only they, each where it was.
    const std::string groupsBefore = FileOrNothing(install.File("noteman.QPD"));
    const std::string programsBefore = FileOrNothing(install.File("apps.QPD"));
    PostMessageA(main, WM_COMMAND, kCmdFirstBackup, 0);
    const RestoreDialogTexts texts = AnswerRestoreDialog(process, IDC_RESTORE_REPLACE, "RestoreNotesDialog");
    EXPECT_EQ(texts.countLine, "Restore the 5 notes from the backup made on");
    EXPECT_EQ(texts.question.substr(texts.question.size() - 2), " ?") << texts.question;
    EXPECT_NE(texts.question.find(", " + backupName.substr(0, 4) + ", "), std::string::npos) << texts.question;
    EXPECT_EQ(texts.explanation.rfind("This will first remove all existing notes", 0), 0u) << texts.explanation;
    EXPECT_EQ(AcknowledgeProgramBox(process),
              "The restore operation has been successfully completed.\r\n\r\n           5 notes were restored.");
    EXPECT_EQ(NotesContaining(process, "Gamma after the backup"), 0u);
    ASSERT_EQ(NotesContaining(process, "Alpha text"), 1u);
    const RECT replaced = RectOf(NoteContaining(process, "Alpha text"));
    EXPECT_EQ(replaced.left, alpha.left);
    EXPECT_EQ(replaced.top, alpha.top);
    EXPECT_EQ(ReadWindowText(BodyOf(NoteContaining(process, "Third line"))), blankLines);
    EXPECT_EQ(NotesContaining(process, " ...PROTECTED  NOTE... "), 1u);
    EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qpd")));
    std::map<std::string, std::string> restored = FactsNow(install, "restored.QPK");
    ASSERT_EQ(restored["parsed"], "1") << restored["error"];
    EXPECT_EQ(NoteFacts(restored, "Grouped")["group"], "Travel");
    EXPECT_EQ(NoteFacts(restored, "Grouped")["associations"], "Untitled - Notepad");
    EXPECT_NE(NoteFacts(restored, "Locked")["rtf_text"].find("08190f7344fdfba35e45522072770002~^+"),
              std::string::npos);
    EXPECT_NE(FileOrNothing(install.File("noteman.QPD")).find("<![CDATA[Travel]]>"), std::string::npos);
    EXPECT_NE(FileOrNothing(install.File("apps.QPD")).find("<![CDATA[Untitled - Notepad]]>"), std::string::npos);

    // The undo: the notes of before, without group or association, and no undo copy.
    PostMessageA(main, WM_COMMAND, kCmdUnrestore, 0);
    HWND undo = WaitForDialog(process, "Unrestore notes...");
    ASSERT_NE(undo, nullptr);
    const std::string restoreTime = ReadWindowText(GetDlgItem(undo, IDC_UNRESTORE_DATE));
    EXPECT_EQ(restoreTime.back(), ',') << restoreTime;
    EXPECT_TRUE(SaveScreenshotOf(undo, "UnrestoreNotesDialog"));
    ASSERT_TRUE(PressAndWaitGone(undo, IDOK));
    EXPECT_EQ(AcknowledgeProgramBox(process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(NoteTexts(process), before);
    EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    EXPECT_EQ(FileOrNothing(install.File("noteman.QPD")), groupsBefore);
    EXPECT_EQ(FileOrNothing(install.File("apps.QPD")), programsBefore);
    std::map<std::string, std::string> undone = FactsNow(install, "undone.QPK");
    ASSERT_EQ(undone["parsed"], "1") << undone["error"];
    for (int n = 1; undone.count("note" + std::to_string(n) + ".title"); ++n) {
        EXPECT_EQ(undone["note" + std::to_string(n) + ".group"], "");
        EXPECT_EQ(undone["note" + std::to_string(n) + ".associations"], "");
    }

    // Two appends: each set 10 pixels further right and down.
    for (size_t copies = 2; copies <= 3; ++copies) {
        RunToEnd(install, "/importSilently BACKUP\\" + backupName);
        ASSERT_TRUE(WaitUntil([&] { return NotesContaining(process, "Alpha text") == copies; }));
    }
    std::vector<LONG> lefts;
    for (int k = 0; k < 3; ++k)
        lefts.push_back(RectOf(NoteContaining(process, "Alpha text", k)).left);
    std::sort(lefts.begin(), lefts.end());
    EXPECT_EQ(lefts, (std::vector<LONG>{alpha.left, alpha.left + 10, alpha.left + 20}));
    EXPECT_EQ(NotesContaining(process, "Gamma after the backup"), 1u);

    // A backup by hand ends the undo copy, and with it "&Unrestore...".
    ASSERT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qpd")));
    EXPECT_EQ(BoxAfterCommand(main, process, kCmdBackupAll).rfind("Backup completed successfully to: BACKUP\\", 0),
              0u);
    EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    CloseProgram(install, program);

    // What the notes table keeps of the notes that came back.
    StoredNoteList notes = LoadEveryNote(install.Path());
    const CNoteController* copy = StoredNoteAt(notes, "Alpha", alpha.left + 10);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_top, alpha.top + 10);
    EXPECT_EQ(copy->m_width, 260);
    EXPECT_EQ(copy->m_height, 180);
    EXPECT_TRUE(copy->m_stayOnTop);
    EXPECT_TRUE(copy->m_border);
    EXPECT_TRUE(copy->m_showDate);
    EXPECT_EQ(NoteHorizontalLines(*copy), 1u);
    EXPECT_EQ(NoteLeftMarginKind(*copy), 2u);
    EXPECT_EQ(NotePlainText(*copy), 1u);
    EXPECT_EQ(copy->m_bodyColor, RGB(10, 200, 30));
    EXPECT_EQ(copy->m_textColor, RGB(40, 50, 60));
    EXPECT_EQ(copy->m_titleColor, RGB(70, 80, 90));
    EXPECT_EQ(copy->m_titleTextColor, RGB(250, 240, 230));
    EXPECT_EQ(copy->m_bodyFont.lfHeight, -13);
    EXPECT_EQ(copy->m_bodyFont.lfWeight, FW_BOLD);
    EXPECT_EQ(copy->m_bodyFont.lfItalic, 1);
    EXPECT_STREQ(copy->m_bodyFont.lfFaceName, "Tahoma");
    EXPECT_EQ(copy->m_titleFont.lfHeight, -11);
    EXPECT_STREQ(copy->m_titleFont.lfFaceName, "Arial");
    EXPECT_TRUE(copy->m_alarmSet);
    EXPECT_EQ(copy->m_alarm.m_year, 2030);
    EXPECT_EQ(copy->m_alarm.m_hour, 18);
    EXPECT_TRUE(copy->m_alarmRecurring);
    EXPECT_EQ(copy->m_alarmValue, 3);
    EXPECT_EQ(copy->m_alarmUnit, 2);
    EXPECT_NE(copy->RichText().find("Alpha text"), std::string::npos);
    // The backup holds the locked note as the earlier run placed it, appended there too.
    for (LONG left : {500 + 10 + 10, 500 + 10 + 20}) {
        const CNoteController* locked = StoredNoteAt(notes, "Locked", left);
        ASSERT_NE(locked, nullptr) << left;
        EXPECT_TRUE(locked->m_protected);
        EXPECT_EQ(locked->m_protectedContent, ProtectedNoteBody());
    }

    // The appended notes keep their group and their program after a restart.
    {
        RunningProgram again(install, "");
        ASSERT_NE(WaitForMainWindow(again), nullptr);
        RunToEnd(install, "/backup restarted.QPK");
        ASSERT_TRUE(WaitUntil([&] { return FileExists(install.File("restarted.QPK")); }));
        CloseProgram(install, again);
        size_t grouped = 0;
        for (const BackupNote& note : ReadBackupNotes(install.File("restarted.QPK"))) {
            if (note.title != "Grouped")
                continue;
            ++grouped;
            EXPECT_EQ(note.group, "Travel");
            ASSERT_EQ(note.associations.size(), 1u);
            EXPECT_EQ(note.associations[0].application, "Untitled - Notepad");
            EXPECT_FALSE(note.associations[0].iconBase64.empty());
        }
        EXPECT_EQ(grouped, 2u);
    }
}
