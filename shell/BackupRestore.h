#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "xmlfiles/BackupList.h"
#include "xmlfiles/bytes/BackupRecords.h"

class CNoteController;
class CWindowController;
struct SaveAllOutcome;

// Backups of all notes, restores from them and the undo of a restore, as the
// tray menu, the command line, the housekeeping tick and the program's end
// start them.

// A restored note's group and programs, kept under its record number once
// the note has one.
struct RestoredNoteTies {
    CNoteController* note = nullptr;
    std::string group;
    std::vector<BackupAssociation> associations;
    // In the group and association lists, under the note's record number;
    // still to be written to noteman.QPD and apps.QPD.
    bool tied = false;
};

// What the application object keeps between restores.
struct CRestoreState {
    int method = 1;  // 1 adds the backup's notes to the existing ones, 2 replaces them
    char name[51] = "";
    POINT cascadeOffset{0, 0};  // added to every restored note's place
    // The backups and the rescue backups as the Restore submenu lists them;
    // empty until asked for.
    std::vector<BackupListEntry> backupList;
    std::vector<BackupListEntry> rescueList;
    // Restored notes whose ties are not written yet: notes that could not be
    // stored yet, and notes tied in the lists whose files could not be written.
    std::vector<RestoredNoteTies> pendingTies;
    // A silent request of a second start is under way: no box, no prompt.
    bool quiet = false;
    // The files that the last try could not write (another program holds
    // them, say); the ties wait for them.
    std::vector<std::string> unwrittenTieFiles;
};

// A backup file of every note: interactive (the tray command) tells the user
// how it went; otherwise silent. An empty name gives the dated name in the
// backup folder; a name given is the file's path (a relative one in the data
// folder). True when a file was written.
bool BackupNotesToXml(CWindowController& app, bool interactive, const char* nameText);
// The bytes BackupNotesToXml would write of every note as it is now, headed
// by the write of the notes table they were measured against (the comment of
// a rescue backup). Failures throw CGenericException.
std::string RescueBackupText(CWindowController& app, unsigned long long tableWriteTime);
// A short text that tells the notes as they are now from any other set of
// notes, whatever their order in the lists: the same for the same notes.
std::string NotesPrint(CWindowController& app);
// The daily backup when one is due, and the expired backups deleted.
void RunScheduledBackup(CWindowController& app);
// Restores the file of the path, or with an empty path the backup at that
// position of the backup list; silent asks nothing and tells nothing at the
// end. True when notes were restored.
bool RestoreFromBackup(CWindowController& app, int index, bool silent, const char* path);
// How a restore that the user asked for ended.
enum class RestoreOutcome {
    kRestored,
    kDeclined,    // the user answered No to its dialog
    kUnreadable,  // the file holds no backup the program can read (the user was told)
    kNotMade,     // nothing was restored, for a reason the user was told and can mend
};
// Restores the file after the restore dialog, as an entry of the Restore
// submenu does.
RestoreOutcome RestoreBackupFile(CWindowController& app, const std::string& path);
// The notes as the restore left them, once stored, are remembered beside the
// undo copy, so that the next restore knows whether it comes in a row.
void RememberNotesAfterRestore(CWindowController& app);
// "/import" (method 1) and "/replace" (method 2) of a second start, with the
// file that followed the option (or none: the newest backup); explain shows
// what will be done first.
void RestoreFromCommandLine(CWindowController& app, const char* requestText, int method, bool explain);
// The tray command "&Unrestore...": back to the notes of before the restore.
bool UndoRestore(CWindowController& app);

// The restored notes stored since their restore get their groups and
// programs, and noteman.QPD and apps.QPD are written (called after every save
// of all notes); notes gone meanwhile are forgotten. A tie waits until both
// files are written: the files that could not be are kept in the restore
// state.
void TiePendingRestoredNotes(CWindowController& app);

// A rebuilt notes table and memo file still waiting to be installed goes in
// first, or it would later replace what a restore or an undo put there.
// False, and the user told why with the closing sentence, while it waits.
bool InstallWaitingNotesPair(HWND owner, const char* nothingDone);
// Everything is saved before a restore or an undo replaces the tables: a
// replace closes every note, and an undo that fails half-way loads the tables
// again. What that save could not store goes into the rescue backup (its
// path; empty when nothing had to, or none could be written), and a save
// that stored everything ends the stretch of unstored changes.
std::string KeptUnlessStored(CWindowController& app, const SaveAllOutcome& saved);
// When the save failed, the user is told so with the closing sentence (step
// names what was not made, "the restore"), and where the notes are kept.
void ShowNotSavedFirst(HWND owner, const char* step, const char* nothingDone, const std::string& rescueBackup);
// A restore's password prompts let other requests in: a second restore or an
// undo asked for then would close the notes the restore is making. True, and
// the user told when asked to (else error.txt), while a restore is under way.
bool RefusedWhileRestoring(CWindowController& app, bool tell);
// A replacement of data files ended with neither set whole: the data files
// are sealed, the user told the problem and what the next start does, and
// the program ends without writing anything, so that the next start puts the
// files right.
void EndAfterUnfinishedReplacement(CWindowController& app, const std::string& problem);
// A replacement of data files whose record could not be updated (another
// program held it): its record still says the files were being moved, so
// the next start returns to the files of before it. The data files are
// sealed, the user told what was made (operation: "restore" or "undo",
// made: whether the new files stayed) and what the next start does, and the
// program ends without writing anything.
void EndAfterUnrecordedReplacement(CWindowController& app, const char* operation, bool made);
// Everything loaded again after the data files were replaced or put back;
// false with the reason when that failed (the caller tears down what was
// loaded).
bool TryReload(CWindowController& app, std::string& failure);
// Everything loaded again after the data files were replaced or put back.
// When that fails the user is told why (and what is kept: a sentence, or
// empty), nothing more is written, and the program ends (false): the files
// load at a later start.
bool ReloadOrEnd(CWindowController& app, const std::string& kept = std::string());
// For its life, a silent request of a second start (quiet) shows no box and
// no prompt: what a box of the main thread would say goes to
// "cmdLineRestore.Err" and error.txt instead.
class CQuietRestore {
public:
    CQuietRestore(CWindowController& app, bool quiet);
    ~CQuietRestore();
    CQuietRestore(const CQuietRestore&) = delete;
    CQuietRestore& operator=(const CQuietRestore&) = delete;

private:
    CRestoreState& m_state;
    bool m_wasQuiet;
    bool m_quiet;
};
// The file names one to a line, indented, for a message.
std::string ListedFileNames(const std::vector<std::string>& names);
