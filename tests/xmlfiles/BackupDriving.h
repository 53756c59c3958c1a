#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "note/NoteController.h"
#include "support/DialogClicks.h"
#include "support/ProgramDriver.h"
#include "xmlfiles/bytes/BackupRecords.h"

// What the backup tests do to the real program and its data folder: notes
// stored before it starts, the tray's backup commands, the dialogs they open,
// and the backup files read by Python's own XML reader.

// A note of the user, filled by the test, stored in the install's notes table;
// its record number.
DWORD StoreNote(const ProgramInstall& install, const std::function<void(CNoteController&)>& fill);

// A backup file of the notes, as the program writes one.
void WriteBackupFile(const std::string& path, const std::vector<BackupNote>& notes);
// The body of a locked note, its mark at the end.
std::string ProtectedNoteBody();
// A backup as another run of the program wrote it: a locked note at
// (500, 300), and at (540, 330) a note in the group "Travel" that follows
// the window "Untitled - Notepad".
void WriteLockedAndGroupedBackup(const std::string& path);
std::vector<BackupNote> LockedAndGroupedNotes();

// The program run once and closed: the user's record exists then.
void FirstRun(const ProgramInstall& install);

// The user's backup switches in the users table: daily backups, days kept,
// each month's first kept; and the interval of the timed save, in minutes.
void SetBackupOptions(const ProgramInstall& install, bool daily, long days, bool monthlyKeep, long saveMinutes = 1);

// A second start whose restore ("/import file", which first says what it
// does) asks for the password of a locked note it brings back: the prompt
// answered with the password, or cancelled (which hides the note) when there
// is none; then the second start's end.
void RestoreAnsweringPassword(const ProgramInstall& install, DWORD process, const std::string& arguments,
                              const char* password);

// A silent restore of a second start ("/importSilently", "/replaceSilently")
// carried out to its end: no box of the program, nor a password prompt, may
// come meanwhile. What it
// wrote into "cmdLineRestore.Err" (the texts a box would have shown), which
// is then removed.
std::string SilentRestoreErrors(const ProgramInstall& install, DWORD process, const std::string& arguments);

// The backup files of the install's standard backup folder, by name.
std::vector<std::string> BackupFiles(const ProgramInstall& install);
std::string BackupFile(const ProgramInstall& install, const std::string& name);

// Posts the main window a command and returns the text of the program's box
// that follows, once it is acknowledged ("(no box)" when none came).
std::string BoxAfterCommand(HWND main, DWORD process, UINT command);

// A dialog of the program by its caption, once it is shown.
HWND WaitForDialog(DWORD process, const char* caption);

// The tray menu's Backup/restore submenu (above Help, About and Exit),
// opened with the keys: its first entry is selected; null when it did not
// come.
HWND OpenBackupSubmenu(HWND main, DWORD process);
// Its Restore submenu, opened with the keys; null when it did not come.
HWND OpenRestoreSubmenu(HWND main, DWORD process);
// The "Older backups" submenu at the bottom of the open Restore submenu (or
// of an older one, whose first entry is selected), opened with the keys;
// null when it did not come.
HWND OpenOlderBackups(DWORD process, HWND menu);
// The entry at that place of the open menu (counted as MenuPicture counts
// items) clicked as the user clicks it, with the menu kept as a picture of
// that name first; the dialog of the caption that it opens, or null when the
// menu did not show as its layout says, or no dialog came.
HWND ClickEntryForDialog(HWND menu, DWORD process, const std::string& layout, size_t entry, const char* picture,
                         const char* caption);
// "Unrestore..." chosen with the keys in the Backup/restore submenu and Yes
// clicked in its dialog; the text of the program's box that follows.
std::string UnrestoreFromTrayMenu(HWND main, DWORD process);
// Presses the dialog's button and waits until the dialog has gone.
bool PressAndWaitGone(HWND dialog, int buttonId);

// The facts Python's XML reader gives of a backup file (see backup_facts.py):
// key to value; "parsed" is "1" when it read the file.
std::map<std::string, std::string> BackupFacts(const std::string& backupPath);

// The notes of a backup file as the program reads them.
std::vector<BackupNote> ReadBackupNotes(const std::string& path);

// The texts of the process's note bodies.
std::vector<std::string> NoteTexts(DWORD process);
