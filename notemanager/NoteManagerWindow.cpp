#include "notemanager/NoteManagerController.h"

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"
#include "note/NoteKeeper.h"
#include "note/ProtectedNotes.h"
#include "notemanager/NoteManagerEntry.h"
#include "notemanager/NoteManagerFile.h"
#include "notemanager/NoteManagerMessages.h"
#include "resources/ids/NoteManagerIds.h"

const char kNoteManagerTitle[] = "Quillnet+ Note Manager";

namespace {
const int kNoteManagerIcon = 508;
const DWORD kNoteManagerWindowHelpTopic = 825;
const int kTextLimit = 40;
const int kStyleItemHeight = 16;

NoteManagerServices g_services;

CNoteManagerController* NoteManagerControllerOf(HWND dialog)
{
    return reinterpret_cast<CNoteManagerController*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

RECT ChildRect(HWND dialog, int id)
{
    RECT rect = {};
    HWND child = GetDlgItem(dialog, id);
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int RectWidth(const RECT& r)
{
    return r.right - r.left;
}
int Height(const RECT& r)
{
    return r.bottom - r.top;
}

INT_PTR CALLBACK NoteManagerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            const auto* params = reinterpret_cast<const CNoteManagerStartParams*>(lParam);
            auto* controller = new CNoteManagerController(dialog, *params);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(controller));
            controller->OnInitDialog();
            return FALSE;
        }
        CNoteManagerController* controller = NoteManagerControllerOf(dialog);
        if (!controller) {
            if (message == WM_MEASUREITEM && lParam)
                return MeasureBeforeController(dialog, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
            return FALSE;
        }
        CNoteManagerController::Call call(*controller);
        if (message == WM_DESTROY) {
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            controller->MarkDestroyed();
            controller->OnDestroy();
            return TRUE;
        }
        INT_PTR result = 0;
        if (!controller->OnMessage(message, wParam, lParam, result))
            return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
        return TRUE;
    });
}
}

void SetNoteManagerServices(const NoteManagerServices& services)
{
    g_services = services;
}

const NoteManagerServices& GetNoteManagerServices()
{
    return g_services;
}

bool MeasureBeforeController(HWND dialog, MEASUREITEMSTRUCT& measure)
{
    if (measure.CtlID != IDC_NM_STYLE) {
        ShowMessageBox(dialog, "MeasureItem something else than combo style", ProgramTitle, kMbOk);
        return false;
    }
    if (measure.CtlType == ODT_COMBOBOX)
        measure.itemHeight = kStyleItemHeight;
    else
        ShowMessageBox(dialog, "MeasureItem combo but not ODT_COMBOBOX ?", ProgramTitle, kMbOk);
    return true;
}

HWND FindNoteManagerWindow()
{
    return FindWindowA(nullptr, kNoteManagerTitle);
}

void CloseNoteManagerBeforeNotesGo()
{
    HWND open = FindNoteManagerWindow();
    if (!open || GetWindowThreadProcessId(open, nullptr) != GetCurrentThreadId())
        return;
    if (CNoteManagerController* controller = NoteManagerControllerOf(open))
        controller->CloseBeforeNotesGo();
}

int RunNoteManagerDialog(CWindowController& app, LPARAM request)
{
    if (g_services.activateOpenDialog && g_services.activateOpenDialog(false))
        return -1;
    CNoteManagerStartParams params;
    params.application = &app;
    params.requestedDay = static_cast<DWORD>(request);
    const INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_NOTE_MANAGER),
                                          GetMainWindow(), NoteManagerDlgProc, reinterpret_cast<LPARAM>(&params));
    if (INoteKeeper* keeper = GetNoteKeeper())
        MaskProtectedNotes(*keeper, nullptr);
    return ended == -1 ? -1 : 0;
}

int OpenNoteManager(CWindowController& app, LPARAM request)
{
    if (HWND open = FindNoteManagerWindow()) {
        if (IsIconic(open))
            ShowWindow(open, SW_RESTORE);
        SetForegroundWindow(open);
        SetFocus(open);
        SendMessageA(open, kNmMsgReopen, 0, request);
        return 0;
    }
    return RunNoteManagerDialog(app, request);
}

CNoteManagerController::CNoteManagerController(HWND dialog, const CNoteManagerStartParams& params)
    : m_dialog(dialog), m_params(params)
{
}

CNoteManagerController::Call::~Call()
{
    if (--m_controller.m_calls == 0 && m_controller.m_destroyed)
        delete &m_controller;
}

CNoteManagerController::~CNoteManagerController()
{
    if (m_rowImages)
        ImageList_Destroy(m_rowImages);
    if (m_arrowImages)
        ImageList_Destroy(m_arrowImages);
    if (m_boldFont)
        DeleteObject(m_boldFont);
}

bool CNoteManagerController::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_MOVE:
        StorePlacement();
        return false;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        StorePlacement();
        return false;
    case WM_SHOWWINDOW:
        // The dialog box shows the window in its normal state when it first
        // has nothing else to do (a maximised window too): it is maximised
        // after that showing.
        if (wParam && m_maximizeWhenShown) {
            m_maximizeWhenShown = false;
            PostMessageA(m_dialog, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        return false;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return true;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == m_list) {
            switch (header->code) {
            case LVN_GETDISPINFOA:
                OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
                return true;
            case NM_CUSTOMDRAW:
                result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
                return true;
            case LVN_COLUMNCLICK:
                if (m_busySending)
                    MessageBeep(0);
                else
                    OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem, false);
                return true;
            case LVN_ITEMCHANGED:
                OnItemChanged(*reinterpret_cast<NMLISTVIEW*>(lParam));
                return true;
            case LVN_KEYDOWN:
                OnListKey(reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey);
                return true;
            case NM_RCLICK:
                TrackListMenu();
                return true;
            default:
                return false;
            }
        }
        return false;
    }
    case WM_HELP:
        OpenHelpOnTop(m_dialog, kHelpContext, kNoteManagerWindowHelpTopic);
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP: {
        LRESULT answer = 0;
        const bool handled = OnMenuMessage(message, wParam, lParam, answer);
        result = answer;
        return handled;
    }
    case WM_LBUTTONDOWN:
        SetFocus(m_dialog);
        return true;
    case kNmMsgNoteDeleted:
        OnNoteDeleted(reinterpret_cast<CNoteController*>(lParam));
        return true;
    case kMsgStyleRenamed:
        RenameStyle(static_cast<int>(wParam));
        return true;
    case kMsgGroupRenamed:
        RenameGroup(static_cast<int>(wParam));
        return true;
    case kMsgGroupCreated:
        AddGroup();
        return true;
    case kNmMsgNoteCreated:
        AddNoteRow(reinterpret_cast<CNoteController*>(lParam));
        return true;
    case kNmMsgReopen:
        OnReopen(static_cast<DWORD>(lParam));
        return true;
    default:
        return false;
    }
}

bool CNoteManagerController::OnCommand(UINT id, UINT code)
{
    if (m_busySending && id != IDOK) {
        MessageBeep(0);
        return true;
    }
    switch (id) {
    case IDOK:
        return true;
    case IDCANCEL:
        Close();
        return true;
    case IDC_NM_HELP:
        OpenHelpOnTop(m_dialog, kHelpContext, kNoteManagerWindowHelpTopic);
        return true;
    case IDC_NM_SETTINGS:
        OnSettings();
        return true;
    default:
        break;
    }
    if (OnFilterCommand(id, code))
        return true;
    return OnSelectionCommand(id);
}

void CNoteManagerController::Close()
{
    m_closing = true;
    RestoreSubclasses();
    EndDialog(m_dialog, 0);
}

// The list and its header get their own procedures back before the object goes.
void CNoteManagerController::RestoreSubclasses()
{
    if (m_listPrevious)
        SetWindowLongPtrA(m_list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_listPrevious));
    if (m_headerPrevious)
        SetWindowLongPtrA(m_header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_headerPrevious));
    m_listPrevious = nullptr;
    m_headerPrevious = nullptr;
}

void CNoteManagerController::OnInitDialog()
{
    HICON icon =
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kNoteManagerIcon), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (icon)
        SendMessageA(m_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_list = GetDlgItem(m_dialog, IDC_NM_LIST);
    m_header = ListView_GetHeader(m_list);
    CNoteManagerOptions& options = NoteManagerOptions();
    if (m_params.requestedDay) {
        SaveFilters();
        ResetFilters(false);
        const char* search = g_services.calendarSearchText ? g_services.calendarSearchText() : "";
        if (search && search[0])
            lstrcpynA(options.containingText, search, kNoteManagerTextSize);
    }

    // The list: its fonts, row images, columns, header arrows and the status bar.
    m_normalFont = reinterpret_cast<HFONT>(SendMessageA(m_list, WM_GETFONT, 0, 0));
    LOGFONTA bold = {};
    GetObjectA(m_normalFont ? m_normalFont : GetStockObject(DEFAULT_GUI_FONT), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    m_boldFont = CreateFontIndirectA(&bold);
    ListView_SetExtendedListViewStyle(m_list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES |
                                                  LVS_EX_HEADERDRAGDROP);
    m_rowImages = ImageList_Create(64, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (HICON row = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_NOTE_LIST_ROW),
                                                  IMAGE_ICON, 64, 16, 0))) {
        ImageList_AddIcon(m_rowImages, row);
        DestroyIcon(row);
    }
    ListView_SetImageList(m_list, m_rowImages, LVSIL_SMALL);
    m_status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, m_dialog,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    FillCombos();
    InsertColumns();
    m_arrowImages = ImageList_Create(14, 14, ILC_COLOR24 | ILC_MASK, 3, 1);
    for (int id : {IDB_SORT_ASCENDING, IDB_SORT_DESCENDING, IDB_SORT_NONE}) {
        if (HBITMAP arrow = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))) {
            ImageList_AddMasked(m_arrowImages, arrow, RGB(0xC0, 0xC0, 0xC0));
            DeleteObject(arrow);
        }
    }
    Header_SetImageList(m_header, m_arrowImages);
    SetHeaderArrow(options.sortColumn, options.sortOrder ? 1 : 0);
    // The sort moves to the Alarm column as a click on it would move it, which
    // takes the arrow off the column sorted before.
    if (m_params.requestedDay) {
        options.alarmsFilter = 1;
        options.sortOrder = 0;
        options.columns[kColumnAlarm].displayed = 1;
        ListView_SetColumnWidth(m_list, kColumnAlarm, options.columns[kColumnAlarm].width);
        m_requestApplied = true;
    }
    ShowFilters();
    RefillQuietly();
    if (m_params.requestedDay)
        OnColumnClick(kColumnAlarm, true);
    UpdateStatus();

    m_listPrevious = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_list, GWLP_WNDPROC));
    SetWindowLongPtrA(m_list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SubclassList();
    SubclassHeader();

    if (!options.stayOnTop)
        KeepOnTop(false);
    if (options.dialogWidth && options.dialogHeight) {
        // The kept normal rectangle first, also under a maximised window: it
        // is what un-maximising gives back. Screen coordinates, as
        // GetWindowRect kept them.
        m_maximizeWhenShown = options.dialogMaximized != 0;
        MoveWindow(m_dialog, options.dialogXLeft, options.dialogYLeft, options.dialogWidth, options.dialogHeight,
                   TRUE);
    } else {
        StorePlacement();
    }
    RECT client = {};
    GetClientRect(m_dialog, &client);
    Layout(client.right, client.bottom);
    HWND edit = GetDlgItem(m_dialog, IDC_NM_TEXT);
    SendMessageA(edit, EM_LIMITTEXT, kTextLimit, 0);
    SetFocus(edit);
}

void CNoteManagerController::OnReopen(DWORD requestedDay)
{
    if (!requestedDay)
        return;
    m_requestApplied = true;
    m_params.requestedDay = requestedDay;
    SaveFilters();
    ResetFilters(true);
    CNoteManagerOptions& options = NoteManagerOptions();
    options.alarmsFilter = 1;
    CheckRadioButton(m_dialog, IDC_NM_ALARMS_WITH, IDC_NM_ALARMS_ALL, IDC_NM_ALARMS_WITH);
    const char* search = g_services.calendarSearchText ? g_services.calendarSearchText() : "";
    if (search && search[0]) {
        lstrcpynA(options.containingText, search, kNoteManagerTextSize);
        SetDlgItemTextA(m_dialog, IDC_NM_TEXT, options.containingText);
    }
    RefillQuietly();
    if (!options.columns[kColumnAlarm].displayed) {
        options.columns[kColumnAlarm].displayed = 1;
        ListView_SetColumnWidth(m_list, kColumnAlarm, options.columns[kColumnAlarm].width);
    }
    if (options.sortColumn != kColumnAlarm || options.sortOrder != 0) {
        options.sortOrder = 0;
        OnColumnClick(kColumnAlarm, true);
    }
    SetFocus(m_list);
    ListView_SetItemState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED);
    UpdateStatus();
}

// On top the window is system-modal and topmost, else neither (the template
// makes it both).
void CNoteManagerController::KeepOnTop(bool onTop)
{
    LONG_PTR style = GetWindowLongPtrA(m_dialog, GWL_STYLE);
    style = onTop ? (style | DS_SYSMODAL) : (style & ~static_cast<LONG_PTR>(DS_SYSMODAL));
    SetWindowLongPtrA(m_dialog, GWL_STYLE, style);
    SetWindowPos(m_dialog, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CNoteManagerController::Layout(int width, int height)
{
    if (!m_status)
        return;
    SendMessageA(m_status, WM_SIZE, 0, 0);
    RECT statusRect = {};
    GetWindowRect(m_status, &statusRect);
    const int statusHeight = Height(statusRect);
    const RECT close = ChildRect(m_dialog, IDCANCEL);
    const RECT help = ChildRect(m_dialog, IDC_NM_HELP);
    const RECT settings = ChildRect(m_dialog, IDC_NM_SETTINGS);
    const RECT clear = ChildRect(m_dialog, IDC_NM_CLEAR_FILTERS);
    const RECT filters = ChildRect(m_dialog, IDC_NM_FILTERS);
    const RECT list = ChildRect(m_dialog, IDC_NM_LIST);
    const int buttonY = height - Height(close) - statusHeight - 9;
    HDWP batch = BeginDeferWindowPos(9);
    auto place = [&](int id, int x, int y, int w, int h, UINT flags) {
        if (batch)
            batch = DeferWindowPos(batch, GetDlgItem(m_dialog, id), nullptr, x, y, w, h, flags | SWP_NOZORDER);
    };
    const UINT moveOnly = SWP_NOSIZE;
    place(IDCANCEL, width - RectWidth(close) - 23, buttonY, 0, 0, moveOnly);
    place(IDC_NM_HELP, width - RectWidth(close) - RectWidth(help) - 27, buttonY, 0, 0, moveOnly);
    place(IDC_NM_SETTINGS, width - RectWidth(close) - RectWidth(help) - RectWidth(settings) - 31, buttonY, 0, 0, moveOnly);
    for (int id : {IDC_NM_SELECT_ALL, IDC_NM_SHOW, IDC_NM_HIDE})
        place(id, ChildRect(m_dialog, id).left, buttonY, 0, 0, moveOnly);
    int filtersWidth = width - filters.left - 17;
    if (filters.left + filtersWidth < clear.right + 5)
        filtersWidth = clear.right + 5 - filters.left;
    place(IDC_NM_FILTERS, filters.left, filters.top, filtersWidth, Height(filters), 0);
    place(IDC_NM_LIST, list.left, list.top, width - list.left - 17,
          (height - Height(close)) - list.top - statusHeight - 22, 0);
    if (batch)
        EndDeferWindowPos(batch);
    InvalidateRect(m_dialog, nullptr, TRUE);
}

void CNoteManagerController::OnGetMinMaxInfo(MINMAXINFO& info)
{
    const RECT clear = ChildRect(m_dialog, IDC_NM_CLEAR_FILTERS);
    info.ptMinTrackSize.x = clear.right + 5;
    info.ptMinTrackSize.y = clear.bottom + 200;
}

void CNoteManagerController::StorePlacement()
{
    if (IsIconic(m_dialog))
        return;
    CNoteManagerOptions& options = NoteManagerOptions();
    RECT rect = {};
    GetWindowRect(m_dialog, &rect);
    options.dialogMaximized = IsZoomed(m_dialog) ? 1 : 0;
    // Maximised, the last normal rectangle stays: the next opening restores to it.
    if (options.dialogMaximized)
        return;
    options.dialogXLeft = rect.left;
    options.dialogYLeft = rect.top;
    options.dialogWidth = static_cast<WORD>(RectWidth(rect));
    options.dialogHeight = static_cast<WORD>(Height(rect));
}

void CNoteManagerController::OnDestroy()
{
    RestoreSubclasses();
    CNoteManagerOptions& options = NoteManagerOptions();
    if (m_filtersSaved)
        RestoreFilters();
    if (!options.saveFilterCriteria)
        ResetFilters(false);
    // Half-replaced data files take nothing more: the close says so in error.txt only.
    if (AreDataFilesSealed())
        WriteErrorLog("CNoteManagerController::OnDestroy(): ",
                      "the Note Manager's settings were not saved, as nothing is written until the next start");
    else
        SaveNoteManagerXml();
    if (m_requestApplied && g_services.calendarWindow) {
        if (HWND calendar = g_services.calendarWindow())
            SetForegroundWindow(calendar);
    }
}
