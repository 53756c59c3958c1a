#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CDateTime;
class CNoteController;

// What the Note Manager reads of a note.

// The note's plain text as its body shows it (at most 51,200 bytes).
std::string PlainTextOf(const CNoteController& note);
// Hidden while it holds its enciphered body: its content is masked.
bool IsClosedProtected(const CNoteController& note);
// Protected with the password, open or not: the Note Manager calls it locked
// (its lock command then unlocks it).
bool IsNoteLocked(const CNoteController& note);
bool IsNoteAssociated(DWORD noteId);
int CountNoteAssociations(DWORD noteId);
// The alarm's day as yyyymmdd.
DWORD AlarmDayOf(const CNoteController& note);
// A date and time as yyyymmddhhmmss, which orders as a number.
uint64_t SortableTimeOf(const CDateTime& time);
// The name of the note's group; "None" when it has none.
std::string GroupNameOfNote(const CNoteController& note);
// The owner's user name.
std::string OwnerNameOf(const CNoteController& note);
// Looks for the text (any case) in the note's text and title, and with
// withGroupName in its group's name; writes where it was found into the
// note (-1 where it was not). A closed protected note is opened silently
// with the passwords of this run first.
bool FindContainingText(CNoteController& note, const char* text, bool withGroupName);
// Selects the range of the note's text and scrolls its line to the top.
void SelectAndShowText(CNoteController& note, int offset, int length);
