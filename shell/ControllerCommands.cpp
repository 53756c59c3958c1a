// Small commands of the application object: Find note, the calendar and Note
// Manager commands, a new note with an alarm, and the messages that reach them.
#include <winsock2.h>

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "shell/Favourites.h"
#include "shell/Hotkeys.h"
#include "shell/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "shell/ProgramGlobals.h"
#include "shell/TrayDragTracker.h"
#include "shell/WindowController.h"

namespace {
HWND g_calendarWindow = nullptr;

// The first own note in that state (shown, hidden or parked); null when none.
CNoteController* FirstNoteIn(CPtrList& notes, bool hidden, bool parked)
{
    CNoteController* found = nullptr;
    ForEachNote(notes, [&](CNoteController* note) {
        if (note->m_hidden == hidden && note->m_parked == parked)
            found = note;
        return found == nullptr;
    });
    return found;
}
}

bool ClipboardHasNoteContent()
{
    static const UINT richText = RegisterClipboardFormatA("Rich Text Format");
    return IsClipboardFormatAvailable(CF_TEXT) || (richText && IsClipboardFormatAvailable(richText)) ||
           IsClipboardFormatAvailable(CF_BITMAP);
}

// The calendar's window, made by the calendar when it opens; null while none is open.
HWND GetCalendarWindow()
{
    if (g_calendarWindow && !IsWindow(g_calendarWindow))
        g_calendarWindow = nullptr;
    return g_calendarWindow;
}

void SetCalendarWindow(HWND window)
{
    g_calendarWindow = window;
}

// Brings the open calendar forward. Opening a new calendar window is the
// calendar's own work; until it registers its window nothing opens.
bool ShowCalendar(bool noActivate)
{
    HWND calendar = GetCalendarWindow();
    if (!calendar)
        return false;
    ShowWindow(calendar, IsIconic(calendar) ? SW_RESTORE : SW_SHOWNORMAL);
    if (!noActivate) {
        SetForegroundWindow(calendar);
        SendMessageA(calendar, kNoteMsgRaiseOnce, 0, 0);
    }
    return true;
}

void CWindowController::ShowCalendarCommand()
{
    ShowCalendar(false);
}

void CWindowController::ShowNoteManagerCommand()
{
    SetFocus(m_mainWindow);
    SetForegroundWindow(m_mainWindow);
    SendMessageA(m_mainWindow, WM_COMMAND, kCmdNoteManager, 0);
}

// The find box opens on a shown note; else on a hidden one, else on a parked
// one, with the bulk flag held so the note is not brought up for it.
void CWindowController::FindNote()
{
    if (CNoteController* shown = FirstNoteIn(m_ourNotes, false, false)) {
        shown->ShowFindDialog();
        return;
    }
    CNoteController* away = FirstNoteIn(m_ourNotes, true, false);
    if (!away)
        away = FirstNoteIn(m_ourNotes, false, true);
    if (!away)
        away = FirstNoteIn(m_ourNotes, true, true);
    if (!away)
        return;
    ProgramFlags& flags = GetProgramFlags();
    flags.bulkOperation = true;
    away->ShowFindDialog();
    flags.bulkOperation = false;
}

// A new note whose alarm page opens at once; with the clipboard's content
// pasted into it unless the caller asks for none.
void CWindowController::NewNoteWithAlarm(bool skipPaste)
{
    const bool paste = !skipPaste && ClipboardHasNoteContent();
    CNoteController* note = CreateHotkeyNote();
    if (!note || !note->m_window)
        return;
    CNoteController* newest = FirstNote(m_ourNotes);
    if (paste && newest && newest->m_window)
        SendMessageA(newest->m_window, WM_COMMAND, kNoteCmdPaste, 0);
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SendMessageA(note->m_window, WM_COMMAND, kNoteCmdEditAlarm, 0);
    SetCursor(previous);
}

bool CWindowController::OnControllerCommand(UINT id)
{
    switch (id) {
    case kCmdFindNote:
        FindNote();
        return true;
    case kCmdCalendar:
        ShowCalendarCommand();
        return true;
    default:
        return false;
    }
}

bool CWindowController::OnControllerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (message) {
    case kMsgShowCalendar:
        ShowCalendarCommand();
        return true;
    case kMsgShowNoteManager:
        ShowNoteManagerCommand();
        return true;
    case kMsgNewAlarmNote:
        NewNoteWithAlarm(wParam != 0);
        if (HWND calendar = GetCalendarWindow())
            SetForegroundWindow(calendar);
        return true;
    case kMsgRefreshCalendar:
        if (HWND calendar = GetCalendarWindow())
            SendMessageA(calendar, kMsgRefreshCalendar, wParam, lParam);
        return true;
    case kMsgFavouritesChanged:
        SetupFavouritesFolder();
        return true;
    case kMsgCreateNoteAtPoint:
        if (const POINT* point = reinterpret_cast<const POINT*>(lParam))
            CreateNoteWithText(true, point->x, point->y, "", 0);
        return true;
    case WM_MOUSEMOVE:
        OnTrayDragMouseMove(wParam, MAKEPOINTS(lParam));
        return true;
    case WM_LBUTTONUP:
        OnTrayDragButtonUp(wParam, MAKEPOINTS(lParam));
        return true;
    default:
        return false;
    }
}
