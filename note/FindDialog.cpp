#include <winsock2.h>

#include "note/FindDialog.h"

#include <richedit.h>

#include <climits>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/FindSettings.h"
#include "note/NoteController.h"
#include "note/NoteSearch.h"
#include "note/NoteWindow.h"
#include "resources/ids/FindNoteIds.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"

namespace {
HWND g_box = nullptr;
HWND g_note = nullptr;  // the note window being searched
// After a search that found nothing more, the next one starts again at the
// top (or, backward, at the end) of the note.
bool g_startOver = false;

std::string TypedText(HWND box)
{
    char text[sizeof(NoteSearchRequest::text)] = "";
    GetDlgItemTextA(box, IDC_FIND_TEXT, text, sizeof text);
    return text;
}

// The text goes to the front of the history; a text already there moves up,
// and past nine the oldest is forgotten.
void Remember(const std::string& text)
{
    CFindSettings& settings = FindSettings();
    int dropped = CFindSettings::kHistoryCount - 1;
    for (int i = 0; i < CFindSettings::kHistoryCount; ++i) {
        if (settings.history[i] && lstrcmpiA(settings.history[i], text.c_str()) == 0) {
            dropped = i;
            break;
        }
    }
    CFindSettings::SetText(settings.history[dropped], nullptr);
    for (int i = dropped; i > 0; --i)
        settings.history[i] = settings.history[i - 1];
    settings.history[0] = nullptr;
    CFindSettings::SetText(settings.history[0], text.c_str());
}

// The list shows the history; the typed text stays as it is.
void FillHistory(HWND box, const std::string& typed)
{
    HWND combo = GetDlgItem(box, IDC_FIND_TEXT);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    const CFindSettings& settings = FindSettings();
    for (char* text : settings.history) {
        if (text)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SetWindowTextA(combo, typed.c_str());
}

// Below the note when the screen has room there, else above it; inside the screen.
void PlaceBesideNote(HWND box, HWND note)
{
    RECT noteRect{}, boxRect{};
    GetWindowRect(box, &boxRect);
    const int width = boxRect.right - boxRect.left, height = boxRect.bottom - boxRect.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int x = (screenWidth - width) / 2, y = (screenHeight - height) / 2;
    if (IsWindowVisible(note) && GetWindowRect(note, &noteRect)) {
        x = noteRect.left;
        y = noteRect.bottom + height <= screenHeight ? noteRect.bottom : noteRect.top - height;
    }
    x = x + width > screenWidth ? screenWidth - width : x;
    x = x < 0 ? 0 : x;
    y = y + height > screenHeight ? screenHeight - height : y;
    y = y < 0 ? 0 : y;
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The note searched so far hides its selection again when it loses the focus.
void LeaveNote()
{
    if (const CNoteController* note = NoteOfWindow(g_note))
        ShowSelectionUnfocused(*note, false);
    g_note = nullptr;
}

void Target(HWND box, HWND note)
{
    if (note != g_note)
        LeaveNote();
    g_note = note;
    g_startOver = false;
    SetWindowLongPtrA(box, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(note));
}

// The other notes, asked in turn through the main window; true when one of
// them holds the text, which the box then searches.
bool SearchOtherNotes(HWND box, CNoteController& note, const std::string& text)
{
    HWND main = GetMainWindow();
    if (!main)
        return false;
    NoteSearchRequest request;
    lstrcpynA(request.text, text.c_str(), sizeof request.text);
    SendMessageA(main, kMsgBroadcastSearch, reinterpret_cast<WPARAM>(&note), reinterpret_cast<LPARAM>(&request));
    if (!request.foundIn)
        return false;
    Target(box, request.foundIn);
    return true;
}

void TellNotFound(HWND box, const CNoteController& note, const std::string& text, bool forward, bool otherNotesToo)
{
    TextMatch anywhere;
    std::string message;
    if (note.IsLocked())
        message = otherNotesToo ? "\"" + text + "\" is in none of your other notes; this note is locked and its text "
                                  "was not searched."
                                : std::string("This note is locked: unlock it to search its text.");
    else if (FindInNote(note, text.c_str(), 0, true, anywhere))
        message = "No more \"" + text + "\" in this note" + (otherNotesToo ? " or your other notes" : "") +
                  (forward ? ".\r\nThe next search starts at the top of the note."
                           : ".\r\nThe next search starts at the end of the note.");
    else if (otherNotesToo)
        message = "\"" + text + "\" is in none of your notes.";
    else
        message = "\"" + text + "\" is not in this note.";
    g_startOver = true;
    ShowMessageBox(box, message.c_str(), ProgramTitle, kMbIconInformation);
}

void Find(HWND box, bool forward)
{
    CNoteController* note = NoteOfWindow(g_note);
    if (!note) {
        DestroyWindow(box);
        return;
    }
    const std::string text = TypedText(box);
    if (text.empty()) {
        MessageBeep(0);
        return;
    }
    Remember(text);
    FillHistory(box, text);
    CHARRANGE selection{0, 0};
    if (note->m_bodyEdit)
        SendMessageA(note->m_bodyEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    LONG from = forward ? selection.cpMax : selection.cpMin;
    if (g_startOver)
        from = forward ? 0 : LONG_MAX;
    g_startOver = false;
    TextMatch match;
    if (FindInNote(*note, text.c_str(), from, forward, match)) {
        ShowMatch(*note, match);
        return;
    }
    const bool otherNotesToo = forward && IsDlgButtonChecked(box, IDC_FIND_ALL_NOTES) == BST_CHECKED;
    if (otherNotesToo && SearchOtherNotes(box, *note, text))
        return;
    TellNotFound(box, *note, text, forward, otherNotesToo);
}

INT_PTR FindDialogMessage(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        SendDlgItemMessageA(box, IDC_FIND_TEXT, CB_LIMITTEXT, sizeof(NoteSearchRequest::text) - 1, 0);
        const char* last = FindSettings().history[0];
        FillHistory(box, last ? last : "");
        SendDlgItemMessageA(box, IDC_FIND_TEXT, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Find(box, true);
            return TRUE;
        case IDC_FIND_PREVIOUS:
            Find(box, false);
            return TRUE;
        case IDCANCEL:
            DestroyWindow(box);
            return TRUE;
        case IDC_FIND_TEXT:
            if (HIWORD(wParam) == CBN_EDITCHANGE || HIWORD(wParam) == CBN_SELCHANGE)
                g_startOver = false;
            return FALSE;
        default:
            return FALSE;
        }
    case WM_DESTROY:
        LeaveNote();
        g_box = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK FindBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return FindDialogMessage(box, message, wParam, lParam); });
}
}

void OpenFindBox(HWND noteWindow)
{
    if (!noteWindow)
        return;
    if (!g_box) {
        HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(noteWindow, GWLP_HINSTANCE));
        g_box = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_FIND_NOTE), noteWindow, FindBoxProc, 0);
        if (!g_box)
            throw CGenericException("The Find box could not be opened");
        PlaceBesideNote(g_box, noteWindow);
    }
    Target(g_box, noteWindow);
    ShowWindow(g_box, SW_SHOW);
    SetForegroundWindow(g_box);
    SetFocus(GetDlgItem(g_box, IDC_FIND_TEXT));
}

bool PassToFindBox(MSG& message)
{
    return g_box && IsDialogMessageA(g_box, &message);
}

void CNoteController::ShowFindDialog()
{
    OpenFindBox(m_window);
}
