// Small commands of the application object: Find note, help, the calendar and
// Note Manager commands, a new note with an alarm, the calendar's question
// about alarm days, and the messages that reach them.
#include <winsock2.h>

#include <string>

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarWindow.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "net/ChatNotes.h"
#include "note/bytes/TextSearch.h"
#include "note/NoteAttachmentLine.h"
#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NoteSearch.h"
#include "notemanager/NoteManagerEntry.h"
#include "note/ProtectedNotes.h"
#include "shell/Favourites.h"
#include "shell/Hotkeys.h"
#include "globals/MainWindowMessages.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/TrayDragTracker.h"
#include "shell/WindowController.h"

namespace {
// The help topics of the tray submenus, and of the program as a whole.
const DWORD kHelpArrange = 831;
const DWORD kHelpBackup = 816;
const DWORD kHelpShowNotes = 4;
const DWORD kHelpUndelete = 836;
const DWORD kHelpGeneral = 12;
// How much of a note's text the calendar's filter looks through.
const int kFilterTextBytes = 51200;

// The name of the note's group, empty when it is in none.
std::string ControllerCommandsGroupName(const CNoteController& note)
{
    const int group = note.FindGroupId(-1);
    char name[51] = "";
    if (group >= 0)
        GroupsList().GetNameById(name, sizeof name, group);
    return name;
}

// Whether the filter text is in the note's text, title or group name. A locked
// note shows only its placeholder, so only its title and group are searched.
bool NoteContains(const CNoteController& note, const char* filter)
{
    if (CTextSearch::Find(note.m_title, filter) >= 0 || CTextSearch::Find(ControllerCommandsGroupName(note).c_str(), filter) >= 0)
        return true;
    if (note.IsLocked() || !note.m_bodyEdit)
        return false;
    std::string text(kFilterTextBytes, '\0');
    int length = GetWindowTextA(note.m_bodyEdit, &text[0], kFilterTextBytes);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return CTextSearch::Find(text.c_str(), filter) >= 0;
}

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

// The one calendar window, made when none is open, else shown again. An
// activated calendar comes forward, on top until another window is
// activated; one reopened at start is left where it is among the windows.
// False when it could not be made.
bool ShowCalendar(bool noActivate)
{
    HWND calendar = GetCalendarWindow();
    if (!calendar) {
        calendar = CreateCalendarWindow(GetMainWindow(), !noActivate);
        if (!calendar)
            return false;
    } else {
        ShowWindow(calendar, IsIconic(calendar) ? SW_RESTORE : SW_SHOWNORMAL);
    }
    if (!noActivate) {
        SetForegroundWindow(calendar);
        SendCalendarRaise(calendar);
    }
    return true;
}

void CWindowController::ShowCalendarCommand()
{
    ShowCalendar(false);
}

// Help at the topic of the tray submenu that is open, else the general one
// (the numbers are the tray menu's open-popup numbers).
void CWindowController::OnHelp()
{
    DWORD context = kHelpGeneral;
    switch (m_openPopup) {
    case 3:
    case 4:
    case 5:
        context = kHelpArrange;
        break;
    case 6:
    case 7:
        context = kHelpBackup;
        break;
    case 2:
        context = kHelpShowNotes;
        break;
    case 8:
        context = kHelpUndelete;
        break;
    default:
        break;
    }
    OpenHelpOnTop(m_mainWindow, kHelpContext, context);
}

int CWindowController::HasAlarmNoteOnDate(int day, int month, int year)
{
    if (GetProgramFlags().closing)
        return 0;
    const char* filter = CurrentCalendarOptions().filterText;
    bool found = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (!note->m_alarmSet || note->m_alarm.m_day != day || note->m_alarm.m_month != month ||
            note->m_alarm.m_year != year)
            return true;
        if (!filter[0]) {
            found = true;
            return false;
        }
        // A hidden locked note opens for the search alone, and is locked again.
        const bool opened = note->IsLocked() && note->OpenProtectedNote() == kProtectedNoteOpened;
        found = NoteContains(*note, filter);
        if (opened)
            MaskProtectedNotes(*this, note);
        return !found;
    });
    return found ? 1 : 0;
}

// A participant left a chat: the user's chat note of that chat marks them.
int CWindowController::NotifyParticipantLeft(DWORD chatId, const char* computer, const char* address, DWORD port)
{
    CNoteController* chat = nullptr;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        if (note->m_chatNote && note->m_chatId == chatId)
            chat = note;
        return chat == nullptr;
    });
    if (!chat)
        return 0;
    MarkChatParticipantLeft(*chat, computer, address, port);
    return 1;
}

void CWindowController::UpdateNoteAttachmentLine(CNoteController& note)
{
    UpdateAttachmentLine(note);
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
// pasted into it unless the caller asks for none, and its alarm proposed on
// the day given (null: today).
void CWindowController::NewNoteWithAlarm(bool skipPaste, const CDateTime* proposedDay)
{
    const bool paste = !skipPaste && ClipboardHasNoteContent();
    CNoteController* note = CreateHotkeyNote();
    if (!note || !note->m_window)
        return;
    CNoteController* newest = FirstNote(m_ourNotes);
    if (paste && newest && newest->m_window)
        SendMessageA(newest->m_window, WM_COMMAND, kNoteCmdPaste, 0);
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    note->ShowProperties(1, true, false, proposedDay);
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
    case kCmdHelp:
        OpenHelpOnTop(m_mainWindow, kHelpDisplayContents, 0);
        return true;
    case kCmdShowAssociated:
        ShowAssociatedNotes();
        return true;
    case kCmdNoteManager:
        // A beep when the window could not open (another dialog was in the way).
        if (OpenNoteManager(*this, 0) < 0)
            MessageBeep(0);
        return true;
    default:
        return OnBackupCommand(id);
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
    case kMsgNewAlarmNote: {
        // The calendar's day: the note takes nothing from the clipboard. The
        // day is copied, since the calendar may fill its cells again while
        // the note's settings are open.
        const CDateTime* sent = reinterpret_cast<const CDateTime*>(lParam);
        const CDateTime day = sent ? *sent : CDateTime(0, 0, 0);
        NewNoteWithAlarm(true, sent ? &day : nullptr);
        if (HWND calendar = GetCalendarWindow())
            SetForegroundWindow(calendar);
        return false;
    }
    case kMsgRefreshCalendar:
        if (HWND calendar = GetCalendarWindow())
            SendMessageA(calendar, kMsgRefreshCalendar, wParam, lParam);
        return false;
    case kMsgHasAlarmOnDate:
        if (const CDateTime* date = reinterpret_cast<const CDateTime*>(lParam))
            result = HasAlarmNoteOnDate(date->m_day, date->m_month, date->m_year);
        return true;
    case kMsgOpenNoteManager:
        OpenNoteManager(*this, lParam);
        return false;
    case WM_HELP:
        OnHelp();
        return false;
    case kMsgFavouritesChanged:
        SetupFavouritesFolder();
        return true;
    case kMsgBroadcastSearch:
        if (lParam)
            BroadcastSearch(*reinterpret_cast<NoteSearchRequest*>(lParam), reinterpret_cast<const CNoteController*>(wParam));
        return true;
    case kMsgCreateNoteAtPoint:
        if (const POINT* point = reinterpret_cast<const POINT*>(lParam))
            CreateNoteWithText(false, point->x, point->y, "", 0);
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
