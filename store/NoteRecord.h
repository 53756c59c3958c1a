#pragma once

#include <windows.h>

#include <string>

#include "foundation/DateTime.h"
#include "store/bytes/PackedNoteSettings.h"

// A note as the notes table keeps it: the fields of its record, its text, and
// the window that shows it (its place is read from there, and boxes about the
// note are shown over it). The note object is a note record; the table code
// sees no more of it than this.
struct NoteRecord {
    NoteRecord() = default;
    virtual ~NoteRecord() = default;
    NoteRecord(const NoteRecord&) = delete;
    NoteRecord& operator=(const NoteRecord&) = delete;

    // What a note keeps beside the notes table, written once its record was
    // stored (a chat note's participants, the group picked before it had a
    // record); nothing for a plain record.
    virtual void SaveBesideTable() {}
    // A protected note's password text; a plain record has none.
    virtual std::string ProtectionPasswordText() const { return std::string(); }
    // A protected note's text enciphered into its protected content; false,
    // with the reason, when it cannot be.
    virtual bool PrepareContentForSend(std::string* failure = nullptr)
    {
        if (failure)
            *failure = "there is no password to encipher it with";
        return false;
    }

    // The rich text of the note: the copy kept here, taken from the window by
    // SyncFromWindow before every save.
    const std::string& RichText() const { return m_richText; }
    void SetRichText(const char* text, size_t length) { m_richText.assign(text ? text : "", text ? length : 0); }
    void SetRichText(std::string&& text) { m_richText.swap(text); }

    // Identity and owner.
    DWORD m_noteId = 9999;      // the notes-table record; 9999 until stored
    DWORD m_userId = 0;             // owner

    // The window that shows the note; none until the note window is made.
    HWND m_window = nullptr;

    // Window state.
    bool m_hidden = false;              // minimised to nothing
    bool m_rolledUp = false;
    LONG m_unrolledWidth = 0;
    LONG m_unrolledHeight = 0;
    bool m_stayOnTop = false;
    bool m_border = false;
    bool m_showDate = false;
    bool m_modified = false;
    LONG m_left = 0;                // the window rectangle, kept while there is no window
    LONG m_top = 0;
    LONG m_width = 0;
    LONG m_height = 0;

    // Looks.
    COLORREF m_bodyColor = 0;
    COLORREF m_textColor = 0;
    COLORREF m_titleColor = 0;
    COLORREF m_titleTextColor = 0;
    LOGFONTA m_bodyFont{};
    LOGFONTA m_titleFont{};
    char m_title[41]{};
    // Stored with the record: digit C is the background kind, the combined
    // value the texture id, flag E the stretch; the level the transparency.
    PackedNoteValues m_packed;
    int m_storedValue = 0;          // kept with the record (W1)

    // Alarm. Recurrence, value and unit are stored as the record's "delayed
    // send" fields; units: 1 minutes, 2 hours, 3 days, 4 weeks, 5 months, 6 weekdays.
    CDateTime m_alarm;              // the next time the alarm is due, local time
    bool m_alarmSet = false;
    bool m_alarmRung = false;       // the alarm of this time has rung; stored, not a gate
    bool m_alarmRecurring = false;  // "Remind again every:"
    BYTE m_alarmUnit = 3;
    BYTE m_alarmValue = 1;
    BYTE m_stopAfterMinutes = 0;    // the sound stops after these minutes; 0 never

    // Sending and receiving.
    bool m_retry = false;
    BYTE m_retryCount = 0;
    BYTE m_retryUnit = 0;
    bool m_sent = false;
    bool m_sent1 = false;
    bool m_received = false;
    bool m_received1 = false;
    DWORD m_sendResult = 0;         // stored as the record's send result
    char m_receivedFrom[26]{};    // the sending computer of a received note
    char m_createdBy[26]{};
    char m_lastSentTo[26]{};
    CDateTime m_created;

    // Protection.
    bool m_protected = false;
    bool m_masked = false;
    std::string m_protectedContent;  // the enciphered body: always while masked
    std::string m_packedText;        // the rich text packed, for long texts

protected:
    std::string m_richText;  // the note object takes it from its window
};

// Whether the record number names a stored note: 9999 marks a note never
// stored, and so does 9988 (a new note of the second kind).
inline bool IsStoredNoteId(DWORD noteId)
{
    return noteId != 0 && noteId != 9999 && noteId != 9988;
}
