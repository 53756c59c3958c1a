// The calendar settings dialog's controls: what each one sets in the working
// settings, the hotkey with its conflict check, transparency, the background
// kinds, reset and help.
#include "calendar/CalendarSettingsDlgWnd.h"

#include <commctrl.h>

#include <cstdio>

#include "calendar/CalendarSettingsDlg.h"
#include "calendar/controls/CalendarMessages.h"
#include "foundation/GenericString.h"
#include "foundation/StartupValues.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/HoverButton.h"
#include "foundation/win/Tooltips.h"
#include "globals/GlobalTexts.h"
#include "resources/ids/CalendarIds.h"
#include "resources/ids/CalendarSettingsIds.h"

namespace {
const char kCalendarHotkeyName[] = "Calendar";
const char kHotkeyDialogTitle[] = "Calendar...";
const char kEnableHotkeyTip[] = "Click to enable the hotkey";
const char kDisableHotkeyTip[] = "Click to disable the hotkey";
const int kTransparencyMax = 90;

// The check boxes and the flag of the working settings each one sets.
struct CalendarFlagBox {
    int id;
    DWORD CCalendarStyle::*flag;
};
const CalendarFlagBox kCalendarFlagBoxes[] = {
    {IDC_CALSET_ON_TOP, &CCalendarStyle::stayOnTop},
    {IDC_CALSET_BORDER, &CCalendarStyle::hasBorder},
    {IDC_CALSET_ROLL_UP, &CCalendarStyle::rollUp},
    {IDC_CALSET_AUTO_RESIZE, &CCalendarStyle::automaticResizing},
    {IDC_CALSET_GRID, &CCalendarStyle::showGrid},
    {IDC_CALSET_OTHER_DAYS, &CCalendarStyle::showOtherDays},
    {IDC_CALSET_ALARM_BOLD, &CCalendarStyle::daysWithAlarmBold},
    {IDC_CALSET_ALARM_UNDERLINE, &CCalendarStyle::daysWithAlarmUnderline},
    {IDC_CALSET_ALARM_SHADE, &CCalendarStyle::daysWithAlarmIsShade},
    {IDC_CALSET_HOTKEY_ON, &CCalendarStyle::hotkeyAllow},
};

bool IsStyleButtonId(WORD id)
{
    return (id >= IDC_CALSET_STYLE_1 && id <= IDC_CALSET_STYLE_4) || (id >= IDC_CALSET_STYLE_5 && id <= IDC_CALSET_STYLE_9);
}

bool IsPreviewPartId(WORD id)
{
    return id == IDC_CAL_TITLE || (id >= IDC_CAL_PREV_MONTH && id <= IDC_CAL_PREV_YEAR) || (id >= IDC_CAL_WEEKDAY && id < IDC_CAL_WEEKDAY + 7) ||
           (id >= IDC_CAL_DAY && id < IDC_CAL_DAY + 42);
}

// Positions 1 to 4 go down to the ten below and 6 to 9 up to the ten above;
// a position ending in 5 stays.
int RoundTransparency(int position)
{
    const int rest = position % 10;
    if (rest >= 6)
        return position - rest + 10;
    if (rest >= 1 && rest <= 4)
        return position - rest;
    return position;
}
}

CCalendarSettingsWnd::CCalendarSettingsWnd(HWND dialog, CCalendarSettingsDlg& record)
    : m_dialog(dialog), m_record(record), m_settings(record.settings)
{
}

CCalendarSettingsWnd::~CCalendarSettingsWnd()
{
    // The preview's parts give their windows back before the tooltips go.
    m_grid.reset();
    m_frame.reset();
    for (HWND tip : {m_hotkeyTip, m_comboTip, m_regionTip, m_captionTextTip, m_captionBackTip}) {
        if (tip)
            DestroyWindow(tip);
    }
}

void CCalendarSettingsWnd::OnInitDialog()
{
    m_shadeSwatch = std::make_unique<CColorSwatch>(m_dialog, IDC_CALSET_SHADE_COLOR);
    m_hotkeyButton = std::make_unique<CLinkStatic>(m_dialog, IDC_CALSET_HOTKEY);
    m_hotkeyTip = CreateTooltipControl(m_dialog);
    m_comboTip = CreateTooltipControl(m_dialog);
    SetControlsFromRecord();
    BuildPreview();
    if (m_comboTip)
        AddTooltipSubclass(m_comboTip, m_comboTipText, m_dialog, GetDlgItem(m_dialog, IDC_CALSET_BACKGROUND));
    LoadStyleButtons();
}

bool CCalendarSettingsWnd::IsChecked(int id) const
{
    return IsDlgButtonChecked(m_dialog, id) == BST_CHECKED;
}

void CCalendarSettingsWnd::Check(int id, DWORD value) const
{
    CheckDlgButton(m_dialog, id, value == 1 ? BST_CHECKED : BST_UNCHECKED);
}

// Every control shows the working settings; a flag is on only when it holds 1.
void CCalendarSettingsWnd::SetControlsFromRecord()
{
    CheckRadioButton(m_dialog, IDC_CALSET_SUNDAY, IDC_CALSET_MONDAY,
                     m_settings.firstDayOfWeek == 6 ? IDC_CALSET_SUNDAY : IDC_CALSET_MONDAY);
    const int months = m_settings.nrOfMonthsToShow >= 1 && m_settings.nrOfMonthsToShow <= 3 ? m_settings.nrOfMonthsToShow : 1;
    CheckRadioButton(m_dialog, IDC_CALSET_ONE_MONTH, IDC_CALSET_FOUR_MONTHS, IDC_CALSET_ONE_MONTH + months - 1);
    for (const CalendarFlagBox& box : kCalendarFlagBoxes)
        Check(box.id, m_settings.*box.flag);
    m_shadeSwatch->SetColor(m_settings.daysWithAlarmShadeColor);
    RefreshHotkey();
    SetUpTransparency();
    SelectBackground();
}

void CCalendarSettingsWnd::RefreshHotkey()
{
    CGenericString text;
    HotkeyToText(text, m_settings.hotkeyCtrl != 0, m_settings.hotkeyAlt != 0, m_settings.hotkeyShift != 0,
                 m_settings.hotkeyKey);
    HWND button = m_hotkeyButton->GetWindow();
    char buffer[250];
    std::snprintf(buffer, sizeof buffer, "%s", text.GetString());
    SetWindowTextA(button, buffer);
    const bool on = IsChecked(IDC_CALSET_HOTKEY_ON);
    EnableWindow(button, on);
    if (on)
        InvalidateRect(button, nullptr, TRUE);
    HWND check = GetDlgItem(m_dialog, IDC_CALSET_HOTKEY_ON);
    const char* tip = on ? kDisableHotkeyTip : kEnableHotkeyTip;
    if (!m_hotkeyTip)
        return;
    if (!SendMessageA(m_hotkeyTip, TTM_GETTOOLCOUNT, 0, 0))
        AddTooltipSubclass(m_hotkeyTip, tip, m_dialog, check);
    else
        UpdateTooltipSubclassText(m_hotkeyTip, tip, m_dialog, check);
}

// The new combination stays in the working settings even when another hotkey
// has it: the user is told, and changes it again when he wants.
void CCalendarSettingsWnd::ChooseHotkey()
{
    const CalendarHotkeyServices& services = GetCalendarHotkeyServices();
    if (!services.askForKeys)
        return;
    DWORD ctrl = m_settings.hotkeyCtrl, alt = m_settings.hotkeyAlt, shift = m_settings.hotkeyShift;
    DWORD key = m_settings.hotkeyKey;
    if (!services.askForKeys(m_dialog, kHotkeyDialogTitle, 0, ctrl, alt, shift, key))
        return;
    m_settings.hotkeyCtrl = ctrl;
    m_settings.hotkeyAlt = alt;
    m_settings.hotkeyShift = shift;
    m_settings.hotkeyKey = key;
    RefreshHotkey();
    if (services.checkConflict)
        services.checkConflict(m_dialog, m_record.groups, m_record.actions, kCalendarHotkeyName, -1, ctrl, alt, shift,
                               key);
}

void CCalendarSettingsWnd::SetUpTransparency()
{
    HWND bar = GetDlgItem(m_dialog, IDC_CALSET_TRANSPARENCY);
    SendMessageA(bar, TBM_SETTICFREQ, 5, 0);
    SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, kTransparencyMax));
    SendMessageA(bar, TBM_SETLINESIZE, 0, 5);
    SendMessageA(bar, TBM_SETPAGESIZE, 0, 5);
    SendMessageA(bar, TBM_SETPOS, TRUE, m_settings.transparency);
    OnTransparencyScroll();
    EnableTransparency();
}

// The label shows the position rounded to tens (a five stays), and the
// working settings keep what the label shows.
void CCalendarSettingsWnd::OnTransparencyScroll()
{
    HWND bar = GetDlgItem(m_dialog, IDC_CALSET_TRANSPARENCY);
    int position = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
    if (position < 0)
        position = 0;
    if (position > kTransparencyMax)
        position = kTransparencyMax;
    position = RoundTransparency(position);
    if (position != SendMessageA(bar, TBM_GETPOS, 0, 0))
        SendMessageA(bar, TBM_SETPOS, TRUE, position);
    m_settings.transparency = static_cast<BYTE>(position);
    char label[64];
    std::snprintf(label, sizeof label, "&Transparency         (%d%%)", position);
    SetDlgItemTextA(m_dialog, IDC_CALSET_TRANSPARENCY_LABEL, label);
}

// A see-through calendar needs layered windows; a colour-keyed calendar has
// no transparency of its own.
void CCalendarSettingsWnd::EnableTransparency()
{
    const bool enable = GetStartupValues().layeredWindows && m_settings.backgroundType != 5;
    EnableWindow(GetDlgItem(m_dialog, IDC_CALSET_TRANSPARENCY), enable);
    EnableWindow(GetDlgItem(m_dialog, IDC_CALSET_TRANSPARENCY_LABEL), enable);
}

void CCalendarSettingsWnd::SelectBackground()
{
    HWND combo = GetDlgItem(m_dialog, IDC_CALSET_BACKGROUND);
    if (!SendMessageA(combo, CB_GETCOUNT, 0, 0)) {
        for (const char* kind : SnoozeChoices().backgroundKinds)
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    }
    SendMessageA(combo, CB_SETCURSEL, m_settings.backgroundType <= 5 ? m_settings.backgroundType : 0, 0);
    UpdateBackgroundTips();
}

bool CCalendarSettingsWnd::OnFlagCommand(WORD id)
{
    for (const CalendarFlagBox& box : kCalendarFlagBoxes) {
        if (box.id != id)
            continue;
        if (id == IDC_CALSET_OTHER_DAYS) {
            OnOtherDays();
            return true;
        }
        m_settings.*box.flag = IsChecked(id) ? 1 : 0;
        switch (id) {
        case IDC_CALSET_ON_TOP:
        case IDC_CALSET_BORDER:
            Redraw();
            break;
        case IDC_CALSET_ROLL_UP:
            ShowRolledUp();
            LayOutPreview();
            Redraw();
            break;
        case IDC_CALSET_HOTKEY_ON:
            RefreshHotkey();
            break;
        case IDC_CALSET_GRID:
            RepaintCells();
            break;
        case IDC_CALSET_ALARM_BOLD:
        case IDC_CALSET_ALARM_UNDERLINE:
        case IDC_CALSET_ALARM_SHADE:
            ApplyLookToPreview();
            Redraw();
            break;
        default:
            break;
        }
        return true;
    }
    return false;
}

void CCalendarSettingsWnd::OnFirstDay(BYTE day)
{
    m_settings.firstDayOfWeek = day;
    m_grid->SetWeekStartsOnSunday(day == 6);
    FillPreviewMonth();
    LayOutPreview();
    Redraw();
}

void CCalendarSettingsWnd::OnOtherDays()
{
    m_settings.showOtherDays = IsChecked(IDC_CALSET_OTHER_DAYS) ? 1 : 0;
    m_grid->SetShowOtherDays(m_settings.showOtherDays == 1);
    FillPreviewMonth();
    LayOutPreview();
    Redraw();
}

void CCalendarSettingsWnd::ChooseShadeColor()
{
    COLORREF color = m_settings.daysWithAlarmShadeColor;
    if (!ChooseColorForOwner(*m_shadeSwatch, &color, color, "Select the background color of the days with alarm set"))
        return;
    m_settings.daysWithAlarmShadeColor = color;
    m_shadeSwatch->SetColor(color);
    ApplyLookToPreview();
    Redraw();
}

void CCalendarSettingsWnd::OnCommand(WORD id, WORD notification, LPARAM lParam)
{
    if (OnFlagCommand(id))
        return;
    if (IsStyleButtonId(id)) {
        if (notification == BN_CLICKED) {
            if (CDlgCalendarStyleButton* button = StyleButtonOf(reinterpret_cast<HWND>(lParam)))
                ApplyStyle(button->GetIndex());
        }
        return;
    }
    if (IsPreviewPartId(id)) {
        if (notification == BN_CLICKED)
            ChooseTextColorAndFont(GetKeyState(VK_CONTROL) < 0);
        return;
    }
    switch (id) {
    case IDC_CALSET_HOTKEY:
        if (notification == BN_CLICKED)
            ChooseHotkey();
        break;
    case IDC_CALSET_SUNDAY:
    case IDC_CALSET_MONDAY:
        if (notification == BN_CLICKED)
            OnFirstDay(id == IDC_CALSET_SUNDAY ? 6 : 0);
        break;
    case IDC_CALSET_ONE_MONTH:
    case IDC_CALSET_THREE_MONTHS:
    case IDC_CALSET_FOUR_MONTHS:
        if (notification == BN_CLICKED)
            m_settings.nrOfMonthsToShow = static_cast<BYTE>(id - IDC_CALSET_ONE_MONTH + 1);
        break;
    case IDC_CALSET_SHADE_COLOR:
        ChooseShadeColor();
        break;
    case IDC_CALSET_BACKGROUND:
        if (notification == CBN_SELENDOK)
            OnBackgroundCombo();
        break;
    case IDC_CALSET_RESET:
        if (notification == BN_CLICKED)
            ResetToStandard();
        break;
    case ID_CALSTYLE_SAVE:
        SaveStyle(static_cast<int>(lParam));
        break;
    case ID_CALSTYLE_RESET:
        ResetStyle(static_cast<int>(lParam));
        break;
    case ID_CALSTYLE_UNDO:
        UndoStyle(static_cast<int>(lParam));
        break;
    case IDOK:
        EndDialog(m_dialog, 1);
        break;
    case IDCANCEL:
        EndDialog(m_dialog, 0);
        break;
    case IDC_CALSET_HELP:
        ShowHelp();
        break;
    default:
        break;
    }
}

void CCalendarSettingsWnd::ShowHelp()
{
    if (!OpenHelpWindow(kHelpContext, IDH_CALENDAR_SETTINGS))
        ShowMessageBox(GetFocus(), "Unable to activate help", "", kMbIconHand);
}

bool CCalendarSettingsWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result)
{
    *result = TRUE;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(m_dialog, &paint);
        EndPaint(m_dialog, &paint);
        return true;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_MENU)
            return true;
        if (item.CtlID == IDC_CALSET_HOTKEY) {
            m_hotkeyButton->DrawOwnerDrawListItem(item);
            return true;
        }
        return DrawItem(item);
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code != TTN_NEEDTEXTA)
            return false;
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (const char* text = RegionTipText(static_cast<UINT>(header->idFrom)))
            info->lpszText = const_cast<char*>(text);
        return true;
    }
    case WM_HELP:
        ShowHelp();
        return true;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), lParam);
        return true;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(m_dialog, IDC_CALSET_TRANSPARENCY))
            OnTransparencyScroll();
        return true;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != m_dialog || LOWORD(lParam) != HTCLIENT || !OnSetCursor())
            return false;
        SetWindowLongPtrA(m_dialog, DWLP_MSGRESULT, TRUE);
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A quick second click counts as a click of its own.
        OnLeftButtonDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
                         (wParam & MK_CONTROL) != 0);
        return true;
    case kMsgPaintButtonBackground:
        PaintPartBackground(*reinterpret_cast<const HoverButtonBackground*>(lParam));
        return true;
    case kMsgPaintStaticFace:
        PaintFrameFace(reinterpret_cast<const HoverButtonBackground*>(lParam)->dc);
        return true;
    default:
        return false;
    }
}
