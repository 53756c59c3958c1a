// What the running program writes of its notes: a changed note saved by the
// housekeeping tick while the program runs on, and a long note stored packed
// that comes back whole, twice over, and many notes changed in their windows
// all written when the program closes; a change whose saves fail while
// another program holds the table is written by the first save that can.
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "note/NoteController.h"
#include "globals/MainWindowMessages.h"
#include "support/NoteDriving.h"
#include "store/DbfFile.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/NotesLoader.h"
#include "store/SaveSteps.h"
#include "support/HeldFile.h"
#include "support/InFolder.h"
#include "support/Screenshot.h"
#include "support/StoredNotes.h"

namespace {
using Notes = StoredNoteList;


const CNoteController* LongestNote(const Notes& notes)
{
    const CNoteController* longest = nullptr;
    for (const auto& note : notes) {
        if (!longest || note->RichText().size() > longest->RichText().size())
            longest = note.get();
    }
    return longest;
}

// About 320 KB of rich text, no two lines alike.
std::string LongRichText()
{
    std::string text = "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 ";
    for (int line = 0; text.size() < 320 * 1024; ++line)
        text += "Line " + std::to_string(line) + " of a long note, " + std::to_string(line * 7919 % 10007) + "\\par\n";
    return text + "}";
}

}

TEST(NoteStorage, ANoteLeftAloneIsSavedByTheNextAutomaticSave)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    SetAutoSaveInterval(install.Path(), 1);
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    ASSERT_NE(NewNoteFromCommandLine(install, program.ProcessId(), "written while the program runs"), nullptr);
    // Four housekeeping ticks of 15 seconds make the minute.
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadWholeFile(install.File("notes.qps")).find("written while the program runs") != std::string::npos; },
        90000));
    EXPECT_TRUE(program.IsRunning());
    CloseProgram(install, program);
}

TEST(NoteStorage, TheAutomaticSaveWaitsWhileTheSendDialogIsOpen)
{
    const UINT kSendTo = 4514;
    const UINT_PTR kHousekeepingTimer = 20000;
    const char kProbe[] = "changed with the send dialog open";
    ProgramInstall install;
    install.AddInstalledDataFiles();
    SetAutoSaveInterval(install.Path(), 1);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND note = NoteWindows(program.ProcessId()).front();
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kProbe)));
    // Four housekeeping ticks of 15 seconds make the minute of the interval.
    auto minutePasses = [&] {
        for (int tick = 0; tick < 4; ++tick)
            ASSERT_TRUE(SendWithTimeout(main, WM_TIMER, kHousekeepingTimer, 0));
    };
    auto saved = [&] { return ReadWholeFile(install.File("notes.qps")).find(kProbe) != std::string::npos; };

    PostMessageA(note, WM_COMMAND, kSendTo, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (dialog = FindTopWindowTitled("#32770", "Send note to a computer or email address",
                                             program.ProcessId())) != nullptr;
    }));
    minutePasses();
    EXPECT_FALSE(saved()) << "saved while the user was choosing where to send";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    minutePasses();
    EXPECT_TRUE(saved());
    CloseProgram(install, program);
}

TEST(NoteStorage, ALongNoteIsStoredPackedAndComesBackWhole)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    const std::string longText = LongRichText();
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        CNoteController note;
        note.m_userId = 1;
        note.m_width = 300;
        note.m_height = 200;
        note.SetRichText(longText.data(), longText.size());
        SaveNote(note);
    }
    std::string memo = ReadWholeFile(install.File("notes.qps"));
    EXPECT_NE(memo.find("fullscreen.rtf"), std::string::npos);
    EXPECT_EQ(memo.find("Line 1000 of a long note"), std::string::npos);
    ASSERT_EQ(LongestNote(LoadEveryNote(install.Path()))->RichText(), longText);

    std::string shown;
    std::string stored;
    for (int run = 0; run < 2; ++run) {
        RunningProgram program(install, "");
        ASSERT_NE(WaitForMainWindow(program), nullptr);
        std::string text;
        for (HWND note : NoteWindows(program.ProcessId())) {
            std::string body = ReadWindowText(BodyOf(note));
            if (body.size() > text.size())
                text = body;
        }
        EXPECT_NE(text.find("Line 1000 of a long note"), std::string::npos);
        if (run == 0)
            shown = text;
        else
            EXPECT_EQ(text, shown);
        CloseProgram(install, program);

        memo = ReadWholeFile(install.File("notes.qps"));
        EXPECT_EQ(memo.find("Line 1000 of a long note"), std::string::npos) << "stored unpacked";
        Notes notes = LoadEveryNote(install.Path());
        const std::string& loaded = LongestNote(notes)->RichText();
        EXPECT_GE(loaded.size(), 262145u);
        EXPECT_EQ(loaded.rfind("{\\rtf", 0), 0u);
        if (run == 0)
            stored = loaded;
        else
            EXPECT_EQ(loaded, stored);
    }
}

TEST(NoteStorage, EveryNoteChangedInItsWindowIsSavedWhenTheProgramCloses)
{
    const int kNewNotes = 40;
    const UINT kCmdNewNote = 4012;
    ProgramInstall install;
    install.AddInstalledDataFiles();
    {
        RunningProgram program(install, "");
        HWND main = WaitForMainWindow(program);
        ASSERT_NE(main, nullptr);
        std::vector<HWND> before = NoteWindows(program.ProcessId());
        for (int i = 0; i < kNewNotes; ++i)
            PostMessageA(main, WM_COMMAND, kCmdNewNote, 0);
        ASSERT_TRUE(WaitUntil([&] { return NoteWindows(program.ProcessId()).size() == before.size() + kNewNotes; }));
        int k = 0;
        for (HWND note : NoteWindows(program.ProcessId())) {
            std::string text = "changed in its window " + std::to_string(k++) + ".";
            ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
        }
        CloseProgram(install, program);
    }
    Notes notes = LoadEveryNote(install.Path());
    std::string all;
    for (const auto& note : notes)
        all += note->RichText();
    for (int k = 0; k < kNewNotes; ++k)
        EXPECT_NE(all.find("changed in its window " + std::to_string(k) + "."), std::string::npos) << k;
}

namespace {
// One timed save as the housekeeping timer makes it with a save interval of
// one minute: four ticks of 15 seconds, each handled before the next is sent.
// The program's own ticks come in between, so at least one save happens.
bool TimedSave(HWND main, int saves = 1)
{
    for (int tick = 0; tick < 4 * saves; ++tick) {
        if (!SendWithTimeout(main, WM_TIMER, kTimerHousekeeping, 0))
            return false;
    }
    return true;
}

bool StoredNoteHas(const std::string& folder, const std::string& text)
{
    for (const auto& note : LoadEveryNote(folder)) {
        if (note->RichText().find(text) != std::string::npos)
            return true;
    }
    return false;
}
}

TEST(NoteStorage, ANoteWhoseSavesFailStaysChangedUntilOneSucceedsAndTheUserIsToldOnce)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    SetAutoSaveInterval(install.Path(), 1);
    RunningProgram program(install, "");
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(main, nullptr);
    HWND note = NewNoteFromCommandLine(install, program.ProcessId(), "first words");
    ASSERT_NE(note, nullptr);
    // Saved once, the note has its record.
    ASSERT_TRUE(TimedSave(main));
    ASSERT_TRUE(StoredNoteHas(install.Path(), "first words"));

    // Another program holds the notes table: every save fails.
    HeldFile holder(install.File("notes.QPD"), kHolderSharesNothing);
    ASSERT_TRUE(holder.Held());
    const std::string changed = "changed while the table is held";
    ASSERT_TRUE(SendWithTimeout(BodyOf(note), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(changed.c_str())));
    // The box comes up during a tick, which waits for it: the ticks go from
    // a thread of their own.
    bool ticked = false;
    std::thread ticks([&] { ticked = TimedSave(main, 4); });
    ShownMessageBox told = WaitForMessageBox(program.ProcessId(), kDriverWaitMs, "Quillnet+");
    EXPECT_NE(told.text.find("has not been able to save your notes"), std::string::npos) << told.text;
    if (told.window) {
        SaveScreenshotOf(told.window, "save-failure-box");
        EXPECT_TRUE(AnswerMessageBox(told, IDOK));
    }
    ticks.join();
    EXPECT_TRUE(ticked);
    // More failed saves, and no second box: a tick that showed one would not end.
    EXPECT_TRUE(TimedSave(main, 2));
    EXPECT_EQ(FindTopWindowTitled("#32770", "Quillnet+", program.ProcessId()), nullptr);
    holder.Release();

    // The table free again, the next save writes the change.
    ASSERT_TRUE(TimedSave(main));
    EXPECT_TRUE(StoredNoteHas(install.Path(), changed));
    EXPECT_EQ(FindTopWindowTitled("#32770", "Quillnet+", program.ProcessId()), nullptr);
    CloseProgram(install, program);
}

TEST(NoteStorage, ARebuiltPairStillHeldAtTheStartStopsTheProgramAndComesInAtTheNextStart)
{
    ProgramInstall install;
    install.AddInstalledDataFiles();
    // Two stored notes rebuilt with new texts; the new memo file is in place
    // when another program takes hold of the rebuilt table.
    std::unique_ptr<HoldAtSaveStep> holder;
    {
        CurrentFolder data(install.Path());
        NotesFreeSlots().Clear();
        Notes notes;
        std::vector<CNoteController*> all;
        for (int i = 0; i < 2; ++i) {
            notes.emplace_back(new CNoteController);
            notes.back()->m_userId = 1;
            notes.back()->m_left = 200 * i;
            std::string text = "{\\rtf1 before the rebuild " + std::to_string(i) + "}";
            notes.back()->SetRichText(text.data(), text.size());
            ASSERT_TRUE(SaveNote(*notes.back()));
            text = "{\\rtf1 rebuilt text " + std::to_string(i) + "}";
            notes.back()->SetRichText(text.data(), text.size());
            all.push_back(notes.back().get());
        }
        holder.reset(new HoldAtSaveStep(SaveStep::kRebuildMemoReplaced, install.File("notesNew.QPD")));
        EXPECT_FALSE(SaveNotes(all, true));
        ASSERT_TRUE(holder->Held());
    }
    const std::string table = ReadWholeFile(install.File("notes.QPD"));
    {
        RunningProgram program(install, "");
        ShownMessageBox box = WaitForMessageBox(program.ProcessId(), kDriverWaitMs, "Quillnet+");
        EXPECT_NE(box.text.find("'notesNew.QPD'"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("Quillnet+ will now stop."), std::string::npos) << box.text;
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(&exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_EQ(ReadWholeFile(install.File("notes.QPD")), table) << "nothing written while the pair waits";
    EXPECT_TRUE(FileExists(install.File("notesNew.QPD")));

    // The other program lets go: the next start shows the rebuilt texts.
    holder.reset();
    RunningProgram program(install, "");
    ASSERT_NE(WaitForMainWindow(program), nullptr);
    for (int i = 0; i < 2; ++i) {
        const std::string text = "rebuilt text " + std::to_string(i);
        EXPECT_TRUE(WaitUntil([&] {
            for (HWND note : NoteWindows(program.ProcessId())) {
                if (ReadWindowText(BodyOf(note)).find(text) != std::string::npos)
                    return true;
            }
            return false;
        })) << text;
    }
    EXPECT_FALSE(FileExists(install.File("notesNew.QPD")));
    CloseProgram(install, program);
}
