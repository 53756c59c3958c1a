#include "notemanager/NoteManagerController.h"

#include <richedit.h>

#include <cstdio>

#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerNotes.h"

namespace {
const char kProtectedText[] = " ...PROTECTED  NOTE... ";
const int kTitleMatchFrom = 15;
const int kTextMatchFrom = 21;

std::string LocaleText(LCTYPE type)
{
    char text[100] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
    return text;
}

std::string DateWithPicture(const SYSTEMTIME& time, const std::string& picture)
{
    char text[100] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &time, picture.c_str(), text, sizeof text);
    return text;
}

std::string TimeWithPicture(const SYSTEMTIME& time, const char* picture)
{
    char text[50] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, picture, text, sizeof text);
    return text;
}

// The eight smart forms of the date and time, index 1 to 8.
void SmartDateTexts(const CDateTime& date, std::string (&texts)[9])
{
    SYSTEMTIME time = {};
    date.ToSystemTime(time);
    const std::string longPicture = LocaleText(LOCALE_SLONGDATE);
    const std::string shortPicture = LocaleText(LOCALE_SSHORTDATE);
    const std::string hours24 = TimeWithPicture(time, "HH':'mm");
    const std::string shortLong = DateWithPicture(time, ShortenDatePicture(longPicture, true, true, false));
    const std::string shortYears = DateWithPicture(time, ShortenDatePicture(shortPicture, false, false, true));
    texts[1] = DateWithPicture(time, longPicture) + ", " + TimeWithPicture(time, "h':'mm tt");
    texts[2] = DateWithPicture(time, longPicture) + ", " + hours24;
    texts[3] = shortLong + ", " + hours24;
    texts[4] = DateWithPicture(time, ShortenDatePicture(longPicture, true, true, true)) + ", " + hours24;
    texts[5] = shortLong;
    texts[6] = shortYears + ", " + hours24;
    texts[7] = DateWithPicture(time, shortPicture);
    texts[8] = shortYears;
}

std::string PlainDateText(const CDateTime& date, bool withTime)
{
    CGenericString text;
    FormatDateText(date, !withTime, text, false, false);
    return text.GetString() ? text.GetString() : "";
}
}

DWORD CNoteManagerController::SizeOf(const CNoteController& note) const
{
    if (note.m_storedContentSizeKnown && note.m_storedContentSize)
        return note.m_storedContentSize;
    if (IsClosedProtected(note) && IsNoteLocked(note))
        return note.m_storedProtectedSize ? note.m_storedProtectedSize
                                          : static_cast<DWORD>(note.m_protectedContent.size());
    if (!note.m_bodyEdit)
        return 0;
    GETTEXTLENGTHEX length = {GTL_NUMCHARS, CP_ACP};
    const LRESULT chars = SendMessageA(note.m_bodyEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    return chars > 0 ? static_cast<DWORD>(chars) : 0;
}

// The smart form that fits the column, measured with the list's font.
int CNoteManagerController::ChooseLevel(const std::string (&texts)[9], int column)
{
    int widths[9] = {};
    HDC dc = GetDC(m_list);
    HGDIOBJ previous = SelectObject(dc, m_normalFont ? m_normalFont : GetStockObject(DEFAULT_GUI_FONT));
    for (int level = 1; level <= 8; ++level) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, texts[level].c_str(), static_cast<int>(texts[level].size()), &size);
        widths[level] = size.cx;
    }
    SelectObject(dc, previous);
    ReleaseDC(m_list, dc);
    return ChooseDateFormatLevel(widths, static_cast<int>(NoteManagerOptions().columns[column].width));
}

std::string CNoteManagerController::DateCellText(const CDateTime& date, int column, int row)
{
    const CNoteManagerOptions& options = NoteManagerOptions();
    if (!options.adaptiveDateTime)
        return PlainDateText(date, column == kColumnAlarm || UserSettings().datesWithTime != 0);
    std::string texts[9];
    SmartDateTexts(date, texts);
    int& level = column == kColumnAlarm ? m_alarmLevel : m_createdLevel;
    if (level == 0 || (column == kColumnCreated && row == 0))
        level = ChooseLevel(texts, column);
    return texts[level];
}

std::string CNoteManagerController::CellText(CNoteController& note, int column, int row)
{
    const bool searching = NoteManagerOptions().containingText[0] != '\0';
    switch (column) {
    case kColumnIcons:
        return " ";
    case kColumnTitle:
        return ListCellText(note.m_title, searching ? note.m_titleMatch : -1, kTitleMatchFrom);
    case kColumnText:
        if (IsClosedProtected(note) && IsNoteLocked(note))
            return kProtectedText;
        return ListCellText(PlainTextOf(note), searching ? note.m_textMatch : -1, kTextMatchFrom);
    case kColumnAlarm:
        return note.m_alarmSet ? DateCellText(note.m_alarm, column, row) : std::string();
    case kColumnCreated:
        return DateCellText(note.m_created, column, row);
    case kColumnGroup:
        return GroupNameOfNote(note);
    case kColumnOwner:
        return OwnerNameOf(note);
    case kColumnSize: {
        char text[20];
        std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(SizeOf(note)));
        return text;
    }
    default:
        return std::string();
    }
}

void CNoteManagerController::OnGetDispInfo(NMLVDISPINFOA& info)
{
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0)
        return;
    CNoteController* note = info.item.lParam ? LiveNoteOf(info.item.lParam) : NoteAt(info.item.iItem);
    if (!note)
        return;
    const std::string text = CellText(*note, info.item.iSubItem, info.item.iItem);
    lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
}
