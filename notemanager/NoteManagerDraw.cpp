#include "notemanager/NoteManagerController.h"

#include <richedit.h>

#include <cstdio>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/GdiCaches.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerNotes.h"

namespace {
const int kIconSize = 16;
const char kCustomDrawLog[] = "nmcustom.txt";
enum StateIcon { kIconLocked = 48, kIconAlarm = 27, kIconSent = 37, kIconSendFailed = 38, kIconSendAtAlarm = 78,
                 kIconAssociated = 94 };

COLORREF NoteTextColour(const CNoteController& note)
{
    if (!note.m_bodyEdit)
        return note.m_textColor;
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    SendMessageA(note.m_bodyEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format.crTextColor;
}

// A textured note's list colour is that of its background near its corner.
COLORREF NoteBodyColour(const CNoteController& note)
{
    return note.m_textureId ? note.BackgroundColourAt(2, 2) : note.m_bodyColor;
}

bool SendIconWanted(const CNoteController& note)
{
    return note.m_sendState == 1 || note.m_sendState == 2 || (note.m_sendAtAlarmTime && note.m_alarmSet);
}

int SendIconOf(const CNoteController& note)
{
    if (note.m_sendAtAlarmTime && note.m_alarmSet)
        return kIconSendAtAlarm;
    return note.m_sendState == 2 ? kIconSendFailed : kIconSent;
}
}

// The shade of a row's cells outside the note's own colours.
COLORREF CNoteManagerController::RowShade(const CNoteController& note) const
{
    const CNoteManagerOptions& options = NoteManagerOptions();
    if (note.m_hidden && options.paintHiddenBackgnd)
        return options.paintHiddenBackColor;
    if (note.m_parked && options.paintParkedBackgnd)
        return options.paintParkedBackColor;
    return GetSysColor(COLOR_WINDOW);
}

LRESULT CNoteManagerController::OnCustomDraw(NMLVCUSTOMDRAW& draw)
{
    const DWORD stage = draw.nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (stage == CDDS_ITEMPREPAINT)
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    CNoteController* note = LiveNoteOf(draw.nmcd.lItemlParam);
    if (stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        if (!note)
            return CDRF_DODEFAULT;
        const CNoteManagerOptions& options = NoteManagerOptions();
        HFONT font = m_normalFont;
        draw.clrText = RGB(0, 0, 0);
        switch (draw.iSubItem) {
        case kColumnTitle:
            if (options.paintTTBackColors) {
                draw.clrTextBk = note->m_titleColor;
                draw.clrText = note->m_titleTextColor;
            } else {
                draw.clrTextBk = GetSysColor(COLOR_WINDOW);
            }
            if (note->m_stayOnTop && options.boldTitleText)
                font = m_boldFont;
            break;
        case kColumnText:
            if (options.paintTTBackColors) {
                draw.clrText = NoteTextColour(*note);
                draw.clrTextBk = NoteBodyColour(*note);
            } else {
                draw.clrTextBk = GetSysColor(COLOR_WINDOW);
            }
            break;
        default:
            draw.clrTextBk = RowShade(*note);
            break;
        }
        if (font)
            SelectObject(draw.nmcd.hdc, font);
        return CDRF_NEWFONT;
    }
    if (stage == CDDS_ITEMPOSTPAINT) {
        if (note)
            DrawIconsCell(draw, *note);
        return CDRF_DODEFAULT;
    }
    char text[60];
    std::snprintf(text, sizeof text, " altceva %lX ??", static_cast<unsigned long>(stage));
    WriteErrorLog(text, "", kCustomDrawLog);
    return CDRF_DODEFAULT;
}

void CNoteManagerController::DrawIconsCell(NMLVCUSTOMDRAW& draw, const CNoteController& note)
{
    CNoteManagerOptions& options = NoteManagerOptions();
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    RECT rowRect = {};
    if (!ListView_GetItemRect(m_list, row, &rowRect, LVIR_BOUNDS)) {
        ShowMessageBox(m_dialog, "ListView_GetSubItemRect failed", ProgramTitle, kMbOk);
        return;
    }
    const bool locked = IsNoteLocked(note);
    const bool associated = IsNoteAssociated(note.m_noteId);
    const int icons = (locked ? 1 : 0) + (note.m_alarmSet ? 1 : 0) + (SendIconWanted(note) ? 1 : 0) +
                      (associated ? 1 : 0);

    // The Icons column may stand anywhere: its x is the sum of the columns
    // before it; the shown widths are kept as the user left them meanwhile.
    int order[kNoteManagerColumnCount];
    ListView_GetColumnOrderArray(m_list, kNoteManagerColumnCount, order);
    int x = rowRect.left;
    bool before = true;
    for (int p = 0; p < kNoteManagerColumnCount; ++p) {
        const int id = order[p];
        if (id < 0 || id >= kNoteManagerColumnCount)
            continue;
        const int width = ListView_GetColumnWidth(m_list, id);
        if (options.columns[id].displayed && width > 0)
            options.columns[id].width = static_cast<DWORD>(width);
        if (id == kColumnIcons)
            before = false;
        else if (before)
            x += width;
    }
    const int cellWidth = ListView_GetColumnWidth(m_list, kColumnIcons);
    RECT cell = {x, rowRect.top, x + cellWidth, rowRect.bottom};
    HDC dc = draw.nmcd.hdc;
    FillRect(dc, &cell, BrushCache().GetBrush(RowShade(note)).brush);
    const int iconsWidth = icons * kIconSize + 2 < cellWidth ? icons * kIconSize + 2 : cellWidth;
    const bool selected = ListView_GetItemState(m_list, row, LVIS_SELECTED) != 0;
    if (selected) {
        RECT rest = {x + iconsWidth, cell.top, cell.right, cell.bottom};
        FillRect(dc, &rest, BrushCache().GetBrush(GetSysColor(COLOR_HIGHLIGHT)).brush);
        if (GetFocus() == m_list && ListView_GetItemState(m_list, row, LVIS_FOCUSED))
            DrawFocusRect(dc, &rest);
    }
    HIMAGELIST images = ImageList(0).GetHandle();
    int left = x + 2;
    auto drawIcon = [&](int index) {
        if (images)
            ImageList_Draw(images, index, dc, left, rowRect.top, ILD_TRANSPARENT);
        left += kIconSize;
    };
    if (locked)
        drawIcon(kIconLocked);
    if (note.m_alarmSet)
        drawIcon(kIconAlarm);
    if (SendIconWanted(note))
        drawIcon(SendIconOf(note));
    if (associated)
        drawIcon(kIconAssociated);
}
