#pragma once

#include <windows.h>

#include <string>

#include "foundation/DateTime.h"
#include "store/NoteDescription.h"
#include "store/NoteRecord.h"

class CDbfFile;

// The fields of one record of the notes table.

// Every field of the note but its creation time and its text, into the record
// of an open table.
void WriteNoteFields(CDbfFile& table, DWORD record, const NoteRecord& note);
void WriteCreationTime(CDbfFile& table, DWORD record, const CDateTime& created);

// The bytes that go into the memo file for the note: its text, or for a
// protected note its enciphered body, made afresh while the note is open.
// Null when nothing may be stored: a protected note whose body cannot be made
// (no password to encipher it with) is never stored plain; the user is told.
const std::string* TextToStore(NoteRecord& note);
// Whether TextToStore keeps the note's text out of the table on purpose: a
// protected note with no password to encipher it; no later save would store
// it either, until one is set.
bool TextWithheld(const NoteRecord& note);
// Whether the note holds a change that is not in the notes table: it is
// modified or was never stored, and its text is not withheld on purpose.
bool HasUnstoredChange(const NoteRecord& note);

// The window rectangle that a note stores: a rolled-up note keeps its unrolled size.
RECT StoredNoteRect(const NoteRecord& note);

// A record read back, with the corrections made while reading: an empty title
// becomes one blank, a recurrence value of 0 becomes 1 and its unit 0 becomes
// 3, and the packed settings are decoded. The description points into this object.
class CStoredNote {
public:
    CStoredNote() = default;
    CStoredNote(const CStoredNote&) = delete;
    CStoredNote& operator=(const CStoredNote&) = delete;

    // From the current record of the open table; the text is not read.
    void Read(CDbfFile& table);

    NoteDescription description;
    DWORD textBlock = 0;

private:
    char m_title[41] = "";
    char m_receivedFrom[26] = "";
    char m_createdBy[26] = "";
    char m_lastSentTo[26] = "";
    LOGFONTA m_bodyFont{};
    LOGFONTA m_titleFont{};
};
