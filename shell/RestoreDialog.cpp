#include "shell/RestoreDialog.h"

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/ResourceData.h"
#include "resources/ids/RestoreIds.h"
#include "shell/BackupDialogButtons.h"

namespace {
const DWORD kRestoreHelpTopic = 816;

struct DialogStart {
    RestoreDialogParams& params;
    const char* notice;
};

// The dialog over its parameter block, which takes the method chosen.
class CRestoreDialog {
public:
    CRestoreDialog(HWND dialog, RestoreDialogParams& params, const char* notice)
        : m_dialog(dialog), m_params(params), m_notice(notice ? notice : "")
    {
    }

    void OnInitDialog();
    void ChooseMethod(std::uint32_t method);

private:
    // The radio, the explanation and the picture of the method.
    void ShowMethod();

    HWND m_dialog;
    RestoreDialogParams& m_params;
    std::string m_notice;
};

void CRestoreDialog::OnInitDialog()
{
    SendDlgItemMessageA(m_dialog, IDC_RESTORE_ICON_APPEND, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
    SendDlgItemMessageA(m_dialog, IDC_RESTORE_ICON_REPLACE, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_WARNING)), 0);
    char count[32];
    std::snprintf(count, sizeof count, " %d ", static_cast<int>(m_params.count));
    const std::string line = ResourceText(IDS_RESTORE_THE) + count + ResourceText(IDS_RESTORE_NOTES_FROM);
    SetDlgItemTextA(m_dialog, IDC_RESTORE_COUNT_LINE, line.c_str());
    SetDlgItemTextA(m_dialog, IDC_RESTORE_QUESTION, m_params.question);
    EnableWindow(GetDlgItem(m_dialog, IDOK), m_params.count > 0);
    ShowMethod();
    SetForegroundWindow(m_dialog);
}

void CRestoreDialog::ChooseMethod(std::uint32_t method)
{
    m_params.flag = method;
    ShowMethod();
}

void CRestoreDialog::ShowMethod()
{
    const bool append = m_params.flag == 1;
    const bool replace = m_params.flag == 2;
    CheckRadioButton(m_dialog, IDC_RESTORE_APPEND, IDC_RESTORE_REPLACE,
                     replace ? IDC_RESTORE_REPLACE : append ? IDC_RESTORE_APPEND : 0);
    const std::string explanation = append    ? ResourceText(m_params.firstId)
                                    : replace ? ResourceText(m_params.secondId)
                                              : std::string("Invalid restore method");
    const std::string shown = m_notice.empty() ? explanation : m_notice + "\r\n\r\n" + explanation;
    SetDlgItemTextA(m_dialog, IDC_RESTORE_EXPLANATION, shown.c_str());
    ShowWindow(GetDlgItem(m_dialog, IDC_RESTORE_ICON_APPEND), append ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(m_dialog, IDC_RESTORE_ICON_REPLACE), replace ? SW_SHOW : SW_HIDE);
}

INT_PTR RestoreDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<CRestoreDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        auto* start = reinterpret_cast<DialogStart*>(lParam);
        state = new CRestoreDialog(dialog, start->params, start->notice);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
        state->OnInitDialog();
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        delete state;
        return FALSE;
    }
    if (OnYesNoHelp(dialog, message, wParam, kRestoreHelpTopic))
        return TRUE;
    const WORD id = LOWORD(wParam);
    if (!state || message != WM_COMMAND || (id != IDC_RESTORE_APPEND && id != IDC_RESTORE_REPLACE))
        return FALSE;
    state->ChooseMethod(id == IDC_RESTORE_APPEND ? 1 : 2);
    return TRUE;
}

INT_PTR CALLBACK RestoreDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return RestoreDialogMessage(dialog, message, wParam, lParam); });
}
}

int RunRestoreDialog(HWND owner, RestoreDialogParams& params, const char* notice)
{
    DialogStart start{params, notice};
    INT_PTR answer = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_RESTORE), owner,
                                     &RestoreDialogProc, reinterpret_cast<LPARAM>(&start));
    return answer == 1 ? 1 : 0;
}
