// The keys of a day cell, and the focus an empty cell hands on.
#include "calendar/controls/DayButton.h"

#include "calendar/controls/CalendarMessages.h"
#include "foundation/win/LinkStatic.h"
#include "resources/ids/CalendarIds.h"

namespace {
// Steps back and forward pass a key on to the neighbouring cell with this
// marker, so that the first day reached takes the focus itself.
const LPARAM kHandedOn = -1;
}

void CDayButton::FocusControl(HWND control)
{
    if (control)
        PostMessageA(m_parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void CDayButton::FocusNeighbour(int offset)
{
    FocusControl(Neighbour(offset));
}

void CDayButton::OnSetFocus()
{
    if (!IsEmpty())
        return;
    const int index = IndexInGrid();
    if (index < 7)
        FocusNeighbour(1);
    else if (index >= 28)
        FocusNeighbour(-1);
}

// Day 1 and the last day are those of the grid's own month: a neighbouring
// month's days move like any other.
void CDayButton::StepBack(LPARAM marker)
{
    if (!m_otherMonth && m_date.m_day == 1) {
        FocusControl(GetDlgItem(m_parent, IDC_CAL_NEXT_YEAR));
    } else if (IsEmpty()) {
        if (HWND left = Neighbour(-1))
            SendMessageA(left, WM_KEYDOWN, VK_LEFT, kHandedOn);
        else
            PostNextDialogControl(m_parent, true);
    } else if (marker == kHandedOn) {
        FocusControl(m_window);
    } else {
        PostNextDialogControl(m_parent, true);
    }
}

void CDayButton::StepForward(LPARAM marker)
{
    if (!m_otherMonth && !IsEmpty() && m_date.m_day == m_date.GetDaysInMonth()) {
        FocusControl(GetDlgItem(m_parent, IDC_CAL_PREV_YEAR));
    } else if (IsEmpty()) {
        if (HWND right = Neighbour(1))
            SendMessageA(right, WM_KEYDOWN, VK_RIGHT, kHandedOn);
        else
            PostNextDialogControl(m_parent, false);
    } else if (marker == kHandedOn) {
        FocusControl(m_window);
    } else {
        PostNextDialogControl(m_parent, false);
    }
}

bool CDayButton::OnKeyDown(WPARAM key, LPARAM lParam)
{
    const int row = IndexInGrid() / 7;
    const int day = m_date.m_day;
    switch (key) {
    case VK_LEFT:
        if (m_showOtherDays)
            PostNextDialogControl(m_parent, true);
        else
            StepBack(lParam);
        return true;
    case VK_RIGHT:
        if (m_showOtherDays)
            PostNextDialogControl(m_parent, false);
        else
            StepForward(lParam);
        return true;
    case VK_UP:
        if (m_showOtherDays ? row > 0 : day >= 8)
            FocusNeighbour(-7);
        else if (!m_showOtherDays && day == 1)
            StepBack(0);
        else
            PostNextDialogControl(m_parent, true);
        return true;
    case VK_DOWN:
        if (m_showOtherDays ? row < 5 : !IsEmpty() && day + 7 <= m_date.GetDaysInMonth())
            FocusNeighbour(7);
        else if (m_showOtherDays)
            PostNextDialogControl(m_parent, false);
        else
            StepForward(0);
        return true;
    default:
        return false;
    }
}

bool CDayButton::OnChar(WPARAM key)
{
    if (key < '\t' || key > VK_ESCAPE)
        return false;
    if (key == VK_ESCAPE) {
        PostDialogCancel(m_parent);
        return false;
    }
    if (m_preview)
        return false;
    switch (key) {
    case '\t':
        if (GetKeyState(VK_SHIFT) >= 0)
            StepForward(0);
        else if (!m_otherMonth && m_date.m_day == 1)
            StepBack(0);
        else
            PostNextDialogControl(m_parent, true);
        return true;
    case '\r':
        if (m_alarmDay) {
            PostOpenNoteManagerOnDate(m_date);
            return true;
        }
        MessageBeep(0);
        return false;
    case '\n':
        if (GetKeyState(VK_CONTROL) >= 0)
            return false;
        // An empty cell has no date to put an alarm on.
        if (!IsEmpty())
            SendNewAlarmNote(m_date);
        return true;
    default:
        return false;
    }
}
