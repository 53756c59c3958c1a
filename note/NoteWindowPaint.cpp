// The note's caption, drawn over the system's in the note's own title colours
// and font; the body's background picture (a texture or a gradient) and its
// margin and ruled lines behind its text; and the small scroll arrows.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/win/BackgroundPainting.h"
#include "foundation/win/GdiCaches.h"
#include "foundation/win/LoadedBitmap.h"
#include "note/NoteBodyLines.h"
#include "note/NoteController.h"
#include "note/NoteTitleFonts.h"
#include "note/NoteWindowHandlers.h"
#include "store/StyleStorage.h"

namespace {
const int kNoteWindowPaintTextureKind = 4;
// Blank pixels between a cut title and the creation date in the caption.
const int kTitleDateGap = 8;
// The side of the picture a background is painted into when only the colour
// of a point is asked for.
const int kSamplePictureSide = 16;

// The full path of the note's texture; empty when it has none, or when the
// picture is no longer in the TEXTURES folder (the note then shows its colour,
// which the log tells when asked to).
std::string TextureFileOf(const CNoteController& note, bool logMissing)
{
    if (note.m_backgroundKind != kNoteWindowPaintTextureKind || note.m_textureId == 0)
        return std::string();
    char name[MAX_PATH] = "";
    if (!FindTextureByNameHash(name, sizeof name, static_cast<unsigned short>(note.m_textureId))) {
        if (logMissing)
            WriteErrorLog("PrepareNoteBackground():",
                          "the note's texture is not in the TEXTURES folder; its colour is shown");
        return std::string();
    }
    return DataFilePath(DataName::kTexturesFolder) + "\\" + name;
}

// The prepared background as a bitmap of its own, so that a note keeps no
// device context between paints.
HBITMAP CopyOfPicture(CMemoryDC& memory)
{
    const int width = memory.GetWidth(), height = memory.GetHeight();
    if (!memory.GetHandle() || width <= 0 || height <= 0)
        return nullptr;
    HBITMAP copy = CreateCompatibleBitmap(memory.GetHandle(), width, height);
    if (!copy)
        return nullptr;
    HDC target = CreateCompatibleDC(memory.GetHandle());
    HGDIOBJ previous = SelectObject(target, copy);
    BitBlt(target, 0, 0, width, height, memory.GetHandle(), 0, 0, SRCCOPY);
    SelectObject(target, previous);
    DeleteDC(target);
    return copy;
}

// The note's texture picture from the TEXTURES folder; none for a note
// without a texture, or when the picture is no longer there.
void LoadNoteTexture(const CNoteController& note, CLoadedBitmap& picture, bool logMissing)
{
    const std::string texture = TextureFileOf(note, logMissing);
    if (texture.empty())
        return;
    // A note painting its background must not stop on the loader's boxes.
    CBoxesToLog quiet;
    picture.LoadImageFromFile(GetModuleHandleA(nullptr), texture.c_str());
}

bool HasGradient(const CNoteController& note)
{
    return note.m_backgroundKind >= 1 && note.m_backgroundKind <= 3 && GetGradientFillFunction();
}

COLORREF PixelOfPicture(HBITMAP picture, int x, int y)
{
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, picture);
    const COLORREF pixel = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return pixel;
}

void CopyBackground(HBITMAP picture, HDC target, const RECT& area)
{
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, source, area.left, area.top,
           SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

// A plain note without lines leaves its body to paint its own colour.
bool PaintsOwnBackground(const CNoteController& note)
{
    return note.m_backgroundPicture || HasNoteLines(note);
}

// What shows under the text now: the picture or the colour, then the lines.
void PaintBodyBackground(const CNoteController& note, HDC target, const RECT& client,
                         const std::vector<int>& ruledRows)
{
    if (note.m_backgroundPicture)
        CopyBackground(note.m_backgroundPicture, target, client);
    else
        FillRect(target, &client, BrushCache().GetBrush(note.m_bodyColor).brush);
    DrawNoteLines(note, target, client, ruledRows);
}

// False when no picture could be made to paint in: the body then paints
// itself as it would without a background of its own.
bool PaintBodyOverBackground(HWND edit, CNoteController& note)
{
    // After a scroll a picture stays in place; the ruled lines go with the
    // text, over the body's colour as over a picture.
    const std::vector<int> ruledRows = NoteRuledRows(note);
    const bool painted = PaintRichEditOverBackground(
        edit, note.m_editProcedure, note.m_bodyColor, note.m_bodyFocused,
        note.m_backgroundPicture ? &note.m_paintedScroll : nullptr,
        [&](HDC under, const RECT& client) { PaintBodyBackground(note, under, client, ruledRows); });
    if (!painted)
        WriteErrorLog("PaintBodyOverBackground():", "no picture to paint the note's background in");
    return painted;
}

}

void CNoteController::SetBackground(int kind, DWORD textureId, bool stretch)
{
    m_backgroundKind = kind;
    m_textureId = textureId;
    m_textureStretch = stretch;
    m_packed.digitC = kind;
    m_packed.combined = textureId;
    // Other values of the flag, kept by older versions, stay as they were
    // unless the stretch changes.
    if (stretch != (m_packed.flagE == 1))
        m_packed.flagE = stretch ? 1 : 0;
}

void FreeNoteBackground(CNoteController& note)
{
    if (note.m_backgroundPicture)
        DeleteObject(note.m_backgroundPicture);
    note.m_backgroundPicture = nullptr;
}

void PrepareNoteBackground(CNoteController& note)
{
    const bool hadPicture = note.m_backgroundPicture != nullptr;
    FreeNoteBackground(note);
    if (!note.m_bodyEdit)
        return;
    const bool gradient = HasGradient(note);
    CLoadedBitmap picture;
    LoadNoteTexture(note, picture, true);
    if (picture.GetBitmap() || gradient) {
        CMemoryDC memory;
        PaintBackgroundPicture(note.m_bodyEdit, memory, gradient ? note.m_backgroundKind : 0, picture.GetBitmap(),
                               picture.GetWidth(), picture.GetHeight(), note.m_textureStretch,
                               BrushCache().GetBrush(note.m_bodyColor));
        note.m_backgroundPicture = CopyOfPicture(memory);
    }
    if (hadPicture || note.m_backgroundPicture)
        InvalidateRect(note.m_bodyEdit, nullptr, TRUE);
}

COLORREF CNoteController::BackgroundColourAt(int x, int y) const
{
    if (m_backgroundPicture) {
        const COLORREF prepared = PixelOfPicture(m_backgroundPicture, x, y);
        if (prepared != CLR_INVALID)
            return prepared;
    }
    const bool gradient = HasGradient(*this);
    CLoadedBitmap picture;
    LoadNoteTexture(*this, picture, false);
    if (!picture.GetBitmap() && !gradient)
        return m_bodyColor;
    // A small picture of the background, painted for the question alone.
    const int side = std::max({kSamplePictureSide, x + 1, y + 1});
    HDC screen = GetDC(nullptr);
    CMemoryDC memory;
    PaintBackgroundPicture(screen, RECT{0, 0, side, side}, memory, gradient ? m_backgroundKind : 0,
                           picture.GetBitmap(), picture.GetWidth(), picture.GetHeight(), m_textureStretch,
                           BrushCache().GetBrush(m_bodyColor));
    ReleaseDC(nullptr, screen);
    const COLORREF painted = memory.GetHandle() ? GetPixel(memory.GetHandle(), x, y) : CLR_INVALID;
    return painted == CLR_INVALID ? m_bodyColor : painted;
}

bool OnBodyBackgroundMessage(HWND edit, CNoteController& note, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result)
{
    switch (message) {
    case WM_SIZE:
        result = CallWindowProcA(note.m_editProcedure, edit, message, wParam, lParam);
        KeepNoteMargin(note);
        // A texture that could not be loaded is not looked for again at every size.
        if (note.m_backgroundPicture)
            PrepareNoteBackground(note);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        note.m_bodyFocused = message == WM_SETFOCUS;
        return false;
    case WM_ERASEBKGND:
        // The paint that follows copies the background and the text in one
        // go; erased first, the body would show its background without its
        // text for a moment.
        if (!PaintsOwnBackground(note))
            return false;
        result = 1;
        return true;
    case WM_PAINT:
        if (!PaintsOwnBackground(note) || !PaintBodyOverBackground(edit, note))
            return false;
        result = 0;
        return true;
    default:
        return false;
    }
}

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

    // A title without a font of its own takes the note's regular caption font.
    HFONT font = nullptr;
    if (HasOwnFont(note.m_titleFont))
        font = CreateFontIndirectA(&note.m_titleFont);
    HFONT titleFont = font ? font : note.m_titleFonts.Regular();
    HGDIOBJ previousFont =
        SelectObject(dc, titleFont ? static_cast<HGDIOBJ>(titleFont) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, note.m_titleTextColor);
    RECT text = caption;
    text.left += 4;
    text.right -= 4;
    if (note.m_showDate) {
        CDateTime created = note.m_created;
        char date[40];
        lstrcpynA(date, created.FormatDateTime(false), sizeof date);
        DrawTextA(dc, date, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        // The title ends, cut with an ellipsis, a little before the date.
        RECT dateSize{0, 0, 0, 0};
        DrawTextA(dc, date, -1, &dateSize, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        text.right -= dateSize.right + kTitleDateGap;
    }
    // While the alarm rings the title stands out, bold and underlined.
    if (note.m_ringing && note.m_titleFonts.Emphasised())
        SelectObject(dc, note.m_titleFonts.Emphasised());
    if (text.right > text.left)
        DrawTextA(dc, note.m_title, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, previousFont);
    if (font)
        DeleteObject(font);
    ReleaseDC(window, dc);
}

void PaintMarkedFrame(HWND window, const CNoteController& note)
{
    const LONG kPhaseMs = 500;
    if (note.m_hidden)
        return;
    COLORREF colour;
    if (note.m_ringing && (note.m_msRinging / kPhaseMs) % 2 == 0)
        colour = RGB(230, 0, 0);
    else if (note.m_restoredMark && !note.m_ringing)
        colour = RGB(0, 200, 0);
    else
        return;
    HDC dc = GetWindowDC(window);
    if (!dc) {
        WriteErrorLog("PaintMarkedFrame():", "no device context for the note's frame");
        return;
    }
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RECT edge{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    HBRUSH brush = CreateSolidBrush(colour);
    const int width = GetSystemMetrics(SM_CXSIZEFRAME);
    for (int ring = 0; ring < width && edge.right - edge.left > 2; ++ring) {
        FrameRect(dc, &edge, brush);
        InflateRect(&edge, -1, -1);
    }
    DeleteObject(brush);
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
