#include "note/NoteCreation.h"

#include <cstdio>
#include <memory>

#include "note/NoteController.h"

namespace {
template <size_t N>
void CopyText(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text ? text : "");
}
}

void FillNoteFromDescription(CNoteController& note, const NoteDescription& d)
{
    note.m_chatId = d.chatId;
    note.m_chatNote = d.chatId != 0;
    note.m_packed = d.packed;
    note.m_backgroundKind = d.styleMode;
    note.m_stayOnTop = d.stayOnTop;
    note.m_border = d.border;
    note.m_hidden = d.hidden;
    note.m_rolledUp = d.rolledUp;
    note.m_showDate = d.showDate;
    note.m_left = d.x;
    note.m_top = d.y;
    note.m_width = d.width;
    note.m_height = d.height;
    note.m_bodyColor = d.bodyColor;
    note.m_textColor = d.textColor;
    note.m_titleColor = d.titleColor;
    note.m_titleTextColor = d.titleTextColor;
    if (d.bodyFont)
        note.m_bodyFont = *d.bodyFont;
    if (d.titleFont)
        note.m_titleFont = *d.titleFont;
    CopyText(note.m_title, d.title);
    note.m_storedValue = d.storedValue;
    note.m_noteId = d.noteId;
    note.m_userId = d.userId;
    note.m_notShared = d.notShared;
    note.m_created = d.created;
    note.SetRichText(d.text, d.textLength);
    note.m_alarmSet = d.alarmSet;
    note.m_alarmRung = d.alarmRung;
    note.m_alarm = d.alarm;
    note.m_delayedSend = d.delayedSend;
    note.m_delayAmount = d.delayAmount;
    note.m_delayUnit = d.delayUnit;
    note.m_retry = d.retry;
    note.m_retryCount = d.retryCount;
    note.m_retryUnit = d.retryUnit;
    note.m_sent = d.sent;
    note.m_sent1 = d.sent1;
    note.m_received = d.received;
    note.m_received1 = d.received1;
    note.m_sendResult = d.sendResult;
    CopyText(note.m_receivedFrom, d.receivedFrom);
    CopyText(note.m_createdBy, d.createdBy);
    CopyText(note.m_lastSentTo, d.lastSentTo);
}

// The note window is not there yet: the note is made as a record alone, with
// its text kept in the object, so that loading and saving work without it.
CNoteController* CreateNote(const NoteDescription& description)
{
    std::unique_ptr<CNoteController> note(new CNoteController);
    FillNoteFromDescription(*note, description);
    return note.release();
}
