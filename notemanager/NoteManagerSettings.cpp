#include "notemanager/NoteManagerSettings.h"

#include <memory>

#include "foundation/CallbackGuard.h"
#include "foundation/win/ColorSwatch.h"
#include "foundation/win/HelpFile.h"
#include "globals/NoteManagerOptions.h"
#include "globals/ProgramGlobals.h"
#include "notemanager/NoteManagerController.h"
#include "resources/ids/NoteManagerIds.h"

namespace {
const DWORD kNoteManagerSettingsHelpTopic = 825;
const char kSwatchTip[] = "Click to select the colour";

struct CheckBinding {
    int id;
    DWORD CNoteManagerSettingsValues::*value;
};
const CheckBinding kChecks[] = {
    {IDC_NMS_NOTE_COLOURS, &CNoteManagerSettingsValues::paintTTBackColors},
    {IDC_NMS_BOLD_TITLE, &CNoteManagerSettingsValues::boldTitleText},
    {IDC_NMS_SHADE_HIDDEN, &CNoteManagerSettingsValues::paintHiddenBackgnd},
    {IDC_NMS_SHADE_PARKED, &CNoteManagerSettingsValues::paintParkedBackgnd},
    {IDC_NMS_SAVE_FILTERS, &CNoteManagerSettingsValues::saveFilterCriteria},
    {IDC_NMS_ON_TOP, &CNoteManagerSettingsValues::stayOnTop},
    {IDC_NMS_SMART_DATES, &CNoteManagerSettingsValues::adaptiveDateTime},
};

class CNoteManagerSettingsDialog {
public:
    CNoteManagerSettingsDialog(HWND dialog, CNoteManagerSettingsValues& values)
        : m_dialog(dialog), m_values(values), m_hidden(dialog, IDC_NMS_HIDDEN_COLOUR),
          m_parked(dialog, IDC_NMS_PARKED_COLOUR)
    {
        m_hidden.SetTooltipText(kSwatchTip);
        m_parked.SetTooltipText(kSwatchTip);
        Show();
    }

    void Show()
    {
        for (const CheckBinding& check : kChecks)
            CheckDlgButton(m_dialog, check.id, m_values.*check.value == 1 ? BST_CHECKED : BST_UNCHECKED);
        m_hidden.SetColor(m_values.paintHiddenBackColor);
        m_parked.SetColor(m_values.paintParkedBackColor);
    }

    bool OnCommand(UINT id)
    {
        for (const CheckBinding& check : kChecks) {
            if (static_cast<int>(id) == check.id) {
                m_values.*check.value = IsDlgButtonChecked(m_dialog, check.id) == BST_CHECKED ? 1 : 0;
                return true;
            }
        }
        switch (id) {
        case IDC_NMS_HIDDEN_COLOUR:
            Choose(m_hidden, m_values.paintHiddenBackColor, "Select the hidden notes background colour");
            return true;
        case IDC_NMS_PARKED_COLOUR:
            Choose(m_parked, m_values.paintParkedBackColor, "Select the parked notes background color");
            return true;
        case IDC_NMS_RESET: {
            CNoteManagerOptions standard;
            SetNoteManagerDefaults(standard);
            m_values = {standard.paintTTBackColors, standard.paintHiddenBackgnd, standard.paintParkedBackgnd,
                        standard.paintHiddenBackColor, standard.paintParkedBackColor, standard.boldTitleText,
                        standard.saveFilterCriteria, standard.stayOnTop, standard.adaptiveDateTime};
            Show();
            return true;
        }
        case IDOK:
            EndDialog(m_dialog, 1);
            return true;
        case IDCANCEL:
            EndDialog(m_dialog, 0);
            return true;
        case IDC_NMS_HELP:
            ShowHelpTopic(m_dialog, kNoteManagerSettingsHelpTopic);
            return true;
        default:
            return false;
        }
    }

private:
    void Choose(CColorSwatch& swatch, DWORD& value, const char* title)
    {
        COLORREF chosen = 0;
        if (ChooseColorForOwner(swatch, &chosen, value, title) == 1) {
            value = chosen;
            swatch.SetColor(chosen);
        }
    }

    HWND m_dialog;
    CNoteManagerSettingsValues& m_values;
    CColorSwatch m_hidden;
    CColorSwatch m_parked;
};

CNoteManagerSettingsDialog* NoteManagerSettingsOf(HWND dialog)
{
    return reinterpret_cast<CNoteManagerSettingsDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR CALLBACK NoteManagerSettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            auto* values = reinterpret_cast<CNoteManagerSettingsValues*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER,
                              reinterpret_cast<LONG_PTR>(new CNoteManagerSettingsDialog(dialog, *values)));
            return TRUE;
        }
        CNoteManagerSettingsDialog* object = NoteManagerSettingsOf(dialog);
        switch (message) {
        case WM_COMMAND:
            return object && object->OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
        case WM_HELP:
            ShowHelpTopic(dialog, kNoteManagerSettingsHelpTopic);
            return TRUE;
        case WM_SETCURSOR:
            // This dialog's own cursor; the class cursor all dialogs share stays.
            if (reinterpret_cast<HWND>(wParam) == dialog && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursor(nullptr, IDC_ARROW));
                SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            WinHelpA(dialog, "qnpost.hlp", HELP_QUIT, 0);
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            delete object;
            return TRUE;
        default:
            return FALSE;
        }
    });
}

CNoteManagerSettingsValues ValuesOf(const CNoteManagerOptions& o)
{
    return {o.paintTTBackColors, o.paintHiddenBackgnd, o.paintParkedBackgnd, o.paintHiddenBackColor,
            o.paintParkedBackColor, o.boldTitleText, o.saveFilterCriteria, o.stayOnTop, o.adaptiveDateTime};
}
}

INT_PTR RunNoteManagerSettingsDialog(HWND owner, CNoteManagerSettingsValues& values)
{
    CNoteManagerSettingsValues working = values;
    const INT_PTR answer = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_NOTE_MANAGER_SETTINGS),
                                           owner, NoteManagerSettingsDlgProc, reinterpret_cast<LPARAM>(&working));
    if (answer == 1)
        values = working;
    return answer;
}

void CNoteManagerController::OnSettings()
{
    CNoteManagerOptions& options = NoteManagerOptions();
    CNoteManagerSettingsValues values = ValuesOf(options);
    const CNoteManagerSettingsValues before = values;
    if (RunNoteManagerSettingsDialog(m_dialog, values) == 1) {
        const bool redraw = values.paintTTBackColors != before.paintTTBackColors ||
                            values.boldTitleText != before.boldTitleText ||
                            values.paintHiddenBackgnd != before.paintHiddenBackgnd ||
                            values.paintParkedBackgnd != before.paintParkedBackgnd ||
                            values.paintHiddenBackColor != before.paintHiddenBackColor ||
                            values.paintParkedBackColor != before.paintParkedBackColor ||
                            values.adaptiveDateTime != before.adaptiveDateTime;
        options.paintTTBackColors = values.paintTTBackColors;
        options.paintHiddenBackgnd = values.paintHiddenBackgnd;
        options.paintParkedBackgnd = values.paintParkedBackgnd;
        options.paintHiddenBackColor = values.paintHiddenBackColor;
        options.paintParkedBackColor = values.paintParkedBackColor;
        options.boldTitleText = values.boldTitleText;
        options.saveFilterCriteria = values.saveFilterCriteria;
        options.stayOnTop = values.stayOnTop;
        options.adaptiveDateTime = values.adaptiveDateTime;
        KeepOnTop(options.stayOnTop != 0);
        if (redraw) {
            m_createdLevel = 0;
            m_alarmLevel = 0;
            SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
            InvalidateRect(m_list, nullptr, TRUE);
            SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
        }
    }
    SetFocus(m_list);
}
