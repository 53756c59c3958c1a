#include "noteprops/AlarmPage.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/GenericString.h"
#include "foundation/ResourceData.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/Tooltips.h"
#include "foundation/win/WindowHelpers.h"
#include "note/bytes/SnoozeLayout.h"
#include "noteprops/AlarmDatePicker.h"
#include "resources/ids/GlobalsIds.h"
#include "resources/ids/NoteSettingsIds.h"
#include "resources/ids/SettingsSheetIds.h"
#include "globals/MainWindowMessages.h"

namespace {
const char kAlarmPageProperty[] = "QnAlarmPage";


// The unit list's items in order, with the unit each one stands for.
const struct {
    UINT text;
    BYTE unit;
} kUnitItems[] = {
    {IDS_UNIT_MINUTE_S, kUnitMinutes}, {IDS_UNIT_HOUR_S, kUnitHours}, {IDS_UNIT_DAY_S, kUnitDays},
    {IDS_UNIT_WEEKDAY_S, kUnitWeekdays}, {IDS_UNIT_WEEK_S, kUnitWeeks}, {IDS_UNIT_MONTH_S, kUnitMonths},
};
const int kUnitItemCount = sizeof kUnitItems / sizeof kUnitItems[0];

CAlarmPage* AlarmPageOf(HWND page)
{
    return static_cast<CAlarmPage*>(GetPropA(page, kAlarmPageProperty));
}

bool Checked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

// Numbers of the value edits as two digits: "05".
void ShowTwoDigits(HWND page, int id, int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    SetDlgItemTextA(page, id, text);
}

int EditNumber(HWND page, int id)
{
    char text[8] = "";
    GetDlgItemTextA(page, id, text, sizeof text);
    return std::atoi(text);
}

// The alarm time moved on by the value in the unit, as a recurring alarm
// would be after it fires.
CDateTime StepByUnit(CDateTime time, int unit, int value)
{
    switch (unit) {
    case kUnitMinutes: time.AddMinutes(static_cast<DWORD>(value)); break;
    case kUnitHours: time.AddHours(static_cast<DWORD>(value)); break;
    case kUnitWeeks: time.AddWeeks(static_cast<BYTE>(value)); break;
    case kUnitMonths: {
        // An alarm on the last day of its month rings on the last day of
        // the next one too: 30 April, then 31 May.
        const bool lastDay = time.IsLastDayOfMonth();
        time.AddMonths(static_cast<BYTE>(value));
        if (lastDay)
            time.m_day = static_cast<BYTE>(time.GetDaysInMonth());
        break;
    }
    case kUnitWeekdays: time.AddWeekdays(static_cast<DWORD>(value)); break;
    default: time.AddDays(static_cast<DWORD>(value)); break;
    }
    return time;
}

INT_PTR AlarmPageAnswer(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR OnAlarmPageNotify(HWND page, CAlarmPage& alarm, const NMHDR& header, LPARAM lParam)
{
    switch (header.code) {
    case PSN_KILLACTIVE:
        alarm.OnKillActive();
        return AlarmPageAnswer(page, FALSE);
    case PSN_APPLY:
        alarm.OnKillActive();
        alarm.RestoreEdits();
        alarm.Settings().applied = 1;
        return AlarmPageAnswer(page, PSNRET_NOERROR);
    case PSN_RESET:
        alarm.RestoreEdits();
        alarm.Settings().applied = 0;
        return TRUE;
    case PSN_HELP:
        ShowHelpTopic(page, IDH_ALARM_PAGE);
        return TRUE;
    case DTN_DATETIMECHANGE:
        FitAlarmDateFormat(alarm.Item(IDC_ALARM_DATE));
        if (alarm.Settings().recurring)
            alarm.ShowNextReminder();
        else
            alarm.OnKillActive();
        return TRUE;
    case UDN_DELTAPOS: {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        const int delta = change->iDelta > 0 ? 1 : -1;
        if (header.idFrom == IDC_ALARM_TIME_SPIN)
            alarm.StepTime(delta);
        else if (header.idFrom == IDC_ALARM_VALUE_SPIN)
            alarm.StepValue(IDC_ALARM_VALUE, delta);
        else if (header.idFrom == IDC_ALARM_STOP_SPIN)
            alarm.StepValue(IDC_ALARM_STOP_MINUTES, delta);
        // The page keeps the numbers; the arrows' own position never moves.
        return AlarmPageAnswer(page, TRUE);
    }
    default:
        return FALSE;
    }
}
}

CAlarmPage::CAlarmPage(HWND page, CAlarmSettings& settings) : m_page(page), m_settings(settings) {}

void CAlarmPage::OnInitDialog()
{
    HWND sheet = GetParent(m_page);
    if (m_settings.centred && *m_settings.centred == 0) {
        CenterWindowOverWindow(sheet, GetDesktopWindow());
        *m_settings.centred = 1;
    }
    SetWindowPos(sheet, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    ShowTwoDigits(m_page, IDC_ALARM_VALUE, m_settings.value);
    ShowTwoDigits(m_page, IDC_ALARM_STOP_MINUTES, m_settings.stopAfterMinutes);
    SubclassAlarmValueEdit(*this, IDC_ALARM_VALUE);
    SubclassAlarmValueEdit(*this, IDC_ALARM_STOP_MINUTES);

    CheckDlgButton(m_page, IDC_ALARM_SET, (m_settings.alarmSet || m_settings.openWithAlarmSet) ? BST_CHECKED : 0);
    HWND units = Item(IDC_ALARM_UNIT);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < kUnitItemCount; ++i) {
        CResourceString text;
        SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.LoadString(instance, kUnitItems[i].text)));
        if (kUnitItems[i].unit == m_settings.unit)
            SendMessageA(units, CB_SETCURSEL, i, 0);
    }
    CheckDlgButton(m_page, IDC_ALARM_RECURRING, m_settings.recurring ? BST_CHECKED : 0);
    CheckDlgButton(m_page, IDC_ALARM_STOP_RINGING, m_settings.stopAfterMinutes ? BST_CHECKED : 0);

    SetAlarmDateFormat(Item(IDC_ALARM_DATE));
    if (m_settings.openWithAlarmSet) {
        m_settings.alarmSet = 1;
        ProposeTime();
    } else {
        ShowTime(m_settings.alarmTime);
        ShowAlarmDate(Item(IDC_ALARM_DATE), m_settings.alarmTime);
    }

    // The time edit fits its text; its arrows sit right after it.
    HWND timeEdit = Item(IDC_ALARM_TIME);
    RECT box{};
    GetWindowRect(timeEdit, &box);
    MapWindowPoints(nullptr, m_page, reinterpret_cast<POINT*>(&box), 2);
    HDC dc = GetDC(timeEdit);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(timeEdit, WM_GETFONT, 0, 0)));
    SIZE textSize{};
    GetTextExtentPoint32A(dc, "00:00", 5, &textSize);
    SelectObject(dc, oldFont);
    ReleaseDC(timeEdit, dc);
    const int width = textSize.cx + 16;
    MoveWindow(timeEdit, box.left, box.top, width, box.bottom - box.top, FALSE);
    RECT arrows{};
    GetWindowRect(Item(IDC_ALARM_TIME_SPIN), &arrows);
    MoveWindow(Item(IDC_ALARM_TIME_SPIN), box.left + width, box.top, arrows.right - arrows.left, box.bottom - box.top,
               FALSE);
    SendMessageA(timeEdit, EM_SETSEL, 5, 5);
    SubclassAlarmTimeEdit(*this);

    SendMessageA(Item(IDC_ALARM_TIME_SPIN), UDM_SETRANGE32, 0, 100);
    SendMessageA(Item(IDC_ALARM_TIME_SPIN), UDM_SETPOS32, 0, 50);
    SendMessageA(Item(IDC_ALARM_VALUE_SPIN), UDM_SETRANGE32, 1, 99);
    SendMessageA(Item(IDC_ALARM_STOP_SPIN), UDM_SETRANGE32, 1, 10);
    m_tooltip = CreateTooltipControl(m_page);
    UpdateSetTip();
    EnableControls();

    if (!m_settings.openWithAlarmSet)
        SetFocus(Item(IDC_ALARM_SET));
    else
        SetFocus(Item(m_settings.proposedTime ? IDC_ALARM_TIME : IDC_ALARM_DATE));
}

void CAlarmPage::UpdateSetTip()
{
    CResourceString text;
    text.LoadString(GetModuleHandleA(nullptr), Checked(m_page, IDC_ALARM_SET) ? IDS_ALARM_STOP_TIP : IDS_ALARM_SET_TIP);
    if (!m_tipAdded)
        m_tipAdded = AddTooltipSubclass(m_tooltip, text.GetText(), m_page, Item(IDC_ALARM_SET)) != 0;
    else
        UpdateTooltipSubclassText(m_tooltip, text.GetText(), m_page, Item(IDC_ALARM_SET));
}

void CAlarmPage::ShowTime(const SYSTEMTIME& time)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", time.wHour % 24, time.wMinute % 60);
    SetDlgItemTextA(m_page, IDC_ALARM_TIME, text);
}

// Now (or the caller's day at the current time) plus five minutes.
void CAlarmPage::ProposeTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wSecond = 0;
    CDateTime proposed;
    proposed = now;
    if (m_settings.proposedTime) {
        proposed.m_day = m_settings.proposedTime->m_day;
        proposed.m_month = m_settings.proposedTime->m_month;
        proposed.m_year = m_settings.proposedTime->m_year;
    }
    proposed.AddMinutes(5);
    proposed.ToSystemTime(m_settings.alarmTime);
    m_settings.alarmTime.wDayOfWeek = 0;
    m_settings.alarmTime.wMilliseconds = 0;
    ShowTime(m_settings.alarmTime);
    ShowAlarmDate(Item(IDC_ALARM_DATE), m_settings.alarmTime);
}

void CAlarmPage::EnableControls()
{
    const bool set = Checked(m_page, IDC_ALARM_SET);
    const bool recurring = set && Checked(m_page, IDC_ALARM_RECURRING);
    const bool stops = set && Checked(m_page, IDC_ALARM_STOP_RINGING);
    for (int id : {IDC_ALARM_DATE, IDC_ALARM_TIME, IDC_ALARM_TIME_SPIN, IDC_ALARM_CALENDAR, IDC_ALARM_RECURRING,
                   IDC_ALARM_STOP_RINGING})
        EnableWindow(Item(id), set);
    for (int id : {IDC_ALARM_UNIT, IDC_ALARM_VALUE, IDC_ALARM_VALUE_SPIN, IDC_ALARM_NEXT_TEXT})
        EnableWindow(Item(id), recurring);
    EnableWindow(Item(IDC_ALARM_STOP_MINUTES), stops);
    EnableWindow(Item(IDC_ALARM_STOP_SPIN), stops);
    if (recurring)
        ShowNextReminder();
    else
        SetDlgItemTextA(m_page, IDC_ALARM_NEXT_TEXT, "");
}

void CAlarmPage::OnCommand(int id, int code)
{
    if (id == IDC_ALARM_SET && code == BN_CLICKED) {
        m_settings.alarmSet = Checked(m_page, IDC_ALARM_SET) ? 1 : 0;
        if (m_settings.alarmSet)
            ProposeTime();
        EnableControls();
        UpdateSetTip();
    } else if (id == IDC_ALARM_RECURRING && code == BN_CLICKED) {
        m_settings.recurring = Checked(m_page, IDC_ALARM_RECURRING) ? 1 : 0;
        EnableControls();
    } else if (id == IDC_ALARM_STOP_RINGING && code == BN_CLICKED) {
        SetDlgItemTextA(m_page, IDC_ALARM_STOP_MINUTES, Checked(m_page, IDC_ALARM_STOP_RINGING) ? "10" : "00");
        EnableControls();
    } else if (id == IDC_ALARM_UNIT && code == CBN_SELCHANGE) {
        const LRESULT item = SendMessageA(Item(IDC_ALARM_UNIT), CB_GETCURSEL, 0, 0);
        if (item >= 0 && item < kUnitItemCount)
            m_settings.unit = kUnitItems[item].unit;
        ShowNextReminder();
    } else if (id == IDC_ALARM_CALENDAR && code == BN_CLICKED) {
        // The calendar comes over the sheet.
        HWND sheet = GetParent(m_page);
        SetWindowLongA(sheet, GWL_EXSTYLE, GetWindowLongA(sheet, GWL_EXSTYLE) & ~WS_EX_TOPMOST);
        SetWindowPos(sheet, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (HWND main = GetMainWindow())
            SendMessageA(main, WM_COMMAND, kCmdCalendar, 0);
    }
}

void CAlarmPage::OnKillActive()
{
    char time[8] = "";
    GetDlgItemTextA(m_page, IDC_ALARM_TIME, time, sizeof time);
    SYSTEMTIME date{};
    if (SendMessageA(Item(IDC_ALARM_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) == GDT_VALID) {
        m_settings.alarmTime.wYear = date.wYear;
        m_settings.alarmTime.wMonth = date.wMonth;
        m_settings.alarmTime.wDay = date.wDay;
    }
    if (lstrlenA(time) == 5) {
        m_settings.alarmTime.wHour = static_cast<WORD>((time[0] - '0') * 10 + (time[1] - '0'));
        m_settings.alarmTime.wMinute = static_cast<WORD>((time[3] - '0') * 10 + (time[4] - '0'));
    }
    m_settings.alarmTime.wSecond = 0;
    // A refused number (0 or empty) keeps the one before; the edit tells why.
    const int value = EditNumber(m_page, IDC_ALARM_VALUE);
    if (value >= 1 && value <= 99)
        m_settings.value = static_cast<BYTE>(value);
    const int stop = EditNumber(m_page, IDC_ALARM_STOP_MINUTES);
    if (!Checked(m_page, IDC_ALARM_STOP_RINGING))
        m_settings.stopAfterMinutes = 0;
    else if (stop >= 1 && stop <= 10)
        m_settings.stopAfterMinutes = static_cast<BYTE>(stop);
}

void CAlarmPage::ShowNextReminder()
{
    OnKillActive();
    int value = EditNumber(m_page, IDC_ALARM_VALUE);
    if (value < 1)
        value = 1;
    CDateTime next;
    next = m_settings.alarmTime;
    next = StepByUnit(next, m_settings.unit, value);
    CGenericString date;
    FormatDateText(next, true, date, false, false);
    SYSTEMTIME at;
    next.ToSystemTime(at);
    char time[32] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &at, nullptr, time, sizeof time);
    CResourceString lead;
    std::string text = lead.LoadString(GetModuleHandleA(nullptr), IDS_NEXT_ALARM_ON);
    // Without a date format of the program's own, the system's short date.
    char shortDate[64] = "";
    if (date.GetLength() == 0)
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, shortDate, sizeof shortDate);
    text += date.GetLength() ? date.GetString() : shortDate;
    text += ", ";
    text += time;
    SetDlgItemTextA(m_page, IDC_ALARM_NEXT_TEXT, text.c_str());
}

void CAlarmPage::RefreshIfRecurring()
{
    if (m_settings.recurring && Checked(m_page, IDC_ALARM_SET))
        ShowNextReminder();
}

// On the hour when the caret is before the colon and the time edit has the
// focus, else on the minute; both wrap round.
void CAlarmPage::StepTime(int delta)
{
    HWND edit = Item(IDC_ALARM_TIME);
    char text[8] = "";
    GetWindowTextA(edit, text, sizeof text);
    if (lstrlenA(text) != 5)
        return;
    DWORD caret = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    int hour = (text[0] - '0') * 10 + (text[1] - '0');
    int minute = (text[3] - '0') * 10 + (text[4] - '0');
    if (GetFocus() == edit && caret < 3)
        hour = (hour + delta + 24) % 24;
    else
        minute = (minute + delta + 60) % 60;
    std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
    SetWindowTextA(edit, text);
    SendMessageA(edit, EM_SETSEL, caret, caret);
    RefreshIfRecurring();
}

void CAlarmPage::StepValue(int editId, int delta)
{
    const int highest = editId == IDC_ALARM_VALUE ? 99 : 10;
    int value = EditNumber(m_page, editId) + delta;
    if (value < 1)
        value = 1;
    if (value > highest)
        value = highest;
    ShowTwoDigits(m_page, editId, value);
    if (editId == IDC_ALARM_VALUE)
        RefreshIfRecurring();
}

void CAlarmPage::CheckValueEdit(int editId)
{
    if (!IsWindowEnabled(Item(editId)))
        return;
    const int value = EditNumber(m_page, editId);
    const char* refusal = nullptr;
    CResourceString aboveZero;
    if (value <= 0)
        refusal = aboveZero.LoadString(GetModuleHandleA(nullptr), IDS_VALUE_ABOVE_ZERO);
    else if (editId == IDC_ALARM_STOP_MINUTES && value >= 11)
        refusal = "Please enter a value less or equal than 10";
    if (!refusal)
        return;
    ShowMessageBox(GetParent(m_page), refusal, ProgramTitle, kMbIconHand);
    SetFocus(Item(editId));
}

void CAlarmPage::RestoreEdits()
{
    if (m_timeEditProc)
        SetWindowLongPtrA(Item(IDC_ALARM_TIME), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_timeEditProc));
    if (m_valueEditProc)
        SetWindowLongPtrA(Item(IDC_ALARM_VALUE), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_valueEditProc));
    if (m_stopEditProc)
        SetWindowLongPtrA(Item(IDC_ALARM_STOP_MINUTES), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_stopEditProc));
    m_timeEditProc = m_valueEditProc = m_stopEditProc = nullptr;
}

INT_PTR CALLBACK AlarmPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* settings = reinterpret_cast<CAlarmSettings*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
            auto* alarm = new CAlarmPage(page, *settings);
            SetPropA(page, kAlarmPageProperty, alarm);
            alarm->OnInitDialog();
            return FALSE;
        }
        CAlarmPage* alarm = AlarmPageOf(page);
        if (!alarm)
            return FALSE;
        switch (message) {
        case WM_COMMAND:
            alarm->OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            return OnAlarmPageNotify(page, *alarm, *reinterpret_cast<const NMHDR*>(lParam), lParam);
        case WM_HELP:
            ShowHelpTopic(page, IDH_ALARM_PAGE);
            return TRUE;
        case kMsgCheckAlarmValue:
            alarm->CheckValueEdit(static_cast<int>(wParam));
            return TRUE;
        case WM_DESTROY:
            alarm->RestoreEdits();
            RemovePropA(page, kAlarmPageProperty);
            delete alarm;
            return FALSE;
        default:
            return FALSE;
        }
    });
}
