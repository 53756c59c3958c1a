#include "note/NoteBodyLines.h"

#include <richedit.h>

#include "foundation/win/RichEditLines.h"
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
// leaves EM_SETMARGINS unimplemented (a stub that changes nothing). Each
// setting lays the whole text out again, so it is set only when it changes.
void ApplyNoteMargin(CNoteController& note)
{
    HWND edit = note.m_bodyEdit;
    if (!edit)
        return;
    const bool margin = HasMarginLine(note);
    bool moved = false;
    if (margin) {
        // A rectangle without the margin is the body's own: only its left
        // edge changes.
        RECT format = TextRectangle(edit);
        if (format.left != kMarginTextLeft) {
            format.left = kMarginTextLeft;
            SendMessageA(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
            moved = true;
        }
    } else if (note.m_textMarginSet) {
        SendMessageA(edit, EM_SETRECTNP, 0, 0);
        moved = true;
    }
    note.m_textMarginSet = margin;
    // The rich edit moves its caret with the text only when the selection
    // is set again.
    if (moved && GetFocus() == edit) {
        CHARRANGE selection{};
        SendMessageA(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
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

std::vector<int> NoteRuledRows(CNoteController& note)
{
    HWND edit = note.m_bodyEdit;
    if (!edit || !NoteHorizontalLines(note))
        return std::vector<int>();
    return RuledRowsForPaint(edit, 0, note.m_paintedTextEnd);
}

void DrawNoteLines(const CNoteController& note, HDC dc, const RECT& client, const std::vector<int>& ruledRows)
{
    HWND edit = note.m_bodyEdit;
    if (!edit)
        return;
    if (HasMarginLine(note))
        DrawMarginLine(dc, NoteLeftMarginKind(note), client.top, client.bottom, note.m_textColor);
    // Across the text's rectangle, which the body moves on the screen as the
    // text scrolls: outside it the margin line and the colour stay.
    const RECT text = TextRectangle(edit);
    DrawRuledRows(dc, ruledRows, text.left, text.right, note.m_textColor);
}
