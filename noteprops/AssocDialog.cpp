#include "noteprops/AssocDialog.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "foundation/CallbackGuard.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/win/HelpFile.h"
#include "noteprops/AppAssociationsFile.h"
#include "resources/ids/AssociateNoteIds.h"

namespace {
const UINT_PTR kRefreshTimer = 10000;
const UINT kRefreshPeriodMs = 2000;
const int kLineHeight = 16;
const int kTextLeft = 25;
const int kHighlightLeft = 23;
const DWORD kAssocDialogHelpTopic = 823;
const int kAssocProgramIcon = 550;
// A program that does not answer within this time gets the program's own icon.
const UINT kIconAnswerMs = 300;
enum LineKind : DWORD { kExistingLine = 1, kWindowLine = 2 };

struct CAssocWindowInfo {
    DWORD id;
    DWORD noteId;
    int iconIndex;  // in the dialog's own image list
    char application[255];
    DWORD kind;
    char tooltipText[121];
};

struct CAssocDlg {
    HWND dialog = nullptr;
    HWND list = nullptr;
    HWND tooltip = nullptr;
    HFONT menuFont = nullptr;
    HIMAGELIST icons = nullptr;
    std::vector<std::unique_ptr<CAssocWindowInfo>> lines;
    bool hadAssociations = false;
    bool toggled = false;
    UINT_PTR timer = 0;
    DWORD noteId = 0;
};

CAssocDlg* DataOf(HWND dialog)
{
    return reinterpret_cast<CAssocDlg*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

CAssocWindowInfo* LineAt(const CAssocDlg& dlg, int item)
{
    const LRESULT data = SendMessageA(dlg.list, LB_GETITEMDATA, item, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<CAssocWindowInfo*>(data);
}

// The window's small icon, asked of its program without waiting on a hung one.
HICON AskedIcon(HWND window, WPARAM kind)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kIconAnswerMs, &answer))
        return nullptr;
    return reinterpret_cast<HICON>(answer);
}

int AddWindowIcon(HIMAGELIST icons, HWND window)
{
    if (HICON small = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM)))
        return ImageList_AddIcon(icons, small);
    if (HICON small = AskedIcon(window, ICON_SMALL))
        return ImageList_AddIcon(icons, small);
    HICON big = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    if (!big)
        big = AskedIcon(window, ICON_BIG);
    HICON copy = big ? static_cast<HICON>(CopyImage(big, IMAGE_ICON, 16, 16, 0)) : nullptr;
    if (!copy)
        copy = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAssocProgramIcon), IMAGE_ICON, 16, 16, 0));
    const int index = copy ? ImageList_AddIcon(icons, copy) : -1;
    if (copy)
        DestroyIcon(copy);
    return index;
}

void AddLine(CAssocDlg& dlg, const char* title, int iconIndex, DWORD kind, bool selected)
{
    auto info = std::make_unique<CAssocWindowInfo>();
    DWORD largest = 0;
    for (const auto& line : dlg.lines)
        largest = line->id > largest ? line->id : largest;
    info->id = dlg.lines.empty() ? 0 : largest + 1;
    info->noteId = dlg.noteId;
    info->iconIndex = iconIndex;
    std::snprintf(info->application, sizeof info->application, "%s", title);
    info->kind = kind;
    const LRESULT item = SendMessageA(dlg.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(info->application));
    if (item < 0)
        return;
    SendMessageA(dlg.list, LB_SETITEMDATA, item, reinterpret_cast<LPARAM>(info.get()));
    if (selected)
        SendMessageA(dlg.list, LB_SETSEL, TRUE, item);
    dlg.lines.push_back(std::move(info));
}

bool IsAssociatedWithNote(DWORD noteId, const char* title)
{
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        if (node->record.noteId == noteId && lstrcmpiA(node->record.application, title) == 0)
            return true;
    }
    return false;
}

// The candidate windows not listed yet; false when none was added.
bool AddCandidateWindows(CAssocDlg& dlg)
{
    char ownTitle[256] = "";
    GetWindowTextA(dlg.dialog, ownTitle, sizeof ownTitle);
    bool added = false;
    for (const AppWindow& window : CollectTopLevelWindows()) {
        const char* title = window.title.c_str();
        if (lstrcmpiA(title, ownTitle) == 0 || IsAssociatedWithNote(dlg.noteId, title) ||
            SendMessageA(dlg.list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(title)) !=
                LB_ERR)
            continue;
        AddLine(dlg, title, AddWindowIcon(dlg.icons, window.window), kWindowLine, false);
        added = true;
    }
    return added;
}

void AddExistingAssociations(CAssocDlg& dlg)
{
    for (auto* node = AppAssociationsList().GetFirst(); node; node = node->next) {
        const CAppAssociation& association = node->record;
        if (association.noteId != dlg.noteId)
            continue;
        dlg.hadAssociations = true;
        int icon = -1;
        if (HICON stored = association.iconIndex >= 0
                               ? ImageList_GetIcon(AppIconImageList(), association.iconIndex, ILD_TRANSPARENT)
                               : nullptr) {
            icon = ImageList_AddIcon(dlg.icons, stored);
            DestroyIcon(stored);
        }
        AddLine(dlg, association.application, icon, kExistingLine, true);
    }
}

void UpdateOkButton(const CAssocDlg& dlg)
{
    const LRESULT selected = SendMessageA(dlg.list, LB_GETSELCOUNT, 0, 0);
    EnableWindow(GetDlgItem(dlg.dialog, IDOK), dlg.hadAssociations || selected > 0);
}

void RebuildTooltipTexts(CAssocDlg& dlg)
{
    const LRESULT count = SendMessageA(dlg.list, LB_GETCOUNT, 0, 0);
    for (int item = 0; item < count; ++item) {
        CAssocWindowInfo* info = LineAt(dlg, item);
        if (!info)
            continue;
        if (SendMessageA(dlg.list, LB_GETSEL, item, 0) > 0)
            std::snprintf(info->tooltipText, sizeof info->tooltipText,
                          "Click or press the 'Space' key to reset the association");
        else
            std::snprintf(info->tooltipText, sizeof info->tooltipText,
                          "%s or press the 'Space' key to associate note with\r\n'%s'",
                          dlg.toggled ? "Click" : "Left click", info->application);
    }
    SendMessageA(dlg.tooltip, TTM_UPDATE, 0, 0);
}

void CreateTooltip(CAssocDlg& dlg)
{
    dlg.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dlg.dialog, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!dlg.tooltip)
        return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dlg.dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(dlg.list);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(dlg.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(dlg.tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
}

// The tooltip speaks of the line under the pointer.
void FillTooltipText(CAssocDlg& dlg, NMTTDISPINFOA& info)
{
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(dlg.list, &point);
    const LRESULT hit = SendMessageA(dlg.list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    CAssocWindowInfo* line = HIWORD(hit) ? nullptr : LineAt(dlg, LOWORD(hit));
    info.lpszText = line ? line->tooltipText : const_cast<char*>("");
}

void InitAssocDialog(HWND dialog, DWORD noteId)
{
    auto* dlg = new CAssocDlg;
    dlg->dialog = dialog;
    dlg->noteId = noteId;
    dlg->list = GetDlgItem(dialog, IDC_ASSOCIATE_LIST);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(dlg));
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        dlg->menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    dlg->icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 20, 1);
    RECT bounds{};
    GetClientRect(dlg->list, &bounds);
    SendMessageA(dlg->list, LB_SETHORIZONTALEXTENT, (bounds.right - bounds.left) * 3 / 2, 0);
    AddCandidateWindows(*dlg);
    AddExistingAssociations(*dlg);
    UpdateOkButton(*dlg);
    CreateTooltip(*dlg);
    RebuildTooltipTexts(*dlg);
    SetFocus(dlg->list);
    dlg->timer = SetTimer(dialog, kRefreshTimer, kRefreshPeriodMs, nullptr);
}

void DrawAssocListLine(const CAssocDlg& dlg, const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1))
        return;
    HDC dc = item.hDC;
    RECT line = item.rcItem;
    const bool marked = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &line, GetSysColorBrush(COLOR_WINDOW));
    RECT highlight = line;
    highlight.left += kHighlightLeft;
    if (marked)
        FillRect(dc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
    const CAssocWindowInfo* info = reinterpret_cast<const CAssocWindowInfo*>(item.itemData);
    if (info && info->iconIndex >= 0)
        ImageList_Draw(dlg.icons, info->iconIndex, dc, line.left + 2, line.top, ILD_TRANSPARENT);
    char text[256] = "";
    if (SendMessageA(dlg.list, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text)) == LB_ERR)
        std::snprintf(text, sizeof text, "Error reading listbox content");
    HGDIOBJ oldFont = dlg.menuFont ? SelectObject(dc, dlg.menuFont) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT textArea = line;
    textArea.left += kTextLeft;
    DrawTextA(dc, text, -1, &textArea, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (oldFont)
        SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &highlight);
}

void OnAssocOk(CAssocDlg& dlg)
{
    if (dlg.hadAssociations)
        RemoveNoteAssociations(AppAssociationsList(), dlg.noteId);
    const LRESULT count = SendMessageA(dlg.list, LB_GETCOUNT, 0, 0);
    for (int item = 0; item < count; ++item) {
        const CAssocWindowInfo* line = LineAt(dlg, item);
        if (!line || SendMessageA(dlg.list, LB_GETSEL, item, 0) <= 0)
            continue;
        CAppAssociation association;
        association.id = static_cast<DWORD>(AppAssociationsList().NextFreeId());
        association.noteId = dlg.noteId;
        std::snprintf(association.application, sizeof association.application, "%s", line->application);
        if (HICON icon = line->iconIndex >= 0 ? ImageList_GetIcon(dlg.icons, line->iconIndex, ILD_TRANSPARENT)
                                              : nullptr) {
            association.iconIndex = ImageList_AddIcon(AppIconImageList(), icon);
            DestroyIcon(icon);
        }
        association.shown = 0;
        AppAssociationsList().AddToTail(association);
    }
    EndDialog(dlg.dialog, 1);
}

void OnAssocDestroy(HWND dialog)
{
    CAssocDlg* dlg = DataOf(dialog);
    if (!dlg)
        return;
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    if (dlg->timer)
        KillTimer(dialog, kRefreshTimer);
    if (dlg->menuFont)
        DeleteObject(dlg->menuFont);
    if (dlg->icons)
        ImageList_Destroy(dlg->icons);
    delete dlg;
}

INT_PTR OnAssocCommand(CAssocDlg& dlg, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        OnAssocOk(dlg);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg.dialog, 0);
        return TRUE;
    case IDC_ASSOCIATE_HELP:
        SetWindowPos(dlg.dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowHelpTopic(dlg.dialog, kAssocDialogHelpTopic);
        return TRUE;
    case IDC_ASSOCIATE_LIST:
        if (HIWORD(wParam) == LBN_SELCHANGE) {
            dlg.toggled = true;
            UpdateOkButton(dlg);
            RebuildTooltipTexts(dlg);
        } else if (HIWORD(wParam) == LBN_DBLCLK) {
            OnAssocOk(dlg);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR AssocDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        InitAssocDialog(dialog, static_cast<DWORD>(lParam));
        return FALSE;
    }
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kLineHeight;
        return TRUE;
    }
    if (message == WM_DESTROY) {
        OnAssocDestroy(dialog);
        return FALSE;
    }
    CAssocDlg* dlg = DataOf(dialog);
    if (!dlg)
        return FALSE;
    switch (message) {
    case WM_DRAWITEM:
        DrawAssocListLine(*dlg, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == kRefreshTimer && AddCandidateWindows(*dlg))
            RebuildTooltipTexts(*dlg);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOA)
            FillTooltipText(*dlg, *reinterpret_cast<NMTTDISPINFOA*>(lParam));
        return FALSE;
    case WM_COMMAND:
        return OnAssocCommand(*dlg, wParam);
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK AssocDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return AssocDialogMessage(dialog, message, wParam, lParam); });
}

int RunAssocDialog(HWND owner, DWORD noteId)
{
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ASSOCIATE_NOTE), owner,
                                           AssocDlgProc, static_cast<LPARAM>(noteId));
    return result == 1 ? 1 : 0;
}
