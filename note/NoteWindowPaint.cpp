// The note's caption, drawn over the system's in the note's own title colours
// and font, and the small scroll arrows.
#include <windows.h>

#include "foundation/DiagnosticLog.h"
#include "note/NoteController.h"
#include "note/NoteWindowHandlers.h"

RECT NoteCaptionRect(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int frameX = GetSystemMetrics(SM_CXSIZEFRAME);
    const int frameY = GetSystemMetrics(SM_CYSIZEFRAME);
    const LONG_PTR extended = GetWindowLongPtrA(window, GWL_EXSTYLE);
    const int captionHeight = GetSystemMetrics((extended & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    RECT caption{frameX, frameY, (bounds.right - bounds.left) - frameX, frameY + captionHeight - 1};
    return caption;
}

// Painting never shows a box: a failure is logged and the paint goes on.
void PaintNoteCaption(HWND window, const CNoteController& note)
{
    HDC dc = GetWindowDC(window);
    if (!dc) {
        WriteErrorLog("PaintNoteCaption():", "no device context for the note's frame");
        return;
    }
    RECT caption = NoteCaptionRect(window);
    HBRUSH brush = CreateSolidBrush(note.m_titleColor);
    FillRect(dc, &caption, brush);
    DeleteObject(brush);

    HFONT font = nullptr;
    if (note.m_titleFont.lfFaceName[0] || note.m_titleFont.lfHeight)
        font = CreateFontIndirectA(&note.m_titleFont);
    HGDIOBJ previousFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, note.m_titleTextColor);
    RECT text = caption;
    text.left += 4;
    text.right -= 4;
    DrawTextA(dc, note.m_title, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (note.m_showDate) {
        CDateTime created = note.m_created;
        char date[40];
        lstrcpynA(date, created.FormatDateTime(false), sizeof date);
        DrawTextA(dc, date, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    SelectObject(dc, previousFont);
    if (font)
        DeleteObject(font);
    ReleaseDC(window, dc);
}

void PaintScrollArrow(HWND arrow, bool down)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(arrow, &paint);
    RECT client{};
    GetClientRect(arrow, &client);
    DrawFrameControl(dc, &client, DFC_SCROLL, (down ? DFCS_SCROLLDOWN : DFCS_SCROLLUP) | DFCS_FLAT);
    EndPaint(arrow, &paint);
}
