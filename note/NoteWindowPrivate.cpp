// The private messages a note window answers.
#include <windows.h>

#include "note/NoteController.h"
#include "note/NoteMessages.h"
#include "note/NotePrinting.h"
#include "note/NoteSearch.h"
#include "note/NoteStrips.h"
#include "note/NoteWindowHandlers.h"
#include "globals/MainWindowMessages.h"
#include "store/NoteSaving.h"

namespace {
void Save(CNoteController& note)
{
    note.SyncFromWindow();
    SaveNote(note);
}

// Made topmost once by the program; a note that stays on top already is.
void RaiseOnce(HWND window, CNoteController& note, bool activate)
{
    if (note.m_raised)
        return;
    note.m_raised = true;
    if (!note.m_stayOnTop) {
        UINT flags = SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOACTIVATE);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    }
    SendMessageA(window, WM_NCPAINT, 1, 0);
}
}

void MarkReadByUser(CNoteController& note)
{
    if (!note.m_programActivation)
        return;
    note.m_programActivation = false;
    if (HWND main = GetMainWindow())
        PostMessageA(main, kMsgReceivedNoteRead, 0, 0);
}

bool OnNotePrivateMessage(HWND window, CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result)
{
    result = 0;
    switch (message) {
    case kNoteMsgSave:
        Save(note);
        return true;
    case kNoteMsgReapplySettings:
        note.ApplyLooksToWindow();
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        return true;
    case kNoteMsgAlarmDue:
        result = note.BringNoteToFront() ? 1 : 0;
        return true;
    case kNoteMsgPrint:
        result = PrintNote(note, lParam == 1);
        return true;
    case kNoteMsgRaiseOnce:
        RaiseOnce(window, note, lParam != 0);
        return true;
    case kNoteMsgSearchRequest:
    case kNoteMsgSearchProtected:
        if (lParam)
            result = TakePartInSearch(note, *reinterpret_cast<NoteSearchRequest*>(lParam));
        return true;
    case kNoteMsgSearchProtectedNext:
        PassedBySearch(note, wParam != 0);
        return true;
    default:
        // Sending and chatting (0x807D, 0x808E, 0x80B5, 0x80B9 and the send threads' messages).
        return NoteStrips().OnMessage(note, message, wParam, lParam, result);
    }
}
