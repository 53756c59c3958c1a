#include "store/NoteRecordFields.h"

#include "foundation/DiagnosticLog.h"
#include "store/NoteRtfPacking.h"
#include "store/DbfFile.h"
#include "store/FieldAccess.h"
#include "store/FontFields.h"
#include "store/TableText.h"
#include "store/UnlockedBoxes.h"
#include "store/bytes/DeletedRecordList.h"
#include "store/bytes/PackedNoteSettings.h"

namespace {
const char* const kCreationFields[6] = {"BYDAY", "BYMONTH", "WYEAR", "WHOUR", "WMINUTE", "WSECOND"};
const char* const kAlarmFields[6] = {"BYADAY", "BYAMONTH", "WAYEAR", "WAHOUR", "WAMINUTE", "WASECOND"};
}

bool TextWithheld(const NoteRecord& note)
{
    return note.m_protected &&
           (note.m_masked ? note.m_protectedContent.empty() : note.ProtectionPasswordText().empty());
}

bool HasUnstoredChange(const NoteRecord& note)
{
    return (note.m_modified || note.m_noteId == kUnsavedNoteId) && !TextWithheld(note);
}

const std::string* TextToStore(NoteRecord& note)
{
    if (!note.m_protected) {
        const std::string& text = note.RichText();
        if (text.size() >= kPackedTextFromBytes && PackNoteRtf(note, text.data(), text.size(), 0))
            return &note.m_packedText;
        return &text;
    }
    // A protected note stores only its enciphered body: the one it was loaded
    // with while masked, else one made afresh of the text it shows.
    std::string reason = "it holds no enciphered content";
    if ((note.m_masked && !note.m_protectedContent.empty()) ||
        (!note.m_masked && note.PrepareContentForSend(&reason)))
        return &note.m_protectedContent;
    std::string message = std::string(" - SaveNote()- The note having the title '") + note.m_title + "',\r\n created on " +
                          note.m_created.FormatDateTime(false) + "\r\n is locked, but " + reason +
                          ",\r\n so it was not saved.\r\n\r\n";
    WriteErrorLog("SaveToDisk(): ", message.c_str());
    ShowWhenUnlocked(note.m_window, message);
    return nullptr;
}

RECT StoredNoteRect(const NoteRecord& note)
{
    RECT rect = {note.m_left, note.m_top, note.m_left + note.m_width, note.m_top + note.m_height};
    if (note.m_window)
        GetWindowRect(note.m_window, &rect);
    if (note.m_rolledUp) {
        rect.right = rect.left + note.m_unrolledWidth;
        rect.bottom = rect.top + note.m_unrolledHeight;
    }
    return rect;
}

void WriteNoteFields(CDbfFile& table, DWORD record, const NoteRecord& note)
{
    RECT rect = StoredNoteRect(note);

    PackedNoteFields packed = PackNoteValues(note.m_packed);
    table.SetLongValue(record, "WSYEAR", packed.digits);
    table.SetLongValue(record, "BYSDAY", packed.level);
    table.SetLongValue(record, "BYSMONTH", packed.combinedHigh);
    table.SetLongValue(record, "WSHOUR", WithAlarmStopMinutes(packed.combinedLow, note.m_stopAfterMinutes));
    table.SetLongValue(record, "WSMINUTE", packed.digitAndFlag);
    table.SetLongValue(record, "WSSECOND", packed.byteSetting);

    WriteLogical(table, record, "BMINIMIZED", note.m_hidden);
    WriteLogical(table, record, "BSTAYONTOP", note.m_stayOnTop);
    WriteLogical(table, record, "BHASBORDER", note.m_border);
    WriteLogical(table, record, "BROLLUP", note.m_rolledUp);
    table.SetLongValue(record, "WLEFT", rect.left);
    table.SetLongValue(record, "WTOP", rect.top);
    table.SetLongValue(record, "WHEIGHT", rect.bottom - rect.top);
    table.SetLongValue(record, "WWIDTH", rect.right - rect.left);
    table.SetLongValue(record, "W1", note.m_storedValue);

    WriteColour(table, record, kNoteColourFields, note.m_bodyColor);
    WriteColour(table, record, kTextColourFields, note.m_textColor);

    WriteLogical(table, record, "BDELAY", note.m_alarmRecurring);
    table.SetLongValue(record, "BYDELAY", note.m_alarmValue);
    table.SetLongValue(record, "BYDELAYTYP", note.m_alarmUnit);
    WriteLogical(table, record, "BRETRY", note.m_retry);
    table.SetLongValue(record, "BYRETRY", note.m_retryCount);
    table.SetLongValue(record, "BYRETRYTYP", note.m_retryUnit);
    WriteColour(table, record, kTitleColourFields, note.m_titleColor);
    WriteColour(table, record, kTitleTextColourFields, note.m_titleTextColor);
    table.SetLongValue(record, "WUSERID", static_cast<long>(note.m_userId));

    WriteLogical(table, record, "BSENT", note.m_sent);
    WriteLogical(table, record, "BSENT1", note.m_sent1);
    WriteLogical(table, record, "BRECEIVED", note.m_received);
    WriteLogical(table, record, "BRECEIVED1", note.m_received1);
    WriteLogical(table, record, "BSHOWDATE", note.m_showDate);

    WriteFontFields(table, record, FontFieldSet::kBody, note.m_bodyFont);
    WriteFontFields(table, record, FontFieldSet::kTitle, note.m_titleFont);

    WriteDateTimeFields(table, record, kAlarmFields, note.m_alarm);
    WriteLogical(table, record, "BALARMSET", note.m_alarmSet);
    WriteLogical(table, record, "BDEJAALARM", note.m_alarmRung);
    table.SetStringValue(record, "SZTITLE", note.m_title);
    table.SetStringValue(record, "RECEIVEDFR", note.m_receivedFrom);
    table.SetStringValue(record, "CREATEDBY", note.m_createdBy);
    table.SetStringValue(record, "LASTSENDTO", note.m_lastSentTo);
    table.SetLongValue(record, "ISENTALLOK", static_cast<long>(note.m_sendResult));
}

void WriteCreationTime(CDbfFile& table, DWORD record, const CDateTime& created)
{
    table.BeginRecordWrite(record);
    WriteDateTimeFields(table, record, kCreationFields, created);
    table.EndRecordWrite();
}

void CStoredNote::Read(CDbfFile& table)
{
    NoteDescription& d = description;
    d.noteId = table.GetRecno();
    d.userId = static_cast<DWORD>(table.GetLongValue("WUSERID"));
    d.stayOnTop = table.GetLogicalValue("BSTAYONTOP");
    d.border = table.GetLogicalValue("BHASBORDER");
    d.hidden = table.GetLogicalValue("BMINIMIZED");
    d.rolledUp = table.GetLogicalValue("BROLLUP");
    d.x = table.GetLongValue("WLEFT");
    d.y = table.GetLongValue("WTOP");
    d.width = table.GetLongValue("WWIDTH");
    d.height = table.GetLongValue("WHEIGHT");
    d.bodyColor = ReadColour(table, kNoteColourFields);
    d.textColor = ReadColour(table, kTextColourFields);
    d.titleColor = ReadColour(table, kTitleColourFields);
    d.titleTextColor = ReadColour(table, kTitleTextColourFields);
    textBlock = static_cast<DWORD>(table.GetLongValue("TEXT"));
    ReadTrimmedText(table, "RECEIVEDFR", m_receivedFrom, sizeof m_receivedFrom);
    ReadTrimmedText(table, "CREATEDBY", m_createdBy, sizeof m_createdBy);
    ReadTrimmedText(table, "LASTSENDTO", m_lastSentTo, sizeof m_lastSentTo);
    d.receivedFrom = m_receivedFrom;
    d.createdBy = m_createdBy;
    d.lastSentTo = m_lastSentTo;
    d.created = ReadDateTimeFields(table, kCreationFields);
    d.alarm = ReadDateTimeFields(table, kAlarmFields);
    d.alarmSet = table.GetLogicalValue("BALARMSET");
    d.alarmRung = table.GetLogicalValue("BDEJAALARM");
    d.showDate = table.GetLogicalValue("BSHOWDATE");
    ReadTrimmedText(table, "SZTITLE", m_title, sizeof m_title);
    if (m_title[0] == '\0')
        lstrcpyA(m_title, " ");
    d.title = m_title;
    d.storedValue = table.GetLongValue("W1");
    m_bodyFont = ReadFontFields(table, FontFieldSet::kBody);
    m_titleFont = ReadFontFields(table, FontFieldSet::kTitle);
    d.bodyFont = &m_bodyFont;
    d.titleFont = &m_titleFont;
    d.alarmRecurring = table.GetLogicalValue("BDELAY");
    long value = table.GetLongValue("BYDELAY");
    long unit = table.GetLongValue("BYDELAYTYP");
    d.alarmValue = static_cast<BYTE>(value == 0 ? 1 : value);
    d.alarmUnit = static_cast<BYTE>(unit == 0 ? 3 : unit);
    d.retry = table.GetLogicalValue("BRETRY");
    d.retryCount = static_cast<BYTE>(table.GetLongValue("BYRETRY"));
    d.retryUnit = static_cast<BYTE>(table.GetLongValue("BYRETRYTYP"));
    d.sendResult = static_cast<DWORD>(table.GetLongValue("ISENTALLOK"));
    d.sent = table.GetLogicalValue("BSENT");
    d.sent1 = table.GetLogicalValue("BSENT1");
    d.received = table.GetLogicalValue("BRECEIVED");
    d.received1 = table.GetLogicalValue("BRECEIVED1");

    PackedNoteFields packed;
    packed.level = table.GetLongValue("BYSDAY");
    packed.combinedHigh = table.GetLongValue("BYSMONTH");
    packed.combinedLow = table.GetLongValue("WSHOUR");
    d.alarmStopMinutes = static_cast<BYTE>(AlarmStopMinutesOf(packed.combinedLow));
    packed.digitAndFlag = table.GetLongValue("WSMINUTE");
    packed.byteSetting = table.GetLongValue("WSSECOND");
    packed.digits = table.GetLongValue("WSYEAR");
    d.packed = UnpackNoteValues(packed);
}
