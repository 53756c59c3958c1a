#include <winsock2.h>

#include "shell/BackupNoteRecords.h"

#include <cstring>

#include "foundation/DiagnosticLog.h"
#include "store/DestinationListOps.h"
#include "note/NoteController.h"
#include "note/NoteRichEdit.h"
#include "noteprops/AppAssociationsFile.h"
#include "note/NoteSheetRecords.h"
#include "note/ProtectedNotes.h"
#include "globals/ProgramGlobals.h"
#include "store/NoteRecordFields.h"
#include "store/NoteRtfPacking.h"
#include "store/UsersTable.h"

namespace {
const int kBackupPlainTextLimit = 51199;

BackupStamp BackupStampOf(const CDateTime& date)
{
    return BackupStamp{date.m_year, date.m_month, date.m_day, date.m_hour, date.m_minute};
}

// The rich text as the note shows it: streamed out of its window only when
// the window holds a text the note has not kept yet. A text the note holds
// packed goes in unpacked.
std::string RichTextOf(const CNoteController& note)
{
    const auto* body = static_cast<const CNoteRichEdit*>(note.m_bodyRichEdit);
    std::string text = note.WindowTextIsNewer() ? body->GetRTFText() : note.RichText();
    UnpackStoredNoteText(text);
    return text;
}

// The text the note shows, cut after kBackupPlainTextLimit characters. The room
// asked for is the length the edit tells and one more, so that a length told
// too short shows as a full buffer and the text is read again in full.
std::string PlainTextOf(const CNoteController& note)
{
    if (!note.m_bodyEdit)
        return note.RichText();
    const int told = GetWindowTextLengthA(note.m_bodyEdit);
    int room = (told > 0 && told < kBackupPlainTextLimit ? told + 1 : kBackupPlainTextLimit) + 1;
    std::string text(static_cast<size_t>(room), '\0');
    int length = GetWindowTextA(note.m_bodyEdit, &text[0], room);
    if (length >= room - 1 && room < kBackupPlainTextLimit + 1) {
        room = kBackupPlainTextLimit + 1;
        text.assign(static_cast<size_t>(room), '\0');
        length = GetWindowTextA(note.m_bodyEdit, &text[0], room);
    }
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

// A protected note is backed up as its protected body: a masked one as it
// was loaded, an open one enciphered anew from the text it shows. Its text
// never goes into the file in clear.
std::string ProtectedBodyOf(CNoteController& note)
{
    std::string reason = "it holds no enciphered content";
    if (note.m_masked) {
        if (!note.m_protectedContent.empty())
            return note.m_protectedContent;
    } else {
        const std::string text = RichTextOf(note);
        note.SetRichText(text.data(), text.size());
        if (note.PrepareContentForSend(&reason))
            return note.m_protectedContent;
    }
    WriteErrorLog("BackupNotesToXml():", (std::string("the protected note '") + note.m_title +
                                          "' could not be enciphered (" + reason +
                                          "); the backup holds no text of it")
                                             .c_str());
    return std::string();
}

void AddUserNames(BackupNote& record, DWORD userId)
{
    CMemArray<CUserEntry>& users = UsersArray();
    if (userId >= users.GetCount())
        return;
    record.userName = users[userId].userName;
    record.computerName = users[userId].computerName;
}

std::string BackupNoteRecordsGroupName(const CNoteController& note)
{
    const int group = note.FindGroupId(-1);
    char name[51] = "";
    if (group < 0 || !GroupsList().GetNameById(name, sizeof name, group))
        return std::string();
    return name;
}

void AddSendRecords(BackupNote& record, const CNoteController& note)
{
    if (note.m_noteId == 9999)
        return;
    for (const CDestination& sent : CopyOfTransactList()) {
        if (sent.m_noteId == note.m_noteId)
            record.sentTo.push_back(
                BackupSentTo{sent.m_computerId, sent.m_status == 1, BackupStampOf(sent.m_lastSend)});
    }
}

void AddAssociations(BackupNote& record, const CNoteController& note)
{
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        const CAppAssociation& association = node->record;
        if (association.noteId != note.m_noteId)
            continue;
        BackupAssociation saved;
        saved.application = association.application;
        saved.iconBase64 = IconText(AppIconImageList(), association.iconIndex);
        record.associations.push_back(saved);
    }
}
}

int PixelsPerInchOf(HWND window)
{
    HDC dc = GetDC(window);
    const int pixelsPerInch = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
        ReleaseDC(window, dc);
    return pixelsPerInch > 0 ? pixelsPerInch : 96;
}

BackupFont BackupFontOf(const LOGFONTA& font, int pixelsPerInch)
{
    BackupFont saved;
    saved.name.assign(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
    saved.size = MulDiv(-font.lfHeight, 72, pixelsPerInch);
    saved.bold = font.lfWeight == FW_BOLD;
    saved.italic = font.lfItalic;
    saved.underlined = font.lfUnderline;
    saved.strikeout = font.lfStrikeOut;
    saved.charset = font.lfCharSet;
    saved.escapement = font.lfEscapement;
    saved.orientation = font.lfOrientation;
    saved.outPrecision = font.lfOutPrecision;
    saved.clipPrecision = font.lfClipPrecision;
    saved.quality = font.lfQuality;
    saved.pitchAndFamily = font.lfPitchAndFamily;
    return saved;
}

LOGFONTA LogFontOf(const BackupFont& saved, const LOGFONTA& pattern, int pixelsPerInch)
{
    LOGFONTA font = pattern;
    font.lfHeight = -MulDiv(saved.size, pixelsPerInch, 72);
    font.lfWeight = saved.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = static_cast<BYTE>(saved.italic);
    font.lfUnderline = static_cast<BYTE>(saved.underlined);
    font.lfStrikeOut = static_cast<BYTE>(saved.strikeout);
    font.lfCharSet = static_cast<BYTE>(saved.charset);
    font.lfEscapement = saved.escapement;
    font.lfOrientation = saved.orientation;
    font.lfOutPrecision = static_cast<BYTE>(saved.outPrecision);
    font.lfClipPrecision = static_cast<BYTE>(saved.clipPrecision);
    font.lfQuality = static_cast<BYTE>(saved.quality);
    font.lfPitchAndFamily = static_cast<BYTE>(saved.pitchAndFamily);
    lstrcpynA(font.lfFaceName, saved.name.c_str(), sizeof font.lfFaceName);
    return font;
}

BackupNote BackupRecordOf(CNoteController& note, int pixelsPerInch)
{
    BackupNote record;
    AddUserNames(record, note.m_userId);
    record.hidden = note.m_hidden;
    record.stayOnTop = note.m_stayOnTop;
    record.border = note.m_border;
    record.showDate = note.m_showDate;
    record.rollUpOnLeave = note.m_rollUpOnLeave;
    record.leftMarginLine = static_cast<int>(NoteLeftMarginKind(note));
    record.backgroundKind = note.m_backgroundKind;
    record.textureId = note.m_textureId;
    record.horizontalLines = static_cast<int>(NoteHorizontalLines(note));
    record.plainText = NotePlainText(note) != 0;
    record.transparency = note.Transparency();
    record.locked = note.m_protected;
    record.group = BackupNoteRecordsGroupName(note);
    const RECT rect = StoredNoteRect(note);
    record.left = rect.left;
    record.top = rect.top;
    record.width = rect.right - rect.left;
    record.height = rect.bottom - rect.top;
    record.created = BackupDateTime{BackupStampOf(note.m_created), note.m_created.m_second};
    record.lastSentTo = note.m_lastSentTo;
    record.lastSentOk = note.m_sendState == 1;
    record.receivedFromComputer = note.m_receivedFrom;
    record.receivedFromUser = note.m_receivedFromUser;

    record.bodyColour = note.m_bodyColor;
    record.textColour = note.m_textColor;
    record.bodyFont = BackupFontOf(note.m_bodyFont, pixelsPerInch);
    record.protectedBody = note.m_protected;
    if (note.m_protected) {
        record.content = ProtectedBodyOf(note);
    } else {
        record.text = PlainTextOf(note);
        record.content = RichTextOf(note);
    }
    record.titleColour = note.m_titleColor;
    record.titleTextColour = note.m_titleTextColor;
    record.titleFont = BackupFontOf(note.m_titleFont, pixelsPerInch);
    record.title.assign(note.m_title, strnlen(note.m_title, sizeof note.m_title));

    record.alarm.set = note.m_alarmSet;
    record.alarm.when = BackupStampOf(note.m_alarm);
    record.alarm.stopAfterMinutes = note.m_stopAfterMinutes;
    record.alarm.recurring = note.m_alarmRecurring;
    record.alarm.value = note.m_alarmValue;
    record.alarm.unit = note.m_alarmUnit;
    AddSendRecords(record, note);
    AddAssociations(record, note);
    return record;
}

std::vector<BackupComputer> BackupComputersOfSentToList()
{
    std::vector<BackupComputer> computers;
    for (const CDestination& destination : CopyOfSentToList()) {
        BackupComputer computer;
        computer.id = destination.m_computerId;
        computer.alias = destination.m_alias;
        computer.email = destination.m_email;
        computer.computerName = destination.m_computerName;
        computer.ipAddress = destination.m_ipAddress;
        computer.lastSentOk = destination.m_status == 1;
        computer.lastSent = BackupStampOf(destination.m_lastSend);
        computers.push_back(computer);
    }
    return computers;
}
