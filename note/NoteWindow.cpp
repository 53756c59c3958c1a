#include <winsock2.h>

#include "note/NoteWindow.h"

#include <memory>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "foundation/win/FrameWindow.h"
#include "foundation/win/RichEditLines.h"
#include "foundation/win/WindowClass.h"
#include "note/NoteBodyLines.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "note/NoteMessages.h"
#include "note/NoteRichEdit.h"
#include "note/NoteStrips.h"
#include "note/NoteWindowHandlers.h"
#include "note/AlarmTiming.h"
#include "note/SnoozeMenus.h"
#include "resources/ids/WindowClassIds.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"

namespace {
LONG g_liveNotes = 0;
int g_closingTogether = 0;
bool g_classesRegistered = false;
HINSTANCE g_instance = nullptr;

CNoteRichEdit* NoteWindowBody(const CNoteController& note)
{
    return static_cast<CNoteRichEdit*>(note.m_bodyRichEdit);
}

// Made at its place and shown: a new child comes below its older siblings,
// so the arrow is raised over the body, which leaves it unpainted.
HWND CreateScrollArrow(HWND window, bool down, LONG bodyRight, LONG bodyBottom)
{
    CResourceString className;
    className.LoadString(g_instance, IDS_CHILD_WINDOW_CLASS);
    const POINT corner = ScrollArrowCorner(down, bodyRight, bodyBottom);
    HWND arrow = CreateWindowExA(0, className.GetText(), "", WS_CHILD | WS_CLIPSIBLINGS, corner.x, corner.y,
                                 kScrollArrowSize, kScrollArrowSize, window, nullptr, g_instance, nullptr);
    if (!arrow)
        throw CGenericException("The note's scroll arrows could not be created");
    SetWindowLongPtrA(arrow, GWLP_USERDATA, down ? 1 : 0);
    SetWindowPos(arrow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return arrow;
}

void OnCreate(HWND window, CNoteController& note)
{
    note.m_window = window;
    if (GetNoteKeeper())
        note.m_application = GetNoteKeeper();
    if (g_liveNotes <= static_cast<LONG>(kMaxNotes) - 3) {
        ++g_liveNotes;
        note.m_counted = true;
    }
    auto body = std::make_unique<CNoteRichEdit>(window, kNoteBodyId);
    note.m_bodyEdit = body->GetHandle();
    note.m_bodyRichEdit = body.release();
    note.ApplyLooksToNewWindow();
    // The text's rectangle leaves room for the margin line before the text
    // comes in: set afterwards, it would lay the whole text out again.
    ApplyNoteMargin(note);
    // The text comes in before the change notices are watched, so that a
    // loaded note does not count as changed.
    const std::string& text = note.RichText();
    CNoteRichEdit::StreamInRtf(note.m_bodyEdit, text.data(), text.size());
    SendMessageA(note.m_bodyEdit, EM_SETMODIFY, FALSE, 0);
    // A masked protected note's placeholder is not the user's to edit.
    if (note.m_masked)
        SendMessageA(note.m_bodyEdit, EM_SETREADONLY, TRUE, 0);
    NoteWindowBody(note)->WatchChanges();
    SetWindowLongPtrA(note.m_bodyEdit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&note));
    note.m_editProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(note.m_bodyEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoteBodyProc)));
    // The body fills the client area already; the WM_SIZE that follows the
    // window's creation lays the controls out, once.
    if (note.m_rolledUp) {
        note.m_rolledUp = false;
        note.RollUp();
    }
    note.m_ownedByWindow = true;
    NoteStrips().WindowCreated(note);
    if (note.m_alarmSet)
        note.UpdateAlarmTooltip();
}

// The note leaves every list it is in, so nothing keeps its address.
void LeaveAllLists(CNoteController* note)
{
    auto leave = [note](CPtrList& list) {
        if (list.Contains(note))
            list.DeleteElem(note);
    };
    if (INoteKeeper* keeper = GetNoteKeeper()) {
        leave(keeper->OwnNotes());
        leave(keeper->OtherNotes());
        keeper->ForgetNote(note);
    }
    leave(DeletedNotesList());
}

void OnNoteWindowDestroy(CNoteController& note)
{
    NoteStrips().WindowDestroyed(note);
    if (note.m_bodyEdit && note.m_editProcedure)
        SetWindowLongPtrA(note.m_bodyEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(note.m_editProcedure));
    note.m_editProcedure = nullptr;
}

void OnFinalDestroy(HWND window, CNoteController* note)
{
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    if (!note)
        return;
    LeaveAllLists(note);
    if (note->m_counted && g_liveNotes > 0)
        --g_liveNotes;
    note->m_counted = false;
    FreeNoteBackground(*note);
    delete NoteWindowBody(*note);
    note->m_bodyRichEdit = nullptr;
    note->m_bodyEdit = note->m_scrollUp = note->m_scrollDown = nullptr;
    note->m_window = nullptr;
    // A window that failed its creation leaves the note to its creator.
    if (note->m_ownedByWindow)
        delete note;
}

LRESULT OnNoteWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CNoteController* note = NoteOfWindow(window);
    if (!note)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    if (g_closingTogether > 0) {
        switch (message) {
        case WM_SIZE:
        case WM_SETFOCUS:
            return 0;
        case WM_NCPAINT:
        case WM_NCACTIVATE:
        case WM_SETTEXT:
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            break;
        }
    }
    switch (message) {
    case WM_SIZE:
        LayOutNoteControls(window, *note);
        return 0;
    case WM_EXITSIZEMOVE:
        note->SetModified();
        return 0;
    case WM_NCPAINT: {
        LRESULT painted = DefWindowProcA(window, message, wParam, lParam);
        PaintNoteCaption(window, *note);
        PaintMarkedFrame(window, *note);
        return painted;
    }
    case WM_NCMOUSEMOVE:
        RelayCaptionMouseToAlarmTip(*note);
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (OnSnoozeMenuItemMessage(message, lParam))
            return TRUE;
        break;
    case WM_NCACTIVATE: {
        LRESULT answer = DefWindowProcA(window, message, wParam, lParam);
        PaintNoteCaption(window, *note);
        return answer;
    }
    case WM_SETTEXT: {
        LRESULT answer = DefWindowProcA(window, message, wParam, lParam);
        PaintNoteCaption(window, *note);
        return answer;
    }
    case WM_ACTIVATE:
        // As a dialog does, a note that comes back to the front gives the
        // focus back to its control that had it when the note was left (a
        // chat note's input line, say), not to its body; a focus given to
        // the note itself still goes to the body.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            note->m_focusOnReturn = focus && IsChild(window, focus) ? focus : nullptr;
            break;
        }
        // Clicking or switching into a note makes it the last note used
        // (the one /append, the Send To shortcut and the "last note" hotkey
        // reach), whichever of its controls takes the focus.
        if (HWND main = GetMainWindow())
            PostMessageA(main, kMsgRememberLastNote, 0, reinterpret_cast<LPARAM>(note));
        if (!HIWORD(wParam) && note->m_focusOnReturn && IsChild(window, note->m_focusOnReturn) &&
            IsWindowVisible(note->m_focusOnReturn)) {
            SetFocus(note->m_focusOnReturn);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        if (note->m_bodyEdit)
            SetFocus(note->m_bodyEdit);
        if (HWND main = GetMainWindow())
            PostMessageA(main, kMsgRememberLastNote, 0, reinterpret_cast<LPARAM>(note));
        return 0;
    case WM_NCLBUTTONDOWN:
        MarkReadByUser(*note);
        break;
    case WM_COMMAND:
        return OnNoteCommand(window, *note, wParam, lParam);
    case WM_NOTIFY:
        // The body's answer when its ruled lines ask how high its text is.
        if (TakeTextHeightNotice(*reinterpret_cast<const NMHDR*>(lParam)))
            return 0;
        break;
    case WM_TIMER:
        if (wParam == kNoteAlarmTimerId)
            note->OnAlarmTick();
        else
            NoteStrips().OnTimer(*note, wParam);
        return 0;
    case WM_CONTEXTMENU: {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ShowNoteMenu(window, *note, point);
        return 0;
    }
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION) {
            // The caption of a note with an alarm changes the alarm, as its tip says.
            if (note->m_alarmSet) {
                SendMessageA(window, WM_COMMAND, kNoteCmdSnoozeMenu, 0);
                return 0;
            }
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ShowNoteMenu(window, *note, point);
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            if (note->m_rolledUp)
                note->Unroll();
            else
                note->RollUp();
            return 0;
        }
        break;
    case WM_CLOSE:
        LeaveAllLists(note);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        OnNoteWindowDestroy(*note);
        return 0;
    case WM_NCDESTROY:
        OnFinalDestroy(window, note);
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        if (OnNotePrivateMessage(window, *note, message, wParam, lParam, result))
            return result;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}

void MakeScrollArrows(HWND window, CNoteController& note, LONG bodyRight, LONG bodyBottom)
{
    if (!note.m_scrollUp)
        note.m_scrollUp = CreateScrollArrow(window, false, bodyRight, bodyBottom);
    if (!note.m_scrollDown)
        note.m_scrollDown = CreateScrollArrow(window, true, bodyRight, bodyBottom);
}

CNotesClosingTogether::CNotesClosingTogether()
{
    ++g_closingTogether;
}

CNotesClosingTogether::~CNotesClosingTogether()
{
    --g_closingTogether;
}

LONG LiveNoteCount()
{
    return g_liveNotes;
}

LONG& BulkArrangementFlag()
{
    static LONG flag = 0;
    return flag;
}

bool& ScreenCaptureActive()
{
    static bool active = false;
    return active;
}

CNoteController* NoteOfWindow(HWND window)
{
    if (!window || GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&NoteWndProc))
        return nullptr;
    return reinterpret_cast<CNoteController*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK NoteWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* creation = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_CREATE) {
        return GuardCreate([&] {
            CNoteController* note = NoteOfWindow(window);
            if (!note)
                throw CGenericException("A note window was created without its note");
            OnCreate(window, *note);
            return 0L;
        });
    }
    return GuardCallback<LRESULT>(0, [&] { return OnNoteWindowMessage(window, message, wParam, lParam); });
}

LRESULT CALLBACK UpDownWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        bool down = GetWindowLongPtrA(window, GWLP_USERDATA) != 0;
        switch (message) {
        case WM_PAINT:
            PaintScrollArrow(window, down);
            return 0;
        case WM_LBUTTONDOWN: {
            HWND note = GetParent(window);
            if (CNoteController* owner = NoteOfWindow(note)) {
                SendMessageA(owner->m_bodyEdit, EM_SCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
                owner->UpdateScrollArrows(true);
            }
            return 0;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    });
}

// The screen-capture window: while it exists the tray drag leaves the mouse alone.
LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_CREATE:
            ScreenCaptureActive() = true;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE)
                DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ScreenCaptureActive() = false;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    });
}

void RegisterNoteWindowClasses(HINSTANCE instance)
{
    g_instance = instance;
    CWindowClass notes(&NoteWndProc, IDS_NOTE_WINDOW_CLASS, instance, CS_DBLCLKS, 0, 0,
                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    notes.RegisterClassEx();
    CWindowClass arrows(&UpDownWndProc, IDS_CHILD_WINDOW_CLASS, instance, CS_HREDRAW | CS_VREDRAW, 0, 0,
                        GetSysColorBrush(COLOR_BTNFACE));
    arrows.RegisterClassEx();
    CWindowClass capture(&CaptureWindowProc, IDS_CAPTURE_WINDOW_CLASS, instance, 0, 0, 0,
                         static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    capture.RegisterClassEx();
    g_classesRegistered = true;
}

bool NoteWindowClassesRegistered()
{
    return g_classesRegistered;
}

HWND CreateNoteWindow(CNoteController* note, DWORD extendedStyle, int x, int y, int width, int height)
{
    CResourceString className;
    className.LoadString(g_instance, IDS_NOTE_WINDOW_CLASS);
    CFrameWindow frame(extendedStyle, className.GetText(), "Note", WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_THICKFRAME,
                       x, y, width, height, nullptr, 0, g_instance, note);
    return frame.Create();
}
