// Restores and undos on the running program while another program holds one
// of the data files, or cut short: each either happens whole or changes
// nothing, and no note, edit, group or calendar option is lost, then or after
// a restart.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "foundation/FileHelpers.h"
#include "store/bytes/ReplacementRecord.h"
#include "noteprops/AppAssociationsFile.h"
#include "support/HeldFile.h"
#include "support/InFolder.h"
#include "support/NoteDriving.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"
#include "support/TextChecks.h"

namespace {
const char* const kHeldStoredTexts[] = {"First stored", "Second stored"};
const std::vector<std::string> kBackupTexts = {"From the trip one", "From the trip three", "From the trip two"};

std::string HeldCalendarFile(const std::string& comment)
{
    return std::string("<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n<content>\r\n   <!--") +
           comment + "-->\r\n</content>\r\n";
}

// Two stored notes, the calendar's options, and a backup of three notes
// (the first in the group "Travel") in "trip.QPK".
void PrepareHeldInstall(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    LONG left = 100;
    for (const char* text : kHeldStoredTexts) {
        StoreNote(install, [&](CNoteController& note) { FillTestNote(note, text, left, 100); });
        left += 260;
    }
    WriteWholeFile(install.File("calendar.QPD"), HeldCalendarFile("the calendar's options"));
    std::vector<BackupNote> notes;
    LONG top = 300;
    for (const char* text : {"From the trip one", "From the trip two", "From the trip three"}) {
        BackupNote note;
        note.title = text;
        note.content = std::string("{\\rtf1\\ansi ") + text + "}";
        note.left = 100;
        note.top = top;
        top += 40;
        notes.push_back(note);
    }
    notes[0].group = "Travel";
    WriteBackupFile(install.File("trip.QPK"), notes);
}

const char kTiedText[] = "Tied to a group and a program";
const char kTiedProgram[] = "Untitled - Notepad";

// A backup of one note in the group "Travel" that follows a program's window.
void WriteTiedBackup(const std::string& path)
{
    BackupNote note;
    note.title = kTiedText;
    note.content = std::string("{\\rtf1\\ansi ") + kTiedText + "}";
    note.left = 600;
    note.top = 200;
    note.group = "Travel";
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddIcon(icons, LoadIconA(nullptr, IDI_APPLICATION));
    note.associations = {BackupAssociation{kTiedProgram, IconText(icons, 0)}};
    ImageList_Destroy(icons);
    WriteBackupFile(path, {note});
}

// An XML file of the program with its root element alone.
void WriteEmptyXmlFile(const std::string& path, const std::string& root)
{
    if (!FileExists(path))
        WriteWholeFile(path, "<?xml version='1.0' encoding='Windows-1252' standalone='yes'?>\r\n<" + root +
                                 ">\r\n</" + root + ">\r\n");
}

// Another program holds noteman.QPD and apps.QPD (as the program wrote them,
// or made for it when it has not written them yet, which it writes over
// from its lists), sharing read and write but not their replacement.
class HeldGroupsFiles {
public:
    explicit HeldGroupsFiles(const ProgramInstall& install)
    {
        WriteEmptyXmlFile(install.File("noteman.QPD"), "content");
        WriteEmptyXmlFile(install.File("apps.QPD"), "associateNoteAndApplications");
        m_groups.Hold(install.File("noteman.QPD"), kHolderSharesReadWrite);
        m_apps.Hold(install.File("apps.QPD"), kHolderSharesReadWrite);
    }
    bool Held() const { return m_groups.Held() && m_apps.Held(); }

private:
    HeldFile m_groups;
    HeldFile m_apps;
};

// The tied note's group and programs, as a backup made after a new start
// gives them: "group|program" for each note of that title.
std::vector<std::string> TiesAfterRestart(const ProgramInstall& install)
{
    RunningProgram again(install, "");
    EXPECT_NE(WaitForMainWindow(again), nullptr);
    EXPECT_NE(WaitForNoteWithText(again.ProcessId(), kTiedText), nullptr);
    DeleteFileA(install.File("again.QPK").c_str());
    RunToEnd(install, "/backup again.QPK");
    EXPECT_TRUE(WaitUntil([&] { return FileExists(install.File("again.QPK")); }));
    CloseProgram(install, again);
    std::vector<std::string> ties;
    for (const BackupNote& note : ReadBackupNotes(install.File("again.QPK"))) {
        if (note.title != kTiedText)
            continue;
        std::string tie = note.group;
        for (const BackupAssociation& association : note.associations)
            tie += "|" + association.application;
        ties.push_back(tie);
    }
    return ties;
}

// The end asked for while the groups files are held: one box names both
// files and the program runs on when the user does not end anyway; so does
// a refused end of the session.
void ExpectEndRefusedForHeldFiles(HWND main, DWORD process, RunningProgram& program)
{
    PostMessageA(main, WM_COMMAND, kCmdExit, 0);
    const std::string told = AcknowledgeReadableProgramBox(process, "end-waits-for-groups-files", IDNO);
    EXPECT_NE(told.find("noteman.QPD"), std::string::npos) << told;
    EXPECT_NE(told.find("apps.QPD"), std::string::npos) << told;
    EXPECT_NE(told.find("noteman.QPD: another program is using it"), std::string::npos) << told;
    EXPECT_NE(told.find("Please close the program that is using them"), std::string::npos) << told;
    EXPECT_FALSE(ProgramBoxShown(process)) << "told once";
    EXPECT_TRUE(SendWithTimeout(main, WM_NULL, 0, 0));
    EXPECT_TRUE(program.IsRunning());

    LRESULT answer = 1;
    std::thread asking([&] { SendWithTimeout(main, WM_QUERYENDSESSION, 0, 0, &answer); });
    const std::string session = AnswerProgramBox(process, IDNO);
    asking.join();
    // The same question, but for the minute that names the backup file.
    EXPECT_EQ(session.substr(0, session.rfind('\n')), told.substr(0, told.rfind('\n')));
    EXPECT_EQ(answer, 0) << "the end of the session is refused";
    EXPECT_TRUE(program.IsRunning());
}

// The rescue backup a box names on its last line.
std::string RescueBackupNamedIn(const std::string& box)
{
    const size_t line = box.rfind("\r\n    ");
    return line == std::string::npos ? std::string() : box.substr(line + 6);
}

std::vector<std::string> TextsAfterRestart(const ProgramInstall& install)
{
    RunningProgram again(install, "");
    EXPECT_NE(WaitForMainWindow(again), nullptr);
    std::vector<std::string> texts = NoteTexts(again.ProcessId());
    CloseProgram(install, again);
    return texts;
}

// The texts of the notes on the screen (a deleted note keeps its window, hidden).
std::vector<std::string> ShownNoteTexts(DWORD process)
{
    std::vector<std::string> texts;
    for (HWND note : NoteWindows(process))
        if (IsWindowVisible(note))
            texts.push_back(ReadWindowText(BodyOf(note)));
    std::sort(texts.begin(), texts.end());
    return texts;
}

// Each test starts the program on the prepared install and waits for its stored notes.
class RestoreHeldFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareHeldInstall(install);
        program = std::make_unique<RunningProgram>(install, "");
        main = WaitForMainWindow(*program);
        ASSERT_NE(main, nullptr);
        process = program->ProcessId();
        ASSERT_NE(WaitForNoteWithText(process, "Second stored"), nullptr);
        stored = NoteTexts(process);
    }

    ProgramInstall install;
    std::unique_ptr<RunningProgram> program;
    HWND main = nullptr;
    DWORD process = 0;
    std::vector<std::string> stored;
};
}

TEST_F(RestoreHeldFiles, AnUndoWithTheMemoFileHeldChangesNothingAndKeepsTheEditsMadeSinceTheRestore)
{
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == kBackupTexts; }));
    TypeAtStart(WaitForNoteWithText(process, "From the trip two"), "Edited ");
    const std::vector<std::string> restored = {"Edited From the trip two", "From the trip one",
                                               "From the trip three"};
    ASSERT_EQ(NoteTexts(process), restored);
    const std::string calendar = ReadWholeFile(install.File("calendar.QPD"));
    const std::string groups = ReadWholeFile(install.File("noteman.QPD"));

    // Nothing is undone, and the box says which file and why, and where the
    // edit, which the held memo file kept from being stored, is kept.
    {
        HeldFile holder(install.File("notes.qps"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = UnrestoreAnsweringYes(main, process);
        EXPECT_EQ(refusal.rfind("These files could not be put back", 0), 0u) << refusal;
        EXPECT_TRUE(Contains(refusal, "notes.qps: another program is using it")) << refusal;
        EXPECT_TRUE(Contains(refusal, "please close the programs that use these files")) << refusal;
        EXPECT_TRUE(Contains(refusal, "Nothing was undone")) << refusal;
        const std::string rescue = RescueBackupNamedIn(refusal);
        EXPECT_TRUE(Contains(rescue, "\\BACKUP\\Unstored ")) << refusal;
        EXPECT_TRUE(Contains(ReadWholeFile(rescue), "Edited From the trip two")) << rescue;
        EXPECT_EQ(NoteTexts(process), restored);
        EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qps")));
        EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), calendar);
        EXPECT_TRUE(Contains(ReadWholeFile(install.File("noteman.QPD")), "Travel"));
        EXPECT_FALSE(FileExists(install.File("notes.qps.was")));
        EXPECT_FALSE(FileExists(install.File("notes.QPD.put")));
    }
    CloseProgram(install, *program);
    EXPECT_EQ(ReadWholeFile(install.File("noteman.QPD")), groups);

    // The edit and every restored text are stored; the undo still works.
    EXPECT_EQ(TextsAfterRestart(install), restored);
    RunningProgram again(install, "");
    main = WaitForMainWindow(again);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(UnrestoreAnsweringYes(main, again.ProcessId()), "The unrestore operation has been successfully completed");
    EXPECT_EQ(NoteTexts(again.ProcessId()), stored);
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), HeldCalendarFile("the calendar's options"));
    CloseProgram(install, again);
    EXPECT_EQ(TextsAfterRestart(install), stored);
}

// The notes cannot be saved first (the table's working copy is held): an
// undo that then failed half-way would load tables without the edits, so
// none is made, and the edit is in the rescue backup that the refusal names.
TEST_F(RestoreHeldFiles, AnUndoWhoseSaveFailsIsNotMadeAndTheEditsAreStoredLater)
{
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == kBackupTexts; }));
    TypeAtStart(WaitForNoteWithText(process, "From the trip one"), "Changed ");
    const std::vector<std::string> restored = {"Changed From the trip one", "From the trip three",
                                               "From the trip two"};
    ASSERT_EQ(NoteTexts(process), restored);
    {
        WriteWholeFile(install.File("notesTemp.QPD"), "left by a stop");
        HeldFile holder(install.File("notesTemp.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = UnrestoreAnsweringYes(main, process);
        EXPECT_TRUE(Contains(refusal, "could not be saved before the undo")) << refusal;
        EXPECT_TRUE(Contains(refusal, "Nothing was undone")) << refusal;
        const std::string rescue = RescueBackupNamedIn(refusal);
        EXPECT_TRUE(Contains(rescue, "\\BACKUP\\Unstored ")) << refusal;
        EXPECT_TRUE(Contains(ReadWholeFile(rescue), "Changed From the trip one")) << rescue;
        EXPECT_EQ(NoteTexts(process), restored);
        EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\notes.qps")));
    }
    CloseProgram(install, *program);
    EXPECT_EQ(TextsAfterRestart(install), restored);
}

TEST_F(RestoreHeldFiles, AReplaceWithTheNotesTableHeldTouchesNoNoteAndSaysNothingWasRestored)
{
    WriteWholeFile(install.File("chatnote.QPD"), "the chat note's settings");
    TypeAtStart(WaitForNoteWithText(process, "First stored"), "Typed ");
    ASSERT_NE(WaitForNoteWithText(process, "Typed First stored"), nullptr);
    const std::vector<std::string> before = NoteTexts(process);
    {
        HeldFile holder(install.File("notes.QPD"), FILE_SHARE_READ);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = SilentRestoreErrors(install, process, "/replaceSilently trip.QPK");
        EXPECT_TRUE(Contains(refusal, "Nothing was restored")) << refusal;
        EXPECT_EQ(NoteTexts(process), before);
        EXPECT_EQ(ReadWholeFile(install.File("chatnote.QPD")), "the chat note's settings");
        EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    }
    CloseProgram(install, *program);
    EXPECT_EQ(TextsAfterRestart(install), before);
}

TEST_F(RestoreHeldFiles, AnUndoCopyThatCannotBeMadeWholeStopsTheRestoreAndLeavesNoPartialCopy)
{
    // The refusal names the file and why, in its box and in error.txt.
    WriteEmptyXmlFile(install.File("noteman.QPD"), "content");
    for (const char* name : {"calendar.qpd", "noteman.qpd"}) {
        SCOPED_TRACE(name);
        HeldFile holder(install.File(name), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = SilentRestoreErrors(install, process, "/importSilently trip.QPK");
        EXPECT_EQ(refusal.rfind("The notes could not be copied into the UNRESTORE folder", 0), 0u) << refusal;
        EXPECT_TRUE(Contains(refusal, std::string(name) + ": another program is using it")) << refusal;
        EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")),
                             std::string(name) + " could not be copied into the UNRESTORE folder"));
        EXPECT_EQ(NoteTexts(process), stored);
        EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    }

    // Once the file is free the copy is whole; it says what it holds and
    // what the data folder lacked, and the undo deletes only that.
    RunToEnd(install, "/importSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process).size() == stored.size() + 3; }));
    const std::string contents = ReadWholeFile(install.File("BACKUP\\UNRESTORE\\contents.lst"));
    EXPECT_TRUE(Contains(contents, "held calendar.qpd")) << contents;
    EXPECT_TRUE(Contains(contents, "absent chatnote.qpd")) << contents;
    WriteWholeFile(install.File("chatnote.QPD"), "made after the restore");
    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(NoteTexts(process), stored);
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), HeldCalendarFile("the calendar's options"));
    EXPECT_FALSE(FileExists(install.File("chatnote.QPD")));
    CloseProgram(install, *program);
}

TEST_F(RestoreHeldFiles, RestoredNotesStoredOnlyLaterStillGetTheirGroup)
{
    // No note of the user is left to save before the restore.
    for (HWND note : NoteWindows(process))
        ASSERT_TRUE(DeleteNoteWindow(note, process));
    {
        HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        RunToEnd(install, "/importSilently trip.QPK");
        ASSERT_TRUE(WaitUntil([&] { return ShownNoteTexts(process) == kBackupTexts; }));
    }
    CloseProgram(install, *program);

    RunningProgram again(install, "");
    ASSERT_NE(WaitForMainWindow(again), nullptr);
    EXPECT_EQ(NoteTexts(again.ProcessId()), kBackupTexts);
    RunToEnd(install, "/backup again.QPK");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(install.File("again.QPK")); }));
    CloseProgram(install, again);
    size_t grouped = 0;
    for (const BackupNote& note : ReadBackupNotes(install.File("again.QPK")))
        grouped += note.title == "From the trip one" && note.group == "Travel";
    EXPECT_EQ(grouped, 1u);
}

TEST_F(RestoreHeldFiles, ARebuiltNotesPairThatCannotBeInstalledYetStopsTheRestore)
{
    const std::vector<std::string>& before = stored;
    // A save that rebuilt the pair was cut short before it could install it.
    WriteWholeFile(install.File("notesNew.QPS"), ReadWholeFile(install.File("notes.qps")));
    WriteWholeFile(install.File("notesNew.QPD"), ReadWholeFile(install.File("notes.QPD")));
    {
        HeldFile holder(install.File("notes.qps"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = SilentRestoreErrors(install, process, "/replaceSilently trip.QPK");
        EXPECT_TRUE(Contains(refusal, "notesNew.QPD")) << refusal;
        EXPECT_TRUE(Contains(refusal, "Nothing was restored")) << refusal;
        EXPECT_EQ(NoteTexts(process), before);
        EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    }
    // Free again, the pair goes in first and the restore follows.
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == kBackupTexts; }));
    EXPECT_FALSE(FileExists(install.File("notesNew.QPD")));
    CloseProgram(install, *program);
    EXPECT_EQ(TextsAfterRestart(install), kBackupTexts);
}

// The delivery records are replaced together with the notes: held by another
// program, the replace touches no note and leaves no undo copy to mislead.
TEST_F(RestoreHeldFiles, AReplaceWithTheDeliveryRecordsHeldTouchesNoNote)
{
    {
        HeldFile holder(install.File("transact.QPD"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = SilentRestoreErrors(install, process, "/replaceSilently trip.QPK");
        EXPECT_TRUE(Contains(refusal, "transact.QPD: another program is using it")) << refusal;
        EXPECT_TRUE(Contains(refusal, "Nothing was restored")) << refusal;
        EXPECT_EQ(NoteTexts(process), stored);
        EXPECT_FALSE(FileExists(install.File("BACKUP\\UNRESTORE")));
    }
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == kBackupTexts; }));
    CloseProgram(install, *program);
    EXPECT_EQ(TextsAfterRestart(install), kBackupTexts);
}

// The undo copy's list may name only the copy's own files, each once: a list
// edited to name anything else leaves every file where it is.
TEST_F(RestoreHeldFiles, AnUndoCopyWhoseListNamesOtherFilesTouchesNothing)
{
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == kBackupTexts; }));
    const std::string list = install.File("BACKUP\\UNRESTORE\\contents.lst");
    const std::string whole = ReadWholeFile(list);
    const std::string letterName = FileNameOf(install.Path()) + "-letter.doc";
    const std::string letter = install.File("..\\" + letterName);
    WriteWholeFile(letter, "a letter beside the data folder");
    const std::string edits[] = {"absent ..\\" + letterName, "held ..\\" + letterName, "absent notes.qps",
                                 "held notes.qpd", "held calendar.qpd\r\nabsent calendar.qpd"};
    for (const std::string& edit : edits) {
        SCOPED_TRACE(edit);
        WriteWholeFile(list, whole + edit + "\r\n");
        EXPECT_EQ(BoxAfterCommand(main, process, kCmdUnrestore), "The unrestore control information is missing");
        EXPECT_EQ(ReadWholeFile(letter), "a letter beside the data folder");
        EXPECT_EQ(NoteTexts(process), kBackupTexts);
    }
    DeleteFileA(letter.c_str());
    WriteWholeFile(list, whole);
    EXPECT_EQ(UnrestoreAnsweringYes(main, process), "The unrestore operation has been successfully completed");
    EXPECT_EQ(NoteTexts(process), stored);
    CloseProgram(install, *program);
}

// The tables come back, but another program holds a file the program loads
// with them: the undo is not kept, the tables of before it go back, and as
// they cannot be loaded either the program says so, writes nothing and ends.
// The next start loads the notes of before the undo, and the undo can be
// made again.
TEST_F(RestoreHeldFiles, AnUndoWhoseReloadFailsIsNotKeptAndCanBeMadeAgainAtTheNextStart)
{
    RunToEnd(install, "/replaceSilently trip.QPK");
    ASSERT_TRUE(WaitUntil([&] { return NoteTexts(process) == kBackupTexts; }));
    {
        HeldFile holder(install.File("sounds.QPD"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        const std::string told = UnrestoreAnsweringYes(main, process);
        EXPECT_TRUE(Contains(told, "could not be loaded now")) << told;
        EXPECT_TRUE(Contains(told, "Nothing was undone")) << told;
        DWORD exitCode = 0;
        ASSERT_TRUE(program->WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 3u);
    }
    EXPECT_TRUE(FileExists(install.File("BACKUP\\UNRESTORE\\contents.lst")));
    EXPECT_FALSE(FileExists(install.File("replacing.lst")));
    RunningProgram again(install, "");
    HWND againMain = WaitForMainWindow(again);
    ASSERT_NE(againMain, nullptr);
    EXPECT_EQ(NoteTexts(again.ProcessId()), kBackupTexts);
    UnrestoreAnsweringYes(againMain, again.ProcessId());
    EXPECT_TRUE(WaitUntil([&] { return NoteTexts(again.ProcessId()) == stored; }));
    CloseProgram(install, again);
}

// A restore cut short after it had replaced the memo file: the next start
// puts the files of before back and says so once. Copies that an earlier
// version left without a record are named, and the start stops without
// deleting them.
TEST_F(RestoreHeldFiles, AStartAfterARestoreCutShortPutsTheNotesOfBeforeBack)
{
    CloseProgram(install, *program);
    const std::string emptyMemo = ReadWholeFile(ProgramFolder() + "\\QlData\\notes.QPS");
    for (const char* name : {"notes.qps", "notes.QPD", "transact.QPD"})
        WriteWholeFile(install.File(std::string(name) + ".was"), ReadWholeFile(install.File(name)));
    WriteWholeFile(install.File("notes.QPD.put"), ReadWholeFile(ProgramFolder() + "\\QlData\\notes.QPD"));
    WriteWholeFile(install.File("transact.QPD.put"), ReadWholeFile(install.File("transact.QPD")));
    WriteWholeFile(install.File("notes.qps"), emptyMemo);
    ReplacementRecord record;
    record.files = {{"notes.qps", false, true}, {"notes.QPD", false, true}, {"transact.QPD", false, true},
                    {"chatnote.QPD", true, false}};
    WriteWholeFile(install.File("replacing.lst"), FormatReplacementRecord(record));
    {
        RunningProgram again(install, "");
        const std::string told = AcknowledgeProgramBox(again.ProcessId());
        EXPECT_TRUE(Contains(told, "A restore did not finish; it was replacing these data files")) << told;
        EXPECT_FALSE(Contains(told, "was stopped")) << told;
        EXPECT_TRUE(Contains(told, "They were put back as they were before the restore")) << told;
        ASSERT_NE(WaitForMainWindow(again), nullptr);
        EXPECT_EQ(NoteTexts(again.ProcessId()), stored);
        CloseProgram(install, again);
    }
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")), "They were put back")) << "and in error.txt";
    EXPECT_FALSE(FileExists(install.File("replacing.lst")));
    EXPECT_FALSE(FileExists(install.File("notes.qps.was")));
    EXPECT_EQ(TextsAfterRestart(install), stored);

    WriteWholeFile(install.File("notes.qps.was"), ReadWholeFile(install.File("notes.qps")));
    WriteWholeFile(install.File("notes.qps"), emptyMemo);
    RunningProgram stopped(install, "");
    const std::string told = AcknowledgeProgramBox(stopped.ProcessId());
    EXPECT_TRUE(Contains(told, "notes.qps.was")) << told;
    EXPECT_TRUE(Contains(told, "does not start while they are there")) << told;
    DWORD exitCode = 0;
    ASSERT_TRUE(stopped.WaitForExit(&exitCode));
    EXPECT_EQ(exitCode, 3u);
    EXPECT_TRUE(FileExists(install.File("notes.qps.was")));
    EXPECT_EQ(ReadWholeFile(install.File("notes.qps")), emptyMemo);
}

// A silent restore waits for no one: the locked note it brings stays masked
// instead of asking its password, and what a box would have said (here the
// backup's missing list of computers) goes to cmdLineRestore.Err.
TEST_F(RestoreHeldFiles, ASilentRestoreAsksNothingAndWritesWhatItWouldHaveSaid)
{
    WriteLockedAndGroupedBackup(install.File("locked.QPK"));
    std::string backup = ReadWholeFile(install.File("locked.QPK"));
    const size_t computers = backup.find("<computers>");
    ASSERT_NE(computers, std::string::npos);
    backup.erase(computers, backup.find("</computers>") + std::strlen("</computers>") - computers);
    WriteWholeFile(install.File("locked.QPK"), backup);

    const std::string errors = SilentRestoreErrors(install, process, "/importSilently locked.QPK");
    EXPECT_TRUE(Contains(errors, "computers")) << errors;
    EXPECT_TRUE(Contains(ReadWholeFile(install.File("error.txt")), errors.substr(0, errors.find('\r'))));
    const std::vector<std::string> texts = NoteTexts(process);
    EXPECT_EQ(texts.size(), stored.size() + 2);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), " ...PROTECTED  NOTE... "), 1) << "the locked note stays masked";
    CloseProgram(install, *program);
}

// The restore stores its note but cannot write its group and program: they
// wait, and the program does not end until they are written.
TEST_F(RestoreHeldFiles, TiesOfARestoredNoteWaitForHeldGroupsFilesAndTheEndWaitsForThem)
{
    WriteTiedBackup(install.File("tied.QPK"));
    {
        HeldGroupsFiles holder(install);
        ASSERT_TRUE(holder.Held());
        RunToEnd(install, "/importSilently tied.QPK");
        ASSERT_NE(WaitForNoteWithText(process, kTiedText), nullptr);
        EXPECT_FALSE(ProgramBoxShown(process));
        ExpectEndRefusedForHeldFiles(main, process, *program);
    }
    CloseProgram(install, *program);
    EXPECT_EQ(TiesAfterRestart(install), std::vector<std::string>{std::string("Travel|") + kTiedProgram});
}

// A restored note stored only by the save before the next restore: its ties
// cannot be written then, so that restore is not made, and they still wait.
TEST_F(RestoreHeldFiles, TiesThatTheSaveBeforeARestoreCannotWriteStopThatRestoreAndStillWait)
{
    WriteTiedBackup(install.File("tied.QPK"));
    for (HWND note : NoteWindows(process))
        ASSERT_TRUE(DeleteNoteWindow(note, process));
    {
        HeldFile holder(install.File("notes.QPD"), kHolderSharesReadWrite);
        ASSERT_TRUE(holder.Held());
        RunToEnd(install, "/importSilently tied.QPK");
        ASSERT_NE(WaitForNoteWithText(process, kTiedText), nullptr);
    }
    {
        HeldGroupsFiles holder(install);
        ASSERT_TRUE(holder.Held());
        RunningProgram second(install, "/import trip.QPK");
        const std::string explained = AcknowledgeProgramBox(process);
        EXPECT_EQ(explained.rfind("Restore by appending", 0), 0u) << explained;
        const std::string refusal = AcknowledgeProgramBox(process);
        EXPECT_NE(refusal.find("noteman.QPD"), std::string::npos) << refusal;
        EXPECT_NE(refusal.find("Nothing was restored"), std::string::npos) << refusal;
        DWORD exitCode = 1;
        EXPECT_TRUE(second.WaitForExit(&exitCode));
        EXPECT_EQ(NoteWithText(process, "From the trip one"), nullptr);
        ExpectEndRefusedForHeldFiles(main, process, *program);
    }
    CloseProgram(install, *program);
    EXPECT_EQ(TiesAfterRestart(install), std::vector<std::string>{std::string("Travel|") + kTiedProgram});
}
