// The style buttons of the calendar settings dialog: their size, tip and
// menu. The thumbnail is CalendarStyleButtonPaint.cpp's.
#include "calendar/CalendarStyleButton.h"

#include <commctrl.h>

#include <cstdio>

#include "calendar/controls/DrawnControl.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/Tooltips.h"
#include "resources/ids/CalendarSettingsIds.h"
#include "globals/CalendarStyle.h"

namespace {
const int kButtonSize = 24;

const char* StyleButtonUndoText(CDlgCalendarStyleButton::UndoState state)
{
    switch (state) {
    case CDlgCalendarStyleButton::kUndoReset:
        return "Undo 'Reset style to standard'";
    case CDlgCalendarStyleButton::kUndoSave:
        return "Undo 'Save as new style'";
    default:
        return "Undo 'Save as new style' or 'Reset to standard'";
    }
}

bool IsStandardStyle(const CCalendarStyle& style, int index)
{
    return index >= 0 && index < 9 && IsSameCalendarStyle(style, StandardCalendarStyles()[index]);
}
}

void CDlgCalendarStyleButton::Attach(HWND dialog, int controlId)
{
    Detach();
    m_dialog = dialog;
    m_controlId = controlId;
    m_button = GetDlgItem(dialog, controlId);
    if (!m_button)
        return;
    SetWindowPos(m_button, nullptr, 0, 0, kButtonSize, kButtonSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_previous = SubclassDrawnControl(m_button, this, &DrawnControlProc<CDlgCalendarStyleButton>);
    m_tooltip = CreateTooltipControl(dialog);
    if (m_tooltip)
        SendMessageA(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 30000);
}

void CDlgCalendarStyleButton::Detach()
{
    UnsubclassDrawnControl(m_button, m_previous);
    m_previous = nullptr;
    if (m_tooltip)
        DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    m_tipAdded = false;
    m_button = nullptr;
}

void CDlgCalendarStyleButton::Show(const CCalendarStyle& style, int index)
{
    m_shown = style;
    m_index = index;
    if (!m_button)
        return;
    CClientDC reference(m_button);
    RenderStyleBody(m_body, reference.GetHandle(), m_shown);
    InvalidateRect(m_button, nullptr, FALSE);
}

void CDlgCalendarStyleButton::UpdateTooltip()
{
    char text[100];
    std::snprintf(text, sizeof text, "Style %d\r\nRight click to replace", m_index + 1);
    if (!m_tooltip || !m_button)
        return;
    if (!m_tipAdded)
        m_tipAdded = AddTooltipSubclass(m_tooltip, text, m_dialog, m_button) != 0;
    else
        UpdateTooltipSubclassText(m_tooltip, text, m_dialog, m_button);
}

void CDlgCalendarStyleButton::RelayTooltip() const
{
    if (m_tooltip)
        RelayMouseToTooltip(m_tooltip);
}

void CDlgCalendarStyleButton::KeepForUndo(UndoState state)
{
    m_undo = m_shown;
    m_undoState = state;
}

void CDlgCalendarStyleButton::TakeBackUndo()
{
    m_undoState = kNothingToUndo;
    Show(m_undo, m_index);
}

void CDlgCalendarStyleButton::ShowMenu(POINT clientPoint)
{
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CALENDAR_STYLE_BUTTON));
    HMENU menu = loaded ? GetSubMenu(loaded, 0) : nullptr;
    if (!menu) {
        ShowErrorMessage(m_button, "CDlgCalendarStyleButton::LoadMenu failed", "Quillnet+");
        if (loaded)
            DestroyMenu(loaded);
        return;
    }
    ModifyMenuA(menu, ID_CALSTYLE_UNDO, MF_BYCOMMAND | MF_STRING, ID_CALSTYLE_UNDO, StyleButtonUndoText(m_undoState));
    SetFocus(m_button);
    EnableMenuItem(menu, ID_CALSTYLE_UNDO, MF_BYCOMMAND | (m_undoState == kNothingToUndo ? MF_GRAYED : MF_ENABLED));
    const bool resetDone = m_undoState == kUndoReset || IsStandardStyle(m_shown, m_index);
    EnableMenuItem(menu, ID_CALSTYLE_RESET, MF_BYCOMMAND | (resetDone ? MF_GRAYED : MF_ENABLED));
    m_menu.AttachPlainItems(GetModuleHandleA(nullptr), menu);
    ClientToScreen(m_button, &clientPoint);
    // The chosen command comes back to the button as WM_COMMAND.
    m_menu.TrackPopup(TPM_RETURNCMD | TPM_RIGHTBUTTON, clientPoint.x, clientPoint.y, m_button);
    m_menu.Detach();
    m_menu.FreeItems();
    DestroyMenu(loaded);
}

LRESULT CDlgCalendarStyleButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_RBUTTONUP:
        if (m_index >= 0 && m_index < 9)
            ShowMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_MOUSEMOVE:
        if (!m_leaveTracking) {
            m_leaveTracking = true;
            TrackMouseLeave(m_button);
        }
        break;
    case WM_MOUSELEAVE:
        m_leaveTracking = false;
        RelayTooltip();
        break;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            break;
        m_menu.MeasureItem(measure);
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU)
            break;
        m_menu.DrawItem(draw);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_CALSTYLE_SAVE:
        case ID_CALSTYLE_RESET:
        case ID_CALSTYLE_UNDO:
            SendMessageA(m_dialog, WM_COMMAND, LOWORD(wParam), m_index);
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return m_previous ? CallWindowProcA(m_previous, m_button, message, wParam, lParam) : 0;
}
