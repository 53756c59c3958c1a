#include "notemanager/NoteManagerController.h"

#include <cstdio>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "net/NoteSendDescriptions.h"
#include "note/NoteController.h"
#include "notemanager/NoteManagerNotes.h"
#include "noteprops/AppAssociations.h"
#include "resources/ids/NoteManagerIds.h"

namespace {
const int kArrowAscending = 0;
const int kArrowDescending = 1;
const int kArrowNone = 2;

struct SortContext {
    CNoteManagerController* controller;
    int column;
    bool descending;
};

int Signed(int result, bool descending)
{
    return descending ? -result : result;
}

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context)
{
    return GuardCallback(0, [&] {
        const auto& sort = *reinterpret_cast<const SortContext*>(context);
        if (!a || !b) {
            ShowMessageBox(sort.controller->Dialog(), "NULL pointers when sorting?", ProgramTitle, kMbOk);
            return 0;
        }
        CNoteController* first = sort.controller->LiveNoteOf(a);
        CNoteController* second = sort.controller->LiveNoteOf(b);
        if (!first || !second)
            return 0;
        return Signed(CompareNoteSortFacts(sort.column, sort.controller->SortFactsOf(*first),
                                           sort.controller->SortFactsOf(*second)),
                      sort.descending);
    });
}

int CALLBACK CompareItemTexts(LPARAM a, LPARAM b, LPARAM context)
{
    return GuardCallback(0, [&] {
        const auto& sort = *reinterpret_cast<const SortContext*>(context);
        CNoteController* first = sort.controller->NoteAt(static_cast<int>(a));
        CNoteController* second = sort.controller->NoteAt(static_cast<int>(b));
        if (!first || !second)
            return 0;
        return Signed(CompareCellTexts(sort.controller->CellText(*first, sort.column, 1),
                                       sort.controller->CellText(*second, sort.column, 1)),
                      sort.descending);
    });
}
}

NoteSortFacts CNoteManagerController::SortFactsOf(CNoteController& note)
{
    NoteSortFacts facts;
    facts.locked = IsNoteLocked(note);
    facts.alarmSet = note.m_alarmSet;
    facts.sendMarked = note.m_sendAtAlarmTime || note.m_sendState != 0;
    facts.associated = IsNoteAssociated(note.m_noteId);
    facts.title = note.m_title;
    facts.alarm = SortableTimeOf(note.m_alarm);
    facts.created = SortableTimeOf(note.m_created);
    facts.owner = OwnerNameOf(note);
    facts.size = SizeOf(note);
    return facts;
}

void CNoteManagerController::SetHeaderArrow(int column, int image)
{
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (!Header_GetItem(m_header, column, &item))
        return;
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    item.iImage = image;
    Header_SetItem(m_header, column, &item);
}

void CNoteManagerController::OnColumnClick(int column, bool keepOrder)
{
    if (column < 0 || column >= kNoteManagerColumnCount)
        return;
    CNoteManagerOptions& options = NoteManagerOptions();
    if (column != options.sortColumn) {
        SetHeaderArrow(options.sortColumn, kArrowNone);
        options.sortColumn = static_cast<BYTE>(column);
        if (!keepOrder)
            options.sortOrder = column == kColumnAlarm || column == kColumnCreated ? 1 : 0;
    } else if (!keepOrder) {
        options.sortOrder = options.sortOrder ? 0 : 1;
    }
    SetHeaderArrow(column, options.sortOrder ? kArrowDescending : kArrowAscending);
    SortContext context{this, column, options.sortOrder != 0};
    if (column == kColumnText || column == kColumnGroup)
        ListView_SortItemsEx(m_list, CompareItemTexts, reinterpret_cast<LPARAM>(&context));
    else
        ListView_SortItems(m_list, CompareItems, reinterpret_cast<LPARAM>(&context));
    const int first = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (first >= 0)
        ListView_EnsureVisible(m_list, first, FALSE);
}

void CNoteManagerController::SetStatus(const std::string& text)
{
    SendMessageA(m_status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CNoteManagerController::SetButtons(const char* showText, bool showEnabled, const char* hideText,
                                        bool hideEnabled)
{
    SetDlgItemTextA(m_dialog, IDC_NM_SHOW, showText);
    SetDlgItemTextA(m_dialog, IDC_NM_HIDE, hideText);
    EnableWindow(GetDlgItem(m_dialog, IDC_NM_SHOW), showEnabled);
    EnableWindow(GetDlgItem(m_dialog, IDC_NM_HIDE), hideEnabled);
}

// The status of the selection; with resort, the rows sorted again unless they
// stand newest first, in the order they were filled.
void CNoteManagerController::DescribeCurrentSelection(int changedRow)
{
    const int count = static_cast<int>(ListView_GetSelectedCount(m_list));
    if (count == 0) {
        char text[80];
        std::snprintf(text, sizeof text, "Nothing selected, %d notes listed", RowCount());
        SetStatus(text);
        SetButtons("&Show notes", false, "&Hide notes", false);
        return;
    }
    if (count > 1) {
        DescribeSelection(count);
        return;
    }
    int row = changedRow;
    if (row < 0 || !ListView_GetItemState(m_list, row, LVIS_SELECTED))
        row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED);
    if (CNoteController* note = NoteAt(row))
        DescribeSelectedNote(*note);
}

void CNoteManagerController::UpdateStatus()
{
    DescribeCurrentSelection(-1);
    const CNoteManagerOptions& options = NoteManagerOptions();
    if (!(options.sortColumn == kColumnCreated && options.sortOrder == 1))
        OnColumnClick(options.sortColumn, true);
}

void CNoteManagerController::OnItemChanged(const NMLISTVIEW& change)
{
    if (change.iItem < 0 || !(change.uChanged & LVIF_STATE))
        return;
    DescribeCurrentSelection(change.iItem);
    if (IsDeletedView()) {
        EnableWindow(GetDlgItem(m_dialog, IDC_NM_SHOW), FALSE);
        EnableWindow(GetDlgItem(m_dialog, IDC_NM_HIDE), FALSE);
    }
}

void CNoteManagerController::DescribeSelectedNote(CNoteController& note)
{
    if (IsDeletedView()) {
        SetStatus("The selected note is deleted");
        return;
    }
    std::string text;
    if (note.m_hidden)
        text = "The selected note is hidden";
    else if (note.m_parked)
        text = "The selected note is parked";
    else
        text = "The selected note is on the desktop";
    SetButtons("&Show note", true, "&Hide note", !note.m_hidden && !note.m_parked);
    if (IsNoteLocked(note))
        text += IsClosedProtected(note) ? ", locked and protected" : ", locked";
    if (note.m_alarmSet && !note.m_sendAtAlarmTime) {
        if (note.m_ringing) {
            text += ", the alarm is ringing!";
        } else {
            note.UpdateAlarmTooltip();
            text += ", ";
            text += note.m_alarmTip;
        }
    }
    CDestination record;
    if (note.m_sendState == 0 && note.m_sendAtAlarmTime && note.m_alarmSet) {
        text += ", " + DescribeNextSendTime(note, false);
    } else if ((note.m_sendState == 1 || note.m_sendState == 2) && FindSendRecord(note.m_noteId, record)) {
        if (note.m_sendAtAlarmTime && note.m_alarmSet && record.m_retry)
            text += ", " + DescribeNextSendTime(note, true);
        else
            text += ", " + DescribeSendRecord(record);
    }
    bool first = true;
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        if (node->record.noteId != note.m_noteId)
            continue;
        text += first ? ", associated with " : ", ";
        text += node->record.application;
        first = false;
    }
    SetStatus(text);
}

void CNoteManagerController::DescribeSelection(int count)
{
    int hidden = 0;
    int parked = 0;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
        if (CNoteController* note = NoteAt(row)) {
            hidden += note->m_hidden ? 1 : 0;
            parked += !note->m_hidden && note->m_parked ? 1 : 0;
        }
    }
    const SelectionDescription d = DescribeSelectionText(count, hidden, parked, IsDeletedView());
    SetStatus(d.text);
    if (!IsDeletedView())
        SetButtons("&Show notes", true, "&Hide notes", d.hideEnabled);
}
