// Cascade, tile and unarrange of the user's own notes.
#include <winsock2.h>

#include <algorithm>
#include <vector>

#include "foundation/bytes/MessageBoxes.h"
#include "note/NoteController.h"
#include "note/NoteWindow.h"
#include "shell/NoteLists.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"
#include "shell/bytes/ArrangeGrid.h"

namespace {
bool EarlierCreated(const CNoteController* a, const CNoteController* b)
{
    return a->m_created < b->m_created;
}

bool CompareTitleDate(const CNoteController* a, const CNoteController* b)
{
    int order = lstrcmpA(a->m_title, b->m_title);
    return order != 0 ? order < 0 : EarlierCreated(a, b);
}

bool CompareColourDate(const CNoteController* a, const CNoteController* b)
{
    if (a->m_bodyColor != b->m_bodyColor)
        return a->m_bodyColor < b->m_bodyColor;
    return EarlierCreated(a, b);
}

bool CompareColourTitle(const CNoteController* a, const CNoteController* b)
{
    if (a->m_bodyColor != b->m_bodyColor)
        return a->m_bodyColor < b->m_bodyColor;
    return lstrcmpA(a->m_title, b->m_title) < 0;
}

// The notes in the order of the arrangement: by date from the oldest (the
// end of the newest-first list), or sorted by one of the comparisons.
std::vector<CNoteController*> NotesInOrder(const CPtrList& list, int order)
{
    std::vector<CNoteController*> notes;
    ForEachNote(list, [&](CNoteController* note) {
        if (note->m_window)
            notes.push_back(note);
        return true;
    });
    std::reverse(notes.begin(), notes.end());
    switch (order) {
    case 1:
        std::stable_sort(notes.begin(), notes.end(), CompareTitleDate);
        break;
    case 2:
        std::stable_sort(notes.begin(), notes.end(), CompareColourDate);
        break;
    case 3:
        std::stable_sort(notes.begin(), notes.end(), CompareColourTitle);
        break;
    default:
        break;
    }
    return notes;
}

// The note's own size: the unrolled size of a rolled-up note.
SIZE OwnSize(const CNoteController& note)
{
    if (note.m_rolledUp)
        return {note.m_unrolledWidth, note.m_unrolledHeight};
    RECT bounds{};
    GetWindowRect(note.m_window, &bounds);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void SaveArrangedRect(CNoteController& note)
{
    RECT bounds{};
    GetWindowRect(note.m_window, &bounds);
    SIZE size = OwnSize(note);
    note.m_arrangedRect = {bounds.left, bounds.top, size.cx, size.cy};
}
}

void CWindowController::Cascade(int order)
{
    std::vector<CNoteController*> notes = NotesInOrder(m_ourNotes, order);
    if (notes.empty())
        return;
    const int w = ScreenWidth(), h = ScreenHeight();
    CascadeCursor cursor;
    cursor.secondColumnX = OwnSize(*notes.front()).cx + 20;
    BulkArrangementFlag() = 1;
    for (CNoteController* note : notes) {
        if (note->m_hidden)
            continue;
        SaveArrangedRect(*note);
        SIZE size = OwnSize(*note);
        note->m_parked = false;
        SetWindowPos(note->m_window, nullptr, cursor.x, cursor.y, size.cx + 1, size.cy,
                     SWP_SHOWWINDOW | SWP_NOZORDER);
        if (!note->m_stayOnTop && !note->m_raised) {
            note->m_raised = true;
            SetWindowPos(note->m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
            SendMessageA(note->m_window, WM_NCPAINT, 1, 0);
        }
        if (!NextCascadeStep(w, h, cursor))
            break;
    }
    BulkArrangementFlag() = 0;
    UpdateTrayTooltip();
}

void CWindowController::Tile(int order)
{
    int shown = 0;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        shown += (!note->m_hidden && !note->m_parked) ? 1 : 0;
        return true;
    });
    const int w = ScreenWidth(), h = ScreenHeight();
    TileGrid grid;
    if (!ComputeTileGrid(shown, w, h, grid)) {
        ShowMessageBox(GetForegroundWindow(), "Sorry, cannot tile more than 49 notes ", ProgramTitle, kMbIconHand);
        return;
    }
    TileCursor cursor;
    for (CNoteController* note : NotesInOrder(m_ourNotes, order)) {
        if (note->m_hidden || note->m_parked)
            continue;
        SaveArrangedRect(*note);
        SIZE size = OwnSize(*note);
        SetWindowPos(note->m_window, HWND_TOP, cursor.x, cursor.y, grid.cellWidth ? grid.cellWidth : size.cx,
                     grid.cellHeight ? grid.cellHeight : size.cy, SWP_SHOWWINDOW);
        if (!NextTileCell(grid, w, h, cursor))
            break;
    }
}

void CWindowController::Unarrange()
{
    ForEachNote(m_ourNotes, [](CNoteController* note) {
        const NoteArrangedRect& saved = note->m_arrangedRect;
        if (note->m_window && (saved.left || saved.top || saved.width || saved.height))
            SetWindowPos(note->m_window, nullptr, saved.left, saved.top, saved.width, saved.height, SWP_SHOWWINDOW);
        return true;
    });
    ForgetArrangement();
}

bool CWindowController::HasArrangement() const
{
    bool found = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        const NoteArrangedRect& saved = note->m_arrangedRect;
        found = saved.left || saved.top || saved.width || saved.height;
        return !found;
    });
    return found;
}

void CWindowController::ForgetArrangement()
{
    ForEachNote(m_ourNotes, [](CNoteController* note) {
        note->m_arrangedRect = NoteArrangedRect();
        return true;
    });
}
