#include "notemanager/NoteManagerController.h"

#include <cstring>

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/bytes/MessageBoxes.h"
#include "globals/ProgramGlobals.h"
#include "notemanager/NoteManagerFile.h"
#include "resources/ids/NoteManagerIds.h"

namespace {
const UINT kColumnMenuIds[kNoteManagerColumnCount] = {ID_NM_COLUMN_ICONS,   ID_NM_COLUMN_TITLE, ID_NM_COLUMN_TEXT,
                                                      ID_NM_COLUMN_ALARM,   ID_NM_COLUMN_CREATED,
                                                      ID_NM_COLUMN_GROUP,   ID_NM_COLUMN_OWNER, ID_NM_COLUMN_SIZE};
const char kDragFile[] = "dragColumn.txt";
// The menus' check mark in the shared small-icon list: it marks each shown
// column. The list has a picture of only a few of the columns themselves, and
// a checked item draws its picture only while checked, in place of the mark.
const int kCheckPicture = 16;

CNoteManagerOptions StandardColumnOptions()
{
    CNoteManagerOptions standard;
    SetNoteManagerDefaults(standard);
    standard.groupFilter = NoteGroupGlobalIds().all;
    return standard;
}

int ColumnOfMenuId(UINT id)
{
    for (int column = 0; column < kNoteManagerColumnCount; ++column) {
        if (kColumnMenuIds[column] == id)
            return column;
    }
    return -1;
}

int ShownWidth(const CNoteManagerColumn& column)
{
    return column.displayed || column.id == kColumnIcons ? static_cast<int>(column.width) : 0;
}

CNoteManagerController* ControllerOfHeader(HWND header)
{
    return reinterpret_cast<CNoteManagerController*>(GetWindowLongPtrA(header, GWLP_USERDATA));
}

// The divider under the point belongs to a hidden column.
bool OnHiddenDivider(HWND header, LPARAM position)
{
    HDHITTESTINFO hit = {};
    hit.pt.x = static_cast<short>(LOWORD(position));
    hit.pt.y = static_cast<short>(HIWORD(position));
    SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (!(hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) || hit.iItem < 0 || hit.iItem >= kNoteManagerColumnCount)
        return false;
    return !NoteManagerOptions().columns[hit.iItem].displayed && hit.iItem != kColumnIcons;
}

LRESULT CALLBACK HeaderSubclassProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam)
{
    CNoteManagerController* controller = ControllerOfHeader(header);
    if (!controller)
        return DefWindowProcA(header, message, wParam, lParam);
    return GuardCallback<LRESULT>(0, [&]() -> LRESULT {
        switch (message) {
        case WM_MOUSEMOVE:
            if (OnHiddenDivider(header, lParam)) {
                SetCursor(LoadCursor(nullptr, IDC_ARROW));
                controller->SetHeaderCursorOverridden(true);
                return 0;
            }
            if (controller->IsHeaderCursorOverridden() && !(wParam & MK_LBUTTON))
                controller->SetHeaderCursorOverridden(false);
            break;
        case WM_SETCURSOR:
            if (controller->IsHeaderCursorOverridden()) {
                SetCursor(LoadCursor(nullptr, IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (OnHiddenDivider(header, lParam)) {
                SendMessageA(header, WM_LBUTTONUP, 0, lParam);
                SetCursor(LoadCursor(nullptr, IDC_ARROW));
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (OnHiddenDivider(header, lParam)) {
                controller->SetHeaderCursorOverridden(false);
                SetCursor(LoadCursor(nullptr, IDC_ARROW));
            }
            break;
        default:
            break;
        }
        return CallWindowProcA(controller->HeaderProcedure(), header, message, wParam, lParam);
    });
}
}

void CNoteManagerController::InsertColumns()
{
    CNoteManagerOptions& options = NoteManagerOptions();
    for (int id = 0; id < kNoteManagerColumnCount; ++id) {
        CNoteManagerColumn& column = options.columns[id];
        LVCOLUMNA entry = {};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        entry.pszText = column.title;
        entry.cx = ShownWidth(column);
        entry.iSubItem = id;
        if (ListView_InsertColumn(m_list, id, &entry) < 0) {
            ShowMessageBox(m_dialog, "Insert column in the listview has failed", ProgramTitle, kMbOk);
            return;
        }
    }
    ApplyColumnOrder();
}

// The display order from the columns' positions.
void CNoteManagerController::ApplyColumnOrder()
{
    const CNoteManagerOptions& options = NoteManagerOptions();
    int order[kNoteManagerColumnCount];
    for (int position = 0; position < kNoteManagerColumnCount; ++position) {
        order[position] = -1;
        for (int id = 0; id < kNoteManagerColumnCount; ++id) {
            if (options.columns[id].position == position)
                order[position] = id;
        }
    }
    ListView_SetColumnOrderArray(m_list, kNoteManagerColumnCount, order);
}

void CNoteManagerController::ToggleColumn(int id)
{
    if (id <= kColumnIcons || id >= kNoteManagerColumnCount)
        return;
    CNoteManagerColumn& column = NoteManagerOptions().columns[id];
    column.displayed = column.displayed ? 0 : 1;
    ListView_SetColumnWidth(m_list, id, ShownWidth(column));
}

void CNoteManagerController::TrackColumnsMenu()
{
    HMENU loaded = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_NOTE_MANAGER_COLUMNS));
    if (!loaded) {
        ShowMessageBox(m_dialog, "CNoteManagerController::LoadMenu for columns failed", ProgramTitle, kMbOk);
        return;
    }
    HMENU menu = GetSubMenu(loaded, 0);
    const CNoteManagerOptions& options = NoteManagerOptions();
    for (int id = 0; id < kNoteManagerColumnCount; ++id) {
        if (options.columns[id].displayed)
            CheckMenuItem(menu, kColumnMenuIds[id], MF_BYCOMMAND | MF_CHECKED);
    }
    EnableMenuItem(menu, ID_NM_COLUMN_ICONS, MF_BYCOMMAND | MF_GRAYED);
    m_columnsMenu.AttachPlainItems(GetModuleHandleA(nullptr), menu, &ImageList(kMenuImageList));
    for (int position = 0; position < m_columnsMenu.GetCount(); ++position) {
        const CCoolMenuItem* item = m_columnsMenu.GetItem(position);
        const int column = ColumnOfMenuId(item->id);
        const bool heading = item->id == ID_NM_COLUMNS_TITLE;
        if (!heading && (column < 0 || !options.columns[column].displayed))
            continue;
        const std::string text = item->text;
        const UINT id = item->id;
        const int picture = heading ? -1 : kCheckPicture;
        m_columnsMenu.InitMenuStructures(position, text.c_str(), id, picture, picture, heading ? 0 : 1, kNoRecolour,
                                         heading);
    }
    SetFocus(m_list);
    POINT cursor = {};
    GetCursorPos(&cursor);
    m_columnsMenu.TrackPopup(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, m_dialog);
    m_columnsMenu.Detach();
    DestroyMenu(loaded);
}

bool CNoteManagerController::OnColumnCommand(UINT id)
{
    if (id == ID_NM_COLUMNS_RESET) {
        ResetColumns();
        return true;
    }
    if (id == ID_NM_COLUMNS_CANCEL || id == ID_NM_COLUMNS_TITLE)
        return true;
    const int column = ColumnOfMenuId(id);
    if (column < 0)
        return false;
    ToggleColumn(column);
    return true;
}

void CNoteManagerController::ResetColumns()
{
    CNoteManagerOptions& options = NoteManagerOptions();
    const CNoteManagerOptions standard = StandardColumnOptions();
    std::memcpy(options.columns, standard.columns, sizeof options.columns);
    SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    for (int id = 0; id < kNoteManagerColumnCount; ++id)
        ListView_SetColumnWidth(m_list, id, ShownWidth(options.columns[id]));
    ApplyColumnOrder();
    SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
    if (options.sortColumn != standard.sortColumn || options.sortOrder != standard.sortOrder) {
        options.sortOrder = standard.sortOrder;
        OnColumnClick(standard.sortColumn, true);
    }
}

void CNoteManagerController::SaveFilters()
{
    if (m_filtersSaved)
        return;
    m_filtersSaved = true;
    const CNoteManagerOptions& options = NoteManagerOptions();
    SavedNoteManagerFilters& saved = m_savedFilters;
    saved.filters[0] = options.stateFilter;
    saved.filters[1] = options.alarmsFilter;
    saved.filters[2] = options.associationFilter;
    saved.filters[3] = options.protectionFilter;
    saved.filters[4] = options.styleFilter;
    saved.filters[5] = options.groupFilter;
    lstrcpynA(saved.containingText, options.containingText, sizeof saved.containingText);
    saved.sortColumn = options.sortColumn;
    saved.sortOrder = options.sortOrder;
    std::memcpy(saved.columns, options.columns, sizeof saved.columns);
}

void CNoteManagerController::RestoreFilters()
{
    CNoteManagerOptions& options = NoteManagerOptions();
    const SavedNoteManagerFilters& saved = m_savedFilters;
    options.stateFilter = saved.filters[0];
    options.alarmsFilter = saved.filters[1];
    options.associationFilter = saved.filters[2];
    options.protectionFilter = saved.filters[3];
    options.styleFilter = saved.filters[4];
    options.groupFilter = saved.filters[5];
    lstrcpynA(options.containingText, saved.containingText, sizeof options.containingText);
    options.sortColumn = saved.sortColumn;
    options.sortOrder = saved.sortOrder;
    std::memcpy(options.columns, saved.columns, sizeof saved.columns);
}

void CNoteManagerController::ResetFilters(bool apply)
{
    CNoteManagerOptions& options = NoteManagerOptions();
    const CNoteManagerOptions standard = StandardColumnOptions();
    options.stateFilter = standard.stateFilter;
    options.alarmsFilter = standard.alarmsFilter;
    options.associationFilter = standard.associationFilter;
    options.protectionFilter = standard.protectionFilter;
    options.styleFilter = standard.styleFilter;
    options.groupFilter = standard.groupFilter;
    options.containingText[0] = '\0';
    if (!apply)
        return;
    ShowFilters();
    RefillQuietly();
    UpdateStatus();
}

void CNoteManagerController::OnHeaderNotify(NMHDR& header)
{
    if (m_headerDragEnded) {
        m_headerDragEnded = false;
        int order[kNoteManagerColumnCount];
        if (ListView_GetColumnOrderArray(m_list, kNoteManagerColumnCount, order)) {
            CNoteManagerOptions& options = NoteManagerOptions();
            for (int p = 0; p < kNoteManagerColumnCount; ++p) {
                if (order[p] >= 0 && order[p] < kNoteManagerColumnCount)
                    options.columns[order[p]].position = static_cast<BYTE>(p);
            }
        }
    }
    switch (header.code) {
    case HDN_ENDDRAG:
        DeleteFileA(DataFilePath(kDragFile).c_str());
        m_headerDragEnded = true;
        break;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW: {
        // The new width is stored at once, so that the Alarm column's form is
        // chosen again for it, and the cells are drawn again in that form.
        const auto& track = reinterpret_cast<const NMHEADERA&>(header);
        CNoteManagerOptions& options = NoteManagerOptions();
        if (track.pitem && (track.pitem->mask & HDI_WIDTH) && track.iItem >= 0 &&
            track.iItem < kNoteManagerColumnCount && options.columns[track.iItem].displayed && track.pitem->cxy > 0)
            options.columns[track.iItem].width = static_cast<DWORD>(track.pitem->cxy);
        m_alarmLevel = 0;
        InvalidateRect(m_list, nullptr, FALSE);
        break;
    }
    case NM_RCLICK:
        TrackColumnsMenu();
        break;
    default:
        break;
    }
}

void CNoteManagerController::SubclassHeader()
{
    if (!m_header)
        return;
    m_headerPrevious = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_header, GWLP_WNDPROC));
    SetWindowLongPtrA(m_header, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(m_header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderSubclassProc));
}
