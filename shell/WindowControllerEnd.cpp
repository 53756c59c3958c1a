// Saving everything, for the end of the program or of the Windows session and
// before a restore: what could not be stored keeps the program running until
// the user has it stored, or chooses to end anyway with a backup of the notes.
#include <winsock2.h>

#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "shell/BackupRestore.h"
#include "shell/NoteLists.h"
#include "shell/WindowController.h"
#include "store/FileStepRetries.h"
#include "store/NoteRecordFields.h"
#include "store/SentToTable.h"
#include "store/TransactTable.h"
#include "store/UnlockedBoxes.h"
#include "store/UsersTable.h"
#include "xmlfiles/BackupList.h"

namespace {
const char kSaveAllPrefix[] = "CWindowController::SaveAll(): ";

// Runs one part of the save; a part that fails or throws is logged, and the
// parts after it run all the same.
template <class Part>
bool SavedPart(Part&& part)
{
    try {
        return part();
    } catch (const CGenericException& failure) {
        WriteErrorLog(kSaveAllPrefix, failure.GetErrorText());
    } catch (...) {
        WriteErrorLog(kSaveAllPrefix, "Unknown exception");
    }
    return false;
}
}

bool CWindowController::HasUnstoredChanges() const
{
    bool unstored = false;
    auto look = [&unstored](CNoteController* note) {
        unstored = HasUnstoredChange(*note);
        return !unstored;
    };
    ForEachNote(m_ourNotes, look);
    if (!unstored)
        ForEachNote(m_otherNotes, look);
    return unstored;
}

bool CWindowController::ChangesUnstoredNow() const
{
    return HasUnstoredChanges() || !m_restoreState.unwrittenTieFiles.empty();
}

SaveAllOutcome CWindowController::SaveAll(UnstoredNotes unstored)
{
    SaveAllOutcome outcome;
    // Half-replaced data files take nothing more until the next start puts them right.
    if (AreDataFilesSealed())
        return outcome;
    std::vector<CNoteController*> notes;
    const bool collected = SavedPart([&notes, this] {
        notes = NotesAsShown();
        return true;
    });
    // A file found held costs its tries once in this end, not once for
    // every note. At an end the notes go into the rescue backup before their
    // save, which may wait on such a file, be cut short by the system or
    // show a box: whatever ends the program meanwhile leaves what the user
    // wrote in a file.
    CHeldFilesMetOnce thisEnd(HeldFileWork::kEnd);
    const bool atEnd = unstored == UnstoredNotes::kIntoRescueBackup;
    if (atEnd)
        KeepUnstoredBeforeEnd(true);
    // The notes come first, and at an end their rescue backup (the file
    // kept before, unless that could not be written), before any box: the
    // notes' own ones wait.
    bool notesSaved = false;
    {
        CKeptBoxesHeld boxesAfterTheNotes;
        notesSaved =
            collected && SavedPart([&notes, this] { return SaveNotesOwingRebuild(notes, m_memoRebuildOwed); });
        if (atEnd && HasUnstoredChanges())
            m_rescueBackup.Keep(*this);
    }
    SavedPart([this] {
        TiePendingRestoredNotes(*this);
        return true;
    });
    if (!SavedPart([] {
            SaveSentToList();
            return true;
        }))
        outcome.AddUnwritten(DataName::kSentToTable);
    if (!SavedPart([] {
            SaveTransactList();
            return true;
        }))
        outcome.AddUnwritten(DataName::kTransactionsTable);
    // A missing or held users table costs only the values of this run.
    if (!SavedPart([] { return SaveUserRunValues(); }))
        outcome.AddUnwritten(DataName::kUsersTable);
    // What is still unstored is judged from the notes themselves: a memo
    // rebuild that was not made, or a held file when every note was already
    // stored, loses nothing.
    outcome.notesUnstored = HasUnstoredChanges();
    if (outcome.notesUnstored) {
        for (const std::string& name : UnwritableNotesFiles())
            outcome.AddUnwritten(name);
    }
    outcome.tiesUnstored = !m_restoreState.unwrittenTieFiles.empty();
    for (const std::string& name : m_restoreState.unwrittenTieFiles)
        outcome.AddUnwritten(name);
    outcome.everythingWritten = notesSaved && outcome.unwrittenFiles.empty();
    if (atEnd)
        m_rescueBackup.SaveDone(!outcome.ChangesUnstored());
    return outcome;
}

std::vector<CNoteController*> CWindowController::NotesAsShown()
{
    std::vector<CNoteController*> notes;
    auto collect = [&notes](CNoteController* note) {
        note->SyncFromWindow();
        notes.push_back(note);
        return true;
    };
    ForEachNote(m_ourNotes, collect);
    ForEachNote(m_otherNotes, collect);
    return notes;
}

void CWindowController::KeepUnstoredBeforeEnd(bool notesTakenFromWindows)
{
    if (AreDataFilesSealed() || m_endingAnyway)
        return;
    // The save that follows finds the same notes, and the same rescue backup.
    if (!notesTakenFromWindows)
        SavedPart([this] {
            NotesAsShown();
            return true;
        });
    if (ChangesUnstoredNow())
        m_rescueBackup.KeepBeforeSave(*this);
}

bool CWindowController::SavedForEnd()
{
    if (m_endingAnyway)
        return true;
    const SaveAllOutcome saved = SaveAll(UnstoredNotes::kIntoRescueBackup);
    return !saved.ChangesUnstored() || EndAnywayChosen(saved);
}

bool CWindowController::EndAnywayChosen(const SaveAllOutcome& saved)
{
    // The notes are in a file before the question: whatever ends the program
    // while it is up, the changes are not lost.
    const std::string question = UnstoredAtEndQuestion(saved, m_rescueBackup.Keep(*this));
    WriteErrorLog("CWindowController::EndAnywayChosen(): ", "the program did not end at once: changes are not stored");
    // No timed save, alarm or second close runs while the user decides.
    ProgramFlags& flags = GetProgramFlags();
    const bool wasClosing = flags.closing;
    flags.closing = true;
    m_askingAtEnd = true;
    const int answer =
        ShowMessageBox(m_mainWindow, question.c_str(), ProgramTitle, kMbYesNo | kMbIconExclamation | kMbDefButton2);
    m_askingAtEnd = false;
    flags.closing = wasClosing;
    if (answer != kIdYes)
        return false;
    // What was typed while the question was up goes into a newer rescue backup.
    const std::string backup = m_rescueBackup.Keep(*this);
    if (backup.empty()) {
        ShowErrorMessage(m_mainWindow,
                         ("The notes could not be written to a backup file in these folders either:\r\n    " +
                          BackupFolderPath() + "\r\n    " + GetDataFolder() +
                          "\r\n\r\nQuillnet+ goes on running, so that your changes are not lost (the reasons are "
                          "in error.txt).")
                             .c_str(),
                         ProgramTitle);
        return false;
    }
    WriteErrorLog("CWindowController::EndAnywayChosen(): ",
                  ("the program ends with changes not stored; the notes are in " + backup).c_str());
    m_endingAnyway = true;
    return true;
}

void CWindowController::AskAfterRefusedSessionEnd()
{
    if (m_askingAtEnd || GetProgramFlags().endOfSession != 0)
        return;
    if (EndAnywayChosen(m_unstoredAtSessionEnd))
        PostMessageA(m_mainWindow, WM_CLOSE, 0, 0);
}
