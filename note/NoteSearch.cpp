#include <winsock2.h>

#include "note/NoteSearch.h"

#include <richedit.h>

#include <cstring>
#include <string>

#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "note/NoteMessages.h"
#include "note/bytes/TextSearch.h"
#include "note/ProtectedNotes.h"

namespace {
// The body's plain text with one character for each paragraph end, so that
// an offset in it is a position of the body's selection.
std::string BodyText(HWND edit)
{
    GETTEXTLENGTHEX length{GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    LRESULT bytes = SendMessageA(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (bytes <= 0)
        return std::string();
    std::string text(static_cast<size_t>(bytes) + 2, '\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size());
    get.flags = GT_DEFAULT;
    get.codepage = CP_ACP;
    LRESULT copied = SendMessageA(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 && static_cast<size_t>(copied) < text.size() ? static_cast<size_t>(copied) : 0);
    return text;
}

LONG FindFrom(const std::string& text, const char* wanted, LONG from)
{
    if (from < 0 || static_cast<size_t>(from) > text.size())
        return -1;
    int found = CTextSearch::Find(text.c_str() + from, wanted);
    return found < 0 ? -1 : from + found;
}

// Brings the note that holds the match before the user, also from hiding,
// above the notes the program raised before.
void BringUp(CNoteController& note)
{
    if ((note.m_hidden || note.m_parked) && note.m_application) {
        note.m_parked = false;
        note.m_application->ShowNote(&note, false);
    }
    RaiseNoteOnce(note.m_window, false);
    // Among the topmost notes only HWND_TOPMOST brings one to the top.
    const bool topmost = (GetWindowLongPtrA(note.m_window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(note.m_window, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
}

bool FindInNote(const CNoteController& note, const char* wanted, LONG from, bool forward, TextMatch& match)
{
    if (!note.m_bodyEdit || note.IsLocked() || !wanted || !wanted[0])
        return false;
    const std::string text = BodyText(note.m_bodyEdit);
    const LONG length = static_cast<LONG>(std::strlen(wanted));
    LONG found = -1;
    if (forward) {
        found = FindFrom(text, wanted, from < 0 ? 0 : from);
    } else {
        for (LONG next = FindFrom(text, wanted, 0); next >= 0 && next + length <= from;
             next = FindFrom(text, wanted, next + 1))
            found = next;
    }
    if (found < 0)
        return false;
    match.start = found;
    match.end = found + length;
    return true;
}

void ShowMatch(CNoteController& note, const TextMatch& match)
{
    if (!note.m_window || !note.m_bodyEdit)
        return;
    BringUp(note);
    CHARRANGE range{match.start, match.end};
    SendMessageA(note.m_bodyEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    ShowSelectionUnfocused(note, true);
    SendMessageA(note.m_bodyEdit, EM_SCROLLCARET, 0, 0);
    note.UpdateScrollArrows(true);
}

void ShowSelectionUnfocused(const CNoteController& note, bool show)
{
    if (note.m_bodyEdit)
        SendMessageA(note.m_bodyEdit, EM_SETOPTIONS, show ? ECOOP_OR : ECOOP_AND,
                     show ? ECO_NOHIDESEL : ~static_cast<LPARAM>(ECO_NOHIDESEL));
}

LRESULT TakePartInSearch(CNoteController& note, NoteSearchRequest& request)
{
    if (!note.m_window || (request.foundIn && request.stopAtFirstMatch))
        return 0;
    TextMatch match;
    if (!FindInNote(note, request.text, 0, true, match))
        return 0;
    request.foundIn = note.m_window;
    request.match = match;
    if (request.stopAtFirstMatch)
        ShowMatch(note, match);
    return 1;
}

void PassedBySearch(CNoteController& note, bool openedForSearch)
{
    if (openedForSearch && note.m_application)
        MaskProtectedNotes(*note.m_application, &note);
}
