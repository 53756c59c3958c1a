// The note's commands: its menu, the text effects on Ctrl+B, Ctrl+I and
// Ctrl+U, paste, hide, delete, and the entry points of its dialogs.
#include <windows.h>

#include <richedit.h>

#include "foundation/CallbackGuard.h"
#include "note/NoteAttachmentLine.h"
#include "note/NoteController.h"
#include "note/NoteFavouritesMenu.h"
#include "note/NoteMessages.h"
#include "note/NoteRichEdit.h"
#include "note/NoteWindowHandlers.h"
#include "note/SnoozeMenus.h"

namespace {
CNoteRichEdit* CommandBodyOf(CNoteController& note)
{
    return static_cast<CNoteRichEdit*>(note.m_bodyRichEdit);
}

void Paste(CNoteController& note)
{
    if (!note.m_bodyEdit)
        return;
    SendMessageA(note.m_bodyEdit, WM_PASTE, 0, 0);
    note.SetModified();
}

void ToggleEffect(CNoteController& note, DWORD mask, DWORD effect)
{
    if (CNoteRichEdit* body = CommandBodyOf(note)) {
        body->ToggleEffect(mask, effect);
        note.SetModified();
    }
}

struct MenuEntry {
    UINT id;
    const char* text;
};
const MenuEntry kNoteMenu[] = {
    {kNoteCmdHide, "&Hide note"},
    {kNoteCmdDelete, "&Delete note"},
    {0, nullptr},
    {kNoteCmdStayOnTop, "Stay on &top"},
    {kNoteCmdRollUp, "&Roll up"},
    {kNoteCmdToggleLock, "&Lock with password"},
    {0, nullptr},
    {kNoteCmdPaste, "&Paste"},
    {kNoteCmdBold, "&Bold\tCtrl+B"},
    {kNoteCmdItalic, "&Italic\tCtrl+I"},
    {kNoteCmdUnderline, "&Underline\tCtrl+U"},
    {0, nullptr},
    {kNoteCmdProperties, "Note &settings..."},
    {kNoteCmdEditAlarm, "Edit &alarm settings..."},
    {kNoteCmdFind, "&Find...."},
    {kNoteCmdSendTo, "Send &to..."},
    {kNoteCmdAssociate, "Associate note &with..."},
    {kNoteCmdSave, "Sa&ve"},
};
const char kFavouritesMenuText[] = "Quillnet+ Favourites";

// The favourites menu alone, at the pointer.
void ShowFavouritesMenu(HWND window)
{
    CNoteFavouritesMenu favourites;
    if (UINT chosen = favourites.TrackAtPointer(window))
        OnNoteFavouritesCommand(window, chosen);
}
}

void ShowNoteMenu(HWND window, CNoteController& note, POINT point)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    for (const MenuEntry& entry : kNoteMenu) {
        if (!entry.text) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if ((entry.id == kNoteCmdStayOnTop && note.m_stayOnTop) || (entry.id == kNoteCmdRollUp && note.m_rolledUp) ||
            (entry.id == kNoteCmdToggleLock && note.m_protected))
            flags |= MF_CHECKED;
        AppendMenuA(menu, flags, entry.id, entry.text);
    }
    CNoteFavouritesMenu favourites;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(favourites.Release()), kFavouritesMenuText);
    if (point.x == -1 && point.y == -1) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        point = {bounds.left + 10, bounds.top + 10};
    }
    SetForegroundWindow(window);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr));
    DestroyMenu(menu);
    PostMessageA(window, WM_NULL, 0, 0);
    if (chosen)
        SendMessageA(window, WM_COMMAND, chosen, 0);
}

LRESULT OnNoteCommand(HWND window, CNoteController& note, WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) == note.m_bodyEdit && note.m_bodyEdit) {
        if (HIWORD(wParam) != EN_CHANGE)
            return 0;
        note.SetModified();
        // A restored note loses its green frame once the user edits it.
        if (note.m_restoredMark) {
            note.m_restoredMark = false;
            SetWindowPos(window, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    }
    if (OnNoteFavouritesCommand(window, LOWORD(wParam)))
        return 0;
    switch (LOWORD(wParam)) {
    case kNoteCmdFavourites:
        ShowFavouritesMenu(window);
        break;
    case kNoteCmdHide:
        note.HideNote();
        break;
    case kNoteCmdDelete:
        note.DeleteNote();
        break;
    case kNoteCmdStayOnTop:
        note.ToggleStayOnTop();
        break;
    case kNoteCmdRollUp:
        if (note.m_rolledUp)
            note.Unroll();
        else
            note.RollUp();
        break;
    case kNoteCmdPaste:
        Paste(note);
        break;
    case kNoteCmdBold:
        ToggleEffect(note, CFM_BOLD, CFE_BOLD);
        break;
    case kNoteCmdItalic:
        ToggleEffect(note, CFM_ITALIC, CFE_ITALIC);
        break;
    case kNoteCmdUnderline:
        ToggleEffect(note, CFM_UNDERLINE, CFE_UNDERLINE);
        break;
    case kNoteCmdProperties:
        note.ShowProperties(0, false, false, nullptr);
        break;
    case kNoteCmdFind:
        note.ShowFindDialog();
        break;
    case kNoteCmdSendTo:
        note.OnSendTo(true);
        break;
    case kNoteCmdSave:
        SaveNoteWindow(window);
        break;
    case kNoteCmdAssociate:
        note.AssociateWith(0, 1);
        break;
    case kNoteCmdToggleLock:
        note.ToggleLock();
        break;
    default:
        OnNoteAlarmCommand(window, note, LOWORD(wParam));
        break;
    }
    return 0;
}

namespace {
// The body's keys: Ctrl+B, Ctrl+I and Ctrl+U switch the effect of the
// selection; their control characters never reach the text.
LRESULT OnBodyMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* note = reinterpret_cast<CNoteController*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    WNDPROC previous = note ? note->m_editProcedure : nullptr;
    if (!previous)
        return DefWindowProcA(edit, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
        MarkReadByUser(*note);
    if (message == kEditMsgRewriteAttachmentLine) {
        RewriteAttachmentLine(*note);
        return 0;
    }
    LRESULT painted = 0;
    if (OnBodyBackgroundMessage(edit, *note, message, wParam, lParam, painted))
        return painted;
    // The keys' state is asked only for the keys handled here: under Wine each
    // question is a round trip to the server, and the body gets many messages
    // (every exit save asks each note's body whether its text changed).
    const bool keyOrCharacter = message == WM_KEYDOWN || message == WM_CHAR;
    const bool control = keyOrCharacter && (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (message == WM_KEYDOWN && control) {
        UINT command = 0;
        if (wParam == 'B')
            command = kNoteCmdBold;
        else if (wParam == 'I')
            command = kNoteCmdItalic;
        else if (wParam == 'U')
            command = kNoteCmdUnderline;
        if (command) {
            SendMessageA(note->m_window, WM_COMMAND, command, 0);
            return 0;
        }
    }
    if (message == WM_CHAR && control && (wParam == 2 || wParam == 9 || wParam == 21))
        return 0;
    // Alt+1 .. Alt+9: the user's style of that number.
    if ((message == WM_SYSKEYDOWN || message == WM_SYSCHAR) && wParam >= '1' && wParam <= '9' &&
        (GetKeyState(VK_SHIFT) & 0x8000) == 0) {
        if (message == WM_SYSKEYDOWN)
            note->ApplyStyle(static_cast<int>(wParam - '1'), true);
        return 0;
    }
    return CallWindowProcA(previous, edit, message, wParam, lParam);
}
}

LRESULT CALLBACK NoteBodyProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&] { return OnBodyMessage(edit, message, wParam, lParam); });
}
