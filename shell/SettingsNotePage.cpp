// The Note page of the settings sheet: how often modified notes are saved,
// how dates are shown (with a preview of today), the width of the Tab key,
// the menus' look, where hotkey notes appear, the quick launch of links and
// the note's title-bar button. The Tab width is checked as its edit is left
// for another control of the sheet, and whenever the page is left or the
// sheet closed with OK.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/FormatSettings.h"
#include "foundation/win/CoolMenu.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/WindowHelpers.h"
#include "resources/ids/NotePageIds.h"
#include "shell/SettingsNumberEdit.h"
#include "shell/SettingsPageControls.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPages.h"

namespace {
CNotePageData* SettingsNotePageDataOf(HWND page)
{
    return reinterpret_cast<CNotePageData*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

void ShowInterval(HWND page, WORD minutes)
{
    char text[32];
    if (minutes == 1)
        std::snprintf(text, sizeof text, "1 minute");
    else
        std::snprintf(text, sizeof text, "%u minutes", static_cast<unsigned>(minutes));
    SetDlgItemTextA(page, IDC_NOTE_SAVE_INTERVAL, text);
}

// Today as notes will show it, and the format's radio button checked.
void ShowDatePreview(HWND page, const CNotePageData& data)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[128] = "";
    if (data.dateFormat == 2 || data.dateFormat == 3) {
        GetDateFormatA(LOCALE_USER_DEFAULT, data.dateFormat == 2 ? DATE_SHORTDATE : DATE_LONGDATE, &now, nullptr, date,
                       sizeof date);
    } else {
        std::snprintf(date, sizeof date, "%.50s %2d, %4d", MonthNames[now.wMonth <= 12 ? now.wMonth : 0], now.wDay,
                      now.wYear);
    }
    std::string text = date;
    if (data.includeTime) {
        char time[64] = "";
        GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &now, nullptr, time, sizeof time);
        text += ", ";
        text += time;
    }
    SetDlgItemTextA(page, IDC_NOTE_DATE_PREVIEW, text.c_str());
    CheckRadioButton(page, IDC_NOTE_DATE_DEFAULT, IDC_NOTE_DATE_LONG, IDC_NOTE_DATE_DEFAULT + data.dateFormat - 1);
}

// Every control but the menu-style check from the object.
void ShowNoteValues(HWND page, const CNotePageData& data)
{
    CheckItem(page, IDC_NOTE_NEAR_CURSOR, data.notesNearMouse);
    CheckItem(page, IDC_NOTE_TITLE_BUTTON, data.titleButton);
    CheckItem(page, IDC_NOTE_QUICK_LAUNCH, data.quickLaunch);
    CheckItem(page, IDC_NOTE_INCLUDE_TIME, data.includeTime);
    SetDlgItemInt(page, IDC_NOTE_TAB_WIDTH, data.tabWidth, FALSE);
    SendDlgItemMessageA(page, IDC_NOTE_SAVE_SLIDER, TBM_SETPOS, TRUE, data.saveInterval);
    ShowInterval(page, data.saveInterval);
    ShowDatePreview(page, data);
}

// The picture of the title-bar button in the look the notes have.
void ShowTitleButtonPicture(HWND page)
{
    const CoolMenuLook& look = GetCoolMenuLook();
    const int shown = look.vistaTheme ? IDC_NOTE_BUTTON_VISTA : look.xpScheme ? IDC_NOTE_BUTTON_XP : IDC_NOTE_BUTTON_CLASSIC;
    const struct {
        int control;
        int icon;
    } pictures[] = {{IDC_NOTE_BUTTON_CLASSIC, IDI_TITLE_BUTTON_CLASSIC},
                    {IDC_NOTE_BUTTON_XP, IDI_TITLE_BUTTON_XP},
                    {IDC_NOTE_BUTTON_VISTA, IDI_TITLE_BUTTON_VISTA}};
    for (const auto& picture : pictures) {
        HWND control = GetDlgItem(page, picture.control);
        if (picture.control != shown) {
            ShowWindow(control, SW_HIDE);
            continue;
        }
        HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(picture.icon), IMAGE_ICON, 16, 16,
                                 LR_SHARED);
        SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
}

// The typed Tab width into the object; false, after telling the user, for 0
// or nothing (the edit takes one digit, so nothing above 9 comes).
bool TakeTabWidth(HWND page, CNotePageData& data)
{
    unsigned width = ReadNumberEdit(page, IDC_NOTE_TAB_WIDTH);
    if (width == 0) {
        RefuseZeroInEdit(page, IDC_NOTE_TAB_WIDTH);
        return false;
    }
    data.tabWidth = width;
    return true;
}

// The Tab width checked as soon as its edit is left for another control; a
// click on a tab leaves the word to the check of the page being left.
void CheckTabWidthOnLeaving(HWND edit, HWND gaining)
{
    HWND page = GetParent(edit);
    CNotePageData* data = SettingsNotePageDataOf(page);
    if (data && !IsSheetTabs(page, gaining))
        TakeTabWidth(page, *data);
}

void InitNotePage(HWND page, CNotePageData* data)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    HWND sheet = GetParent(page);
    CenterWindowOverWindow(sheet, GetDesktopWindow());
    CheckItem(page, IDC_NOTE_XP_MENUS, data->menuStyle != 1);
    ShowTitleButtonPicture(page);

    PlaceNumberEdit(page, IDC_NOTE_TAB_WIDTH, IDC_NOTE_TAB_SPIN, "7", 1, 9);
    SendDlgItemMessageA(page, IDC_NOTE_TAB_WIDTH, EM_LIMITTEXT, 1, 0);
    SubclassPageEdit(GetDlgItem(page, IDC_NOTE_TAB_WIDTH), PageEditChars::kOneDigit, &CheckTabWidthOnLeaving);

    HWND slider = GetDlgItem(page, IDC_NOTE_SAVE_SLIDER);
    SendMessageA(slider, TBM_SETTICFREQ, 2, 0);
    SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(data->sliderMinimum, data->sliderMaximum));
    SendMessageA(slider, TBM_SETLINESIZE, 0, 2);
    SendMessageA(slider, TBM_SETPAGESIZE, 0, 2);
    SetDlgItemInt(page, IDC_NOTE_SAVE_MIN, data->sliderMinimum, FALSE);
    SetDlgItemInt(page, IDC_NOTE_SAVE_MAX, data->sliderMaximum, FALSE);
    ShowNoteValues(page, *data);
    SetWindowPos(sheet, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ToggleTitleButton(HWND page, CNotePageData& data)
{
    data.titleButton = ItemChecked(page, IDC_NOTE_TITLE_BUTTON) ? 0 : 1;
    CheckItem(page, IDC_NOTE_TITLE_BUTTON, data.titleButton);
}

void OnNotePageCommand(HWND page, CNotePageData& data, int id, int code)
{
    switch (id) {
    case IDC_NOTE_DATE_DEFAULT:
    case IDC_NOTE_DATE_SHORT:
    case IDC_NOTE_DATE_LONG:
        data.dateFormat = static_cast<BYTE>(id - IDC_NOTE_DATE_DEFAULT + 1);
        ShowDatePreview(page, data);
        break;
    case IDC_NOTE_INCLUDE_TIME:
        data.includeTime = ItemChecked(page, id);
        ShowDatePreview(page, data);
        break;
    case IDC_NOTE_NEAR_CURSOR:
        data.notesNearMouse = ItemChecked(page, id);
        break;
    case IDC_NOTE_XP_MENUS:
        data.menuStyle = ItemChecked(page, id) ? 2 : 1;
        break;
    case IDC_NOTE_QUICK_LAUNCH:
        data.quickLaunch = ItemChecked(page, id);
        break;
    case IDC_NOTE_TITLE_BUTTON:
        data.titleButton = ItemChecked(page, id);
        break;
    case IDC_NOTE_BUTTON_CLASSIC:
    case IDC_NOTE_BUTTON_XP:
    case IDC_NOTE_BUTTON_CORNER:
    case IDC_NOTE_BUTTON_TEXT:
    case IDC_NOTE_BUTTON_VISTA:
        if (code == STN_CLICKED || code == STN_DBLCLK)
            ToggleTitleButton(page, data);
        break;
    case IDC_NOTE_RESET:
        if (code == BN_CLICKED) {
            TakeStandardNoteValues(data);
            ShowNoteValues(page, data);
        }
        break;
    default:
        break;
    }
}

INT_PTR SettingsNotePageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitNotePage(page, PageCreationData<CNotePageData>(lParam));
        return TRUE;
    case WM_HELP:
        ShowHelpTopic(GetParent(page), IDH_NOTE_PAGE);
        return TRUE;
    default:
        break;
    }
    CNotePageData* data = SettingsNotePageDataOf(page);
    if (!data)
        return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return AnswerPageNotify(page, reinterpret_cast<const NMHDR*>(lParam)->code, data->applied, IDH_NOTE_PAGE,
                                [&] { return TakeTabWidth(page, *data); });
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_NOTE_SAVE_SLIDER)) {
            data->saveInterval = static_cast<WORD>(SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0));
            ShowInterval(page, data->saveInterval);
        }
        return TRUE;
    case WM_COMMAND:
        OnNotePageCommand(page, *data, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        SetWindowLongPtrA(page, GWLP_USERDATA, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK NotePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return SettingsNotePageMessage(page, message, wParam, lParam); });
}
