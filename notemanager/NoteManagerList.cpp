#include "notemanager/NoteManagerController.h"

#include <string>

#include "foundation/PtrList.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteController.h"
#include "note/NoteKeeper.h"
#include "notemanager/NoteManagerEntry.h"
#include "notemanager/NoteManagerFile.h"
#include "notemanager/NoteManagerNotes.h"
#include "noteprops/AppAssociations.h"
#include "resources/ids/NoteManagerIds.h"

namespace {
const RadioGroup kRadioGroups[] = {
    {IDC_NM_STATE_DESKTOP, IDC_NM_STATE_ALL},
    {IDC_NM_ALARMS_WITH, IDC_NM_ALARMS_ALL},
    {IDC_NM_ASSOC_WITH, IDC_NM_ASSOC_ALL},
    {IDC_NM_PROTECTED, IDC_NM_PROTECTION_ALL},
};
const int kContainingTextRead = 100;

BYTE* FilterOf(CNoteManagerOptions& options, int group)
{
    BYTE* filters[] = {&options.stateFilter, &options.alarmsFilter, &options.associationFilter,
                       &options.protectionFilter};
    return filters[group];
}

bool PassesStyle(const CNoteController& note, int styleFilter)
{
    if (styleFilter < 1 || styleFilter > 9)
        return true;
    const CNoteStyle& style = UserSettings().styles[styleFilter - 1];
    if (note.m_textureId != style.textureId || static_cast<DWORD>(note.m_backgroundKind) != style.backgroundKind ||
        note.m_titleColor != style.titleBackgroundColor)
        return false;
    return style.backgroundKind == 4 || note.m_bodyColor == style.backgroundColor;
}

bool PassesGroup(const CNoteController& note, DWORD groupFilter)
{
    const GlobalGroupIds ids = NoteGroupGlobalIds();
    if (groupFilter == ids.all || groupFilter == ids.deleted)
        return true;
    const int group = note.FindGroupId(-1);
    if (groupFilter == ids.none)
        return group < 0 || static_cast<DWORD>(group) == ids.none;
    return group >= 0 && static_cast<DWORD>(group) == groupFilter;
}
}

bool CNoteManagerController::IsDeletedView() const
{
    return NoteManagerOptions().groupFilter == NoteGroupGlobalIds().deleted;
}

// The tests of one note against the filters, in their order; the text test
// last, as it may open a protected note and writes the match positions.
bool CNoteManagerController::PassesFilters(CNoteController& note)
{
    const CNoteManagerOptions& options = NoteManagerOptions();
    if ((options.stateFilter == 1 && note.m_hidden) || (options.stateFilter == 2 && !note.m_hidden))
        return false;
    const bool associated = IsNoteAssociated(note.m_noteId);
    if ((options.associationFilter == 1 && !associated) || (options.associationFilter == 2 && associated))
        return false;
    switch (options.alarmsFilter) {
    case 1:
        if (!note.m_alarmSet)
            return false;
        if (m_params.requestedDay && AlarmDayOf(note) != m_params.requestedDay)
            return false;
        break;
    case 2:
        if (!note.m_alarmSet || !note.m_alarmRecurring)
            return false;
        break;
    case 3:
        if (note.m_alarmSet)
            return false;
        break;
    default:
        break;
    }
    const bool closedProtected = IsClosedProtected(note);
    if ((options.protectionFilter == 1 && !closedProtected) || (options.protectionFilter == 2 && closedProtected))
        return false;
    if (!PassesStyle(note, options.styleFilter) || !PassesGroup(note, options.groupFilter))
        return false;
    if (!options.containingText[0])
        return true;
    return FindContainingText(note, options.containingText, m_calendarSearch);
}

void CNoteManagerController::FillList()
{
    ListView_DeleteAllItems(m_list);
    const char* search = GetNoteManagerServices().calendarSearchText ? GetNoteManagerServices().calendarSearchText() : "";
    m_calendarSearch = search && search[0];
    INoteKeeper* keeper = GetNoteKeeper();
    if (!keeper)
        return;
    const CPtrList& notes = IsDeletedView() ? DeletedNotesList() : keeper->OwnNotes();
    const DWORD count = notes.GetCount();
    void* item = notes.GetFirst();
    for (DWORD i = 0; item && i < count; ++i, item = notes.GetNext(item)) {
        auto* note = static_cast<CNoteController*>(item);
        if (PassesFilters(*note))
            InsertRow(note);
    }
}

void CNoteManagerController::InsertRow(CNoteController* note)
{
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = ListView_GetItemCount(m_list);
    row.pszText = const_cast<char*>("");
    row.iImage = 0;
    row.lParam = reinterpret_cast<LPARAM>(note);
    const int index = ListView_InsertItem(m_list, &row);
    if (index < 0)
        return;
    for (int column = kColumnTitle; column < kNoteManagerColumnCount; ++column) {
        if (column == kColumnOwner) {
            const std::string owner = OwnerNameOf(*note);
            ListView_SetItemText(m_list, index, column, const_cast<char*>(owner.c_str()));
        } else {
            ListView_SetItemText(m_list, index, column, LPSTR_TEXTCALLBACKA);
        }
    }
}

void CNoteManagerController::RefillQuietly()
{
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    FillList();
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

// A note made elsewhere gets its row at the end; the status line counts it.
void CNoteManagerController::AddNoteRow(CNoteController* note)
{
    if (!note || IsDeletedView())
        return;
    AppendRow(note);
}

// A note deleted elsewhere leaves the list (or joins the list of deleted
// notes); the status line follows, also when its row was selected.
void CNoteManagerController::OnNoteDeleted(CNoteController* note)
{
    if (!note)
        return;
    if (IsDeletedView()) {
        AppendRow(note);
        return;
    }
    const int row = RowOf(note);
    if (row < 0)
        return;
    ListView_DeleteItem(m_list, row);
    DescribeCurrentSelection(-1);
}

void CNoteManagerController::AppendRow(CNoteController* note)
{
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    InsertRow(note);
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
    DescribeCurrentSelection(-1);
}

CNoteController* CNoteManagerController::NoteAt(int row) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(m_list, &item))
        return nullptr;
    return LiveNoteOf(item.lParam);
}

CNoteController* CNoteManagerController::LiveNoteOf(LPARAM rowParam) const
{
    auto* note = reinterpret_cast<CNoteController*>(rowParam);
    return IsLive(note) ? note : nullptr;
}

// A restore, its undo or the program's end is about to close every note: no
// row may name one after that.
void CNoteManagerController::CloseBeforeNotesGo()
{
    ListView_DeleteAllItems(m_list);
    Close();
}

int CNoteManagerController::RowOf(const CNoteController* note) const
{
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(note);
    return static_cast<int>(SendMessageA(m_list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

int CNoteManagerController::RowCount() const
{
    return ListView_GetItemCount(m_list);
}

void CNoteManagerController::ShowFilters()
{
    CNoteManagerOptions& options = NoteManagerOptions();
    for (int g = 0; g < 4; ++g) {
        const RadioGroup& group = kRadioGroups[g];
        const int value = *FilterOf(options, g);
        const int id = group.first + value - 1;
        CheckRadioButton(m_dialog, group.first, group.last, id >= group.first && id <= group.last ? id : group.last);
    }
    SendDlgItemMessageA(m_dialog, IDC_NM_STYLE, CB_SETCURSEL, options.styleFilter, 0);
    SendDlgItemMessageA(m_dialog, IDC_NM_GROUP, CB_SETCURSEL, FindGroupComboIndex(options.groupFilter), 0);
    m_settingText = true;
    SetDlgItemTextA(m_dialog, IDC_NM_TEXT, options.containingText);
    m_settingText = false;
    EnableRadioGroups(!IsDeletedView());
}

void CNoteManagerController::EnableRadioGroups(bool enable)
{
    for (const RadioGroup& group : kRadioGroups) {
        for (int id = group.first; id <= group.last; ++id)
            EnableWindow(GetDlgItem(m_dialog, id), enable);
    }
}

bool CNoteManagerController::OnFilterCommand(UINT id, UINT code)
{
    CNoteManagerOptions& options = NoteManagerOptions();
    for (int g = 0; g < 4; ++g) {
        const RadioGroup& group = kRadioGroups[g];
        if (static_cast<int>(id) >= group.first && static_cast<int>(id) <= group.last) {
            if (code != BN_CLICKED)
                return true;
            *FilterOf(options, g) = static_cast<BYTE>(id - group.first + 1);
            RefillQuietly();
            UpdateStatus();
            return true;
        }
    }
    switch (id) {
    case IDC_NM_CLEAR_FILTERS:
        ResetFilters(true);
        return true;
    case IDC_NM_TEXT:
        if (code == EN_CHANGE && !m_settingText) {
            char text[kContainingTextRead + 1] = "";
            GetDlgItemTextA(m_dialog, IDC_NM_TEXT, text, sizeof text);
            lstrcpynA(options.containingText, text, kNoteManagerTextSize);
            RefillQuietly();
            UpdateStatus();
        }
        return true;
    case IDC_NM_STYLE:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendDlgItemMessageA(m_dialog, IDC_NM_STYLE, CB_GETCURSEL, 0, 0);
            options.styleFilter = static_cast<BYTE>(index < 0 ? 0 : index);
            RefillQuietly();
            UpdateStatus();
        }
        return true;
    case IDC_NM_GROUP:
        if (code == CBN_SELCHANGE)
            OnGroupSelected();
        return true;
    default:
        return false;
    }
}

// "Deleted" shows the deleted notes with every other filter at its standard
// value; any other group gives the radio buttons back.
void CNoteManagerController::OnGroupSelected()
{
    CNoteManagerOptions& options = NoteManagerOptions();
    const LRESULT index = SendDlgItemMessageA(m_dialog, IDC_NM_GROUP, CB_GETCURSEL, 0, 0);
    const LRESULT data = SendDlgItemMessageA(m_dialog, IDC_NM_GROUP, CB_GETITEMDATA, index, 0);
    if (index < 0 || data == CB_ERR || !data)
        return;
    options.groupFilter = static_cast<BYTE>(reinterpret_cast<const CNoteGroup*>(data)->id);
    if (IsDeletedView()) {
        const BYTE group = options.groupFilter;
        ResetFilters(false);
        options.groupFilter = group;
        ShowFilters();
    } else {
        EnableRadioGroups(true);
    }
    RefillQuietly();
    UpdateStatus();
}
