// Restores and undos on the running program while another program holds one
// of the data files: each either happens whole or changes nothing, and no
// note, edit, group or calendar option is lost, then or after a restart.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BackupDriving.h"
#include "globals/MainWindowMessages.h"
#include "support/HeldFile.h"
#include "support/NoteDriving.h"
#include "support/StoredNotes.h"

namespace {
const char* const kStoredTexts[] = {"First stored", "Second stored"};
const std::vector<std::string> kBackupTexts = {"From the trip one", "From the trip three", "From the trip two"};

std::string CalendarFile(const std::string& comment)
{
    return std::string("<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"yes\"?>\r\n<content>\r\n   <!--") +
           comment + "-->\r\n</content>\r\n";
}

// Two stored notes, the calendar's options, and a backup of three notes
// (the first in the group "Travel") in "trip.QPK".
void PrepareInstall(ProgramInstall& install)
{
    install.AddInstalledDataFiles();
    LONG left = 100;
    for (const char* text : kStoredTexts) {
        StoreNote(install, [&](CNoteController& note) { FillTestNote(note, text, left, 100); });
        left += 260;
    }
    WriteWholeFile(install.File("calendar.QPD"), CalendarFile("the calendar's options"));
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

// A second start whose restore stops with a box; the box's text.
std::string RefusedRestore(const ProgramInstall& install, DWORD process, const std::string& arguments)
{
    RunningProgram second(install, arguments);
    const std::string text = AcknowledgeProgramBox(process);
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(&exitCode));
    return text;
}

// Types the text at the start of the note's body, as the keyboard would.
void TypeAtStart(HWND note, const std::string& text)
{
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), EM_SETSEL, 0, 0));
    for (char key : text)
        ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_CHAR, static_cast<unsigned char>(key), 1));
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

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Each test starts the program on the prepared install and waits for its stored notes.
class RestoreHeldFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareInstall(install);
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

    // Nothing is undone, and the box says which file and why.
    {
        HeldFile holder(install.File("notes.qps"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = UnrestoreAnsweringYes(main, process);
        EXPECT_EQ(refusal.rfind("These files could not be put back", 0), 0u) << refusal;
        EXPECT_TRUE(Contains(refusal, "notes.qps")) << refusal;
        EXPECT_TRUE(Contains(refusal, "Nothing was undone")) << refusal;
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
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), CalendarFile("the calendar's options"));
    CloseProgram(install, again);
    EXPECT_EQ(TextsAfterRestart(install), stored);
}

// The notes cannot be saved first (the table's working copy is held): an
// undo that then failed half-way would load tables without the edits, so
// none is made.
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
        const std::string refusal = RefusedRestore(install, process, "/replaceSilently trip.QPK");
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
    {
        HeldFile holder(install.File("calendar.QPD"), kHolderSharesNothing);
        ASSERT_TRUE(holder.Held());
        const std::string refusal = RefusedRestore(install, process, "/importSilently trip.QPK");
        EXPECT_EQ(refusal.rfind("The notes could not be copied into the UNRESTORE folder", 0), 0u) << refusal;
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
    EXPECT_EQ(ReadWholeFile(install.File("calendar.QPD")), CalendarFile("the calendar's options"));
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
        const std::string refusal = RefusedRestore(install, process, "/replaceSilently trip.QPK");
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
