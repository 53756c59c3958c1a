// A save stopped dead at each of its steps, as by a crash or a power cut, in a
// child process: the next start must find every note saved before.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "note/NoteController.h"
#include "store/DataFileChecks.h"
#include "store/FreeSlotLists.h"
#include "store/NoteSaving.h"
#include "store/SaveSteps.h"
#include "support/ChildTest.h"
#include "support/InFolder.h"
#include "support/LowSpaceTaken.h"
#include "support/StoredNotes.h"

namespace {
const char kFolderVariable[] = "QN_SAVE_STOP_FOLDER";
const char kStepVariable[] = "QN_SAVE_STOP_STEP";
const char kSaveVariable[] = "QN_SAVE_STOP_SAVE";
const UINT kStoppedExitCode = 77;
const int kNoteCount = 6;
const DWORD kChildTimeoutMs = 120000;

SaveStep g_stopAt;

void StopHere(SaveStep step)
{
    if (step == g_stopAt)
        TerminateProcess(GetCurrentProcess(), kStoppedExitCode);
}

std::string OriginalText(int i)
{
    return "{\\rtf1 note " + std::to_string(i) + " " + std::string(2000 + 100 * i, static_cast<char>('a' + i)) + "}";
}

std::string ChangedText(int i)
{
    return "{\\rtf1 changed " + std::to_string(i) + " " + std::string(3000, 'z') + "}";
}

// What the child saves: one changed note, every note together, or every
// note with the memo file rebuilt.
enum class SaveKind { kOneNote, kAllNotes, kAllNotesRebuilt };

struct StopCase {
    SaveStep step;
    SaveKind save;
};

// Runs this test program again, as the child that stops at the step.
DWORD RunChildStoppingAt(const std::string& folder, StopCase stop)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string commandLine = std::string("\"") + program + "\" --gtest_filter=NoteSaveStop.DISABLED_ChildSavesUntilStopped --gtest_also_run_disabled_tests";
    SetEnvironmentVariableA(kFolderVariable, folder.c_str());
    SetEnvironmentVariableA(kStepVariable, std::to_string(static_cast<int>(stop.step)).c_str());
    SetEnvironmentVariableA(kSaveVariable, std::to_string(static_cast<int>(stop.save)).c_str());
    PROCESS_INFORMATION process = {};
    const bool started = StartWithLowSpaceTaken(nullptr, &commandLine[0], nullptr, process);
    SetEnvironmentVariableA(kFolderVariable, nullptr);
    SetEnvironmentVariableA(kStepVariable, nullptr);
    SetEnvironmentVariableA(kSaveVariable, nullptr);
    if (!started)
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class NoteSaveStop : public InFolder {};
}

// The child: loads the notes of the folder it is given, changes them and
// saves, and is stopped by its observer at the chosen step.
TEST_F(NoteSaveStop, DISABLED_ChildSavesUntilStopped)
{
    std::string folder = ChildVariable(kFolderVariable);
    if (folder.empty())
        GTEST_SKIP() << "runs only as the child of the stop test";
    CurrentFolder data(folder);
    g_stopAt = static_cast<SaveStep>(std::atoi(ChildVariable(kStepVariable).c_str()));
    SaveKind save = static_cast<SaveKind>(std::atoi(ChildVariable(kSaveVariable).c_str()));
    SetSaveStepObserver(&StopHere);
    StoredNoteList notes = LoadEveryNote(folder);
    std::vector<CNoteController*> all;
    for (size_t i = 0; i < notes.size(); ++i) {
        std::string text = ChangedText(static_cast<int>(i));
        notes[i]->SetRichText(text.data(), text.size());
        all.push_back(notes[i].get());
    }
    if (save == SaveKind::kOneNote)
        SaveNote(*notes[2]);
    else
        SaveNotes(all, save == SaveKind::kAllNotesRebuilt);
    SetSaveStepObserver(nullptr);
    FAIL() << "the save went by its step without stopping";
}

TEST_F(NoteSaveStop, EveryNoteSavedBeforeComesBackAfterAStopAtAnyStep)
{
    const StopCase stops[] = {
        {SaveStep::kTableCopied, SaveKind::kOneNote},
        {SaveStep::kRecordWritten, SaveKind::kOneNote},
        {SaveStep::kTableReplaced, SaveKind::kOneNote},
        {SaveStep::kTableCopied, SaveKind::kAllNotes},
        {SaveStep::kBatchHalfWritten, SaveKind::kAllNotes},
        {SaveStep::kRecordWritten, SaveKind::kAllNotes},
        {SaveStep::kTableReplaced, SaveKind::kAllNotes},
        {SaveStep::kRebuildHalfWritten, SaveKind::kAllNotesRebuilt},
        {SaveStep::kRebuildCommitted, SaveKind::kAllNotesRebuilt},
        {SaveStep::kRebuildMemoReplaced, SaveKind::kAllNotesRebuilt},
    };
    for (const StopCase& stop : stops) {
        const SaveStep step = stop.step;
        const std::string name = std::to_string(static_cast<int>(step)) + "-" + std::to_string(static_cast<int>(stop.save));
        SCOPED_TRACE(name);
        std::string folder = File("stop" + name);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        for (const char* name : {"notes.QPD", "notes.QPS"})
            ASSERT_TRUE(
                CopyFileA((ProgramFolder() + "\\QlData\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE));
        {
            CurrentFolder data(folder);
            NotesFreeSlots().Clear();
            for (int i = 0; i < kNoteCount; ++i) {
                CNoteController note;
                note.m_userId = 1;
                note.m_left = 10 * i;
                std::string text = OriginalText(i);
                note.SetRichText(text.data(), text.size());
                SaveNote(note);
                ASSERT_EQ(note.m_noteId, static_cast<DWORD>(i + 1));
            }
        }

        EXPECT_EQ(RunChildStoppingAt(folder, stop), kStoppedExitCode);

        // The next start: the notes table repaired, then every note read.
        CurrentFolder data(folder);
        ASSERT_TRUE(RepairNotesTable());
        StoredNoteList loaded = LoadEveryNote(folder);
        ASSERT_EQ(loaded.size(), static_cast<size_t>(kNoteCount));
        bool allChanged = loaded[0]->RichText() == ChangedText(0);
        for (int i = 0; i < kNoteCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(loaded[i]->m_left, 10 * i);
            const std::string& text = loaded[i]->RichText();
            if (stop.save != SaveKind::kOneNote) {  // all notes old, or all new: never a mix
                EXPECT_EQ(text, allChanged ? ChangedText(i) : OriginalText(i));
            } else if (i == 2) {
                EXPECT_TRUE(text == OriginalText(i) || text == ChangedText(i));
            } else {
                EXPECT_EQ(text, OriginalText(i));
            }
        }
        if (step == SaveStep::kRebuildCommitted || step == SaveStep::kRebuildMemoReplaced) {
            EXPECT_TRUE(allChanged) << "a marked rebuild is finished at the next start";
        }
        if (stop.save == SaveKind::kAllNotes) {
            EXPECT_EQ(allChanged, step == SaveStep::kTableReplaced);
        }
        EXPECT_FALSE(FileExists(folder + "\\notesNew.QPD"));
        EXPECT_FALSE(FileExists(folder + "\\notesNew.QPS"));
    }
}

TEST_F(NoteSaveStop, AMissingTableIsTakenBackFromItsWorkingCopyAtTheNextStart)
{
    CopyTemplate("notes.QPD");
    CopyTemplate("notes.QPS");
    NotesFreeSlots().Clear();
    for (int i = 0; i < 3; ++i) {
        CNoteController note;
        note.m_userId = 1;
        std::string text = OriginalText(i);
        note.SetRichText(text.data(), text.size());
        SaveNote(note);
    }
    // A stop between removing notes.qpd and renaming its working copy, as an
    // older version saved.
    ASSERT_TRUE(MoveFileA(File("notes.QPD").c_str(), File("notesTemp.QPD").c_str()));
    ASSERT_TRUE(RepairNotesTable());
    EXPECT_FALSE(FileExists(File("notesTemp.QPD")));
    StoredNoteList loaded = LoadEveryNote(m_folder.Path());
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[2]->RichText(), OriginalText(2));
    EXPECT_NE(Read("error.txt").find("The 'notesTemp.QPD' data file exists."), std::string::npos);
}
