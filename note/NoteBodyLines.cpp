#include "note/NoteBodyLines.h"

#include <richedit.h>

#include "foundation/win/FontConversion.h"
#include "foundation/win/FontSizeAndPixels.h"
#include "foundation/win/RuledLines.h"
#include "note/NoteController.h"
#include "note/NoteSheetRecords.h"

namespace {
bool HasMarginLine(const CNoteController& note)
{
    return NoteLeftMarginKind(note) != 0 && !note.m_chatNote;
}

RECT TextRectangle(HWND edit)
{
    RECT format{};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}
}

bool HasNoteLines(const CNoteController& note)
{
    return HasMarginLine(note) || NoteHorizontalLines(note);
}

// The rich edit's formatting rectangle moves the text: Wine's rich edit
// leaves EM_SETMARGINS unimplemented (a stub that changes nothing).
void ApplyNoteMargin(CNoteController& note)
{
    HWND edit = note.m_bodyEdit;
    if (!edit)
        return;
    const bool margin = HasMarginLine(note);
    if (margin || note.m_textMarginSet) {
        // The body's own rectangle first, so that only its left edge changes.
        SendMessageA(edit, EM_SETRECTNP, 0, 0);
        if (margin) {
            RECT format = TextRectangle(edit);
            format.left = kMarginTextLeft;
            SendMessageA(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
        }
        note.m_textMarginSet = margin;
        // The rich edit moves its caret with the text only when the
        // selection is set again.
        if (GetFocus() == edit) {
            CHARRANGE selection{};
            SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
            SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        }
    }
    InvalidateRect(edit, nullptr, TRUE);
}

void KeepNoteMargin(CNoteController& note)
{
    if (!note.m_bodyEdit)
        return;
    // A note that became a chat note, or stopped being one, lays its body
    // out again.
    const bool margin = HasMarginLine(note);
    if (margin != note.m_textMarginSet || (margin && TextRectangle(note.m_bodyEdit).left != kMarginTextLeft))
        ApplyNoteMargin(note);
}

void MeasureNoteLines(CNoteController& note)
{
    HWND edit = note.m_bodyEdit;
    if (!edit)
        return;
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    LOGFONTA font{};
    CharFormatToLogFont(&font, format);
    HDC dc = GetDC(edit);
    note.m_ruledLineSpacing = dc ? FontTextHeight(dc, font) : 0;
    if (dc)
        ReleaseDC(edit, dc);
}

POINT NoteTextScroll(const CNoteController& note)
{
    POINT scroll{};
    if (note.m_bodyEdit)
        SendMessageA(note.m_bodyEdit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    return scroll;
}

void DrawNoteLines(const CNoteController& note, HDC dc, const RECT& client)
{
    if (!note.m_bodyEdit)
        return;
    if (HasMarginLine(note))
        DrawMarginLine(dc, NoteLeftMarginKind(note), client.top, client.bottom, note.m_textColor);
    if (NoteHorizontalLines(note)) {
        const RECT text = TextRectangle(note.m_bodyEdit);
        const POINT scroll = NoteTextScroll(note);
        DrawRuledLines(dc, text.top - scroll.y, note.m_ruledLineSpacing, text.left, client.right, client.top,
                       client.bottom, note.m_textColor);
    }
}
