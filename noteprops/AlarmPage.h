#pragma once

#include <windows.h>

#include "noteprops/AlarmSettings.h"

// The " Alarm " page of the note settings sheet: whether the alarm is set,
// its date and time, when its sound stops and how it recurs, with the time of
// the alarm after it. It edits the CAlarmSettings given in the page's lParam
// and never the note.
INT_PTR CALLBACK AlarmPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The page object, kept in the page's user data while the page lives.
class CAlarmPage {
public:
    CAlarmPage(HWND page, CAlarmSettings& settings);

    void OnInitDialog();
    void OnCommand(int id, int code);
    // The values of the controls into the record.
    void OnKillActive();
    // The up-down of the time steps the hour or the minute; delta +1 or -1.
    void StepTime(int delta);
    // Steps the number of one of the two value edits within its range.
    void StepValue(int editId, int delta);
    void ShowNextReminder();
    void RefreshIfRecurring();
    // The controls enabled by the alarm, the recurrence and the stop box.
    void EnableControls();
    // A refused value of an edit is told and the edit gets the focus back.
    void CheckValueEdit(int editId);
    void RestoreEdits();

    CAlarmSettings& Settings() { return m_settings; }
    HWND Page() const { return m_page; }
    HWND Item(int id) const { return GetDlgItem(m_page, id); }

    // Subclassed edits: each keeps its own procedure here.
    WNDPROC m_timeEditProc = nullptr;
    WNDPROC m_valueEditProc = nullptr;
    WNDPROC m_stopEditProc = nullptr;

private:
    void ProposeTime();
    void ShowTime(const SYSTEMTIME& time);
    void UpdateSetTip();

    HWND m_page;
    CAlarmSettings& m_settings;
    HWND m_tooltip = nullptr;
    bool m_tipAdded = false;
};

// The time edit ("HH:MM", a digit typed over the one at the caret) and the
// two value edits (two digits at most) of the page (noteprops/AlarmPageEdits.cpp).
void SubclassAlarmTimeEdit(CAlarmPage& page);
void SubclassAlarmValueEdit(CAlarmPage& page, int editId);
// Whether a digit typed at the caret of the time text is allowed.
bool TimeDigitAllowed(const char* text, int caret, char digit);
// The page's message that tells a refused value once focus has settled.
const UINT kMsgCheckAlarmValue = WM_APP + 40;
