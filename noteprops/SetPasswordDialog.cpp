#include "noteprops/SetPasswordDialog.h"

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/Subclassing.h"
#include "foundation/win/SystemProbes.h"
#include "noteprops/ProtectedContent.h"
#include "resources/ids/SetPasswordIds.h"
#include "globals/MainWindowMessages.h"
#include "shell/bytes/StartupPasswordCode.h"

namespace {
const int kSetPasswordTypedLimit = 100;
const char kControlProperty[] = "QnSetPasswordControl";
// Posted when an edit has lost the focus: its check runs once the focus has moved.
const UINT kMsgCheckOldPassword = WM_APP + 1;
const UINT kMsgCheckConfirmation = WM_APP + 2;
const int kSubclassed[] = {IDC_SET_PASSWORD_OLD, IDC_SET_PASSWORD_NEW, IDC_SET_PASSWORD_CONFIRM, IDCANCEL,
                           IDC_SET_PASSWORD_HELP};
const int kSubclassedCount = sizeof kSubclassed / sizeof kSubclassed[0];
const char kMismatchOld[] = "Sorry, the password you have typed does not match the existing password.\r\n\r\n"
                            "Unless you provide the existing password first, you cannot alter it.";
const char kMismatchNew[] = "The 'new password' does not match the 'confirm new password'.";
}

// The dialog while it is open, kept in its user data.
class CPasswordDialog {
public:
    CPasswordDialog(HWND dialog, PasswordDialogBlock& block)
        : m_dialog(dialog), m_block(block), m_link(dialog, IDC_SET_PASSWORD_LINK)
    {
    }
    ~CPasswordDialog()
    {
        for (int i = 0; i < kSubclassedCount; ++i)
            RestoreWindowProc(GetDlgItem(m_dialog, kSubclassed[i]), kControlProperty, m_previous[i]);
    }
    CPasswordDialog(const CPasswordDialog&) = delete;
    CPasswordDialog& operator=(const CPasswordDialog&) = delete;

    void OnInitDialog();
    bool OnCommand(UINT id, UINT code);
    void CheckOldPassword();
    void CheckConfirmation();
    void OpenHelp();
    bool DrawLink(const DRAWITEMSTRUCT& item);
    void EndHover() { m_link.EndHover(); }
    void OnParentNotify(WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnControlMessage(HWND control, int index, UINT message, WPARAM wParam, LPARAM lParam);
    std::string Typed(int id) const;
    bool OldPasswordMatches() const;
    void EnableNewEdits(bool enable);
    void Enable(int id, bool enable) { EnableWindow(GetDlgItem(m_dialog, id), enable); }
    void Focus(int id) { SetFocus(GetDlgItem(m_dialog, id)); }
    void OnOk();

    HWND m_dialog;
    PasswordDialogBlock& m_block;
    CLinkStatic m_link;
    CGdiFont m_font;
    WNDPROC m_previous[kSubclassedCount] = {};
    bool m_buttonPressed = false;  // a mouse press on Cancel, Help or the link: no focus checks
};

void CPasswordDialog::OnInitDialog()
{
    for (int i = 0; i < kSubclassedCount; ++i)
        m_previous[i] = SubclassWindow(GetDlgItem(m_dialog, kSubclassed[i]), kControlProperty, this, &ControlProc);
    for (int id : {IDC_SET_PASSWORD_OLD, IDC_SET_PASSWORD_NEW, IDC_SET_PASSWORD_CONFIRM}) {
        SetDlgItemTextA(m_dialog, id, "");
        SendDlgItemMessageA(m_dialog, id, EM_LIMITTEXT, kSetPasswordTypedLimit, 0);
    }
    const bool hasPassword = m_block.digest[0] != '\0';
    EnableNewEdits(!hasPassword);
    Enable(IDC_SET_PASSWORD_OLD, hasPassword);
    Enable(IDC_SET_PASSWORD_OK, false);
    SetWindowTextA(m_dialog, m_block.caption);
    SetDlgItemTextA(m_dialog, IDC_SET_PASSWORD_LINK, "Password Recovery Service");
    const int scheme = GetXpColorScheme();
    m_link.SetBackgroundColor(scheme == 1 || scheme == 2 ? RGB(0xEC, 0xE9, 0xD8) : GetSysColor(COLOR_BTNFACE));
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    if ((windows.isWindowsXp || windows.isVistaOrLater) && windows.commonControlsMajor >= 6) {
        m_font.ChangeLogFont(LOGFONTA{-11, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"});
        for (int id : {IDC_SET_PASSWORD_OLD, IDC_SET_PASSWORD_NEW, IDC_SET_PASSWORD_CONFIRM})
            SendDlgItemMessageA(m_dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetHFONT()), TRUE);
    }
    Focus(hasPassword ? IDC_SET_PASSWORD_OLD : IDC_SET_PASSWORD_NEW);
}

std::string CPasswordDialog::Typed(int id) const
{
    char text[kSetPasswordTypedLimit + 1] = "";
    GetDlgItemTextA(m_dialog, id, text, sizeof text);
    return TrimBlanks(text);
}

bool CPasswordDialog::OldPasswordMatches() const
{
    const std::string typed = Typed(IDC_SET_PASSWORD_OLD);
    if (typed.empty())
        return false;
    const std::string text = PasswordText(m_dialog, typed.c_str(), "Information is incorrect ");
    return !text.empty() && lstrcmpiA(text.c_str(), m_block.digest) == 0;
}

void CPasswordDialog::EnableNewEdits(bool enable)
{
    Enable(IDC_SET_PASSWORD_NEW, enable);
    Enable(IDC_SET_PASSWORD_CONFIRM, enable);
}

bool CPasswordDialog::OnCommand(UINT id, UINT code)
{
    switch (id) {
    case IDC_SET_PASSWORD_OLD:
        if (code == EN_CHANGE)
            EnableNewEdits(OldPasswordMatches());
        return true;
    case IDC_SET_PASSWORD_NEW:
        if (code == EN_CHANGE)
            Enable(IDC_SET_PASSWORD_OK, false);
        return true;
    case IDC_SET_PASSWORD_CONFIRM:
        if (code == EN_CHANGE)
            Enable(IDC_SET_PASSWORD_OK, Typed(IDC_SET_PASSWORD_CONFIRM) == Typed(IDC_SET_PASSWORD_NEW));
        else if (code == EN_SETFOCUS && Typed(IDC_SET_PASSWORD_NEW).empty() &&
                 Typed(IDC_SET_PASSWORD_CONFIRM).empty())
            Enable(IDC_SET_PASSWORD_OK, true);  // both left empty: the password goes
        return true;
    case IDC_SET_PASSWORD_OK:
        OnOk();
        return true;
    case IDCANCEL:
        EndDialog(m_dialog, 0);
        return true;
    case IDC_SET_PASSWORD_HELP:
        OpenHelp();
        return true;
    case IDC_SET_PASSWORD_LINK:
        SetWindowPos(GetParent(m_dialog), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        OpenPasswordRecoveryFrom(GetMainWindow());
        return true;
    default:
        return false;
    }
}

// The password text of what the edits hold now, whatever was typed before.
void CPasswordDialog::OnOk()
{
    if (!IsWindowEnabled(GetDlgItem(m_dialog, IDC_SET_PASSWORD_OK)))
        return;
    if (m_block.digest[0] && !OldPasswordMatches()) {
        ShowErrorMessage(m_dialog, kMismatchOld, ProgramTitle);
        return;
    }
    const std::string typed = Typed(IDC_SET_PASSWORD_NEW);
    if (typed != Typed(IDC_SET_PASSWORD_CONFIRM)) {
        ShowErrorMessage(m_dialog, kMismatchNew, ProgramTitle);
        Enable(IDC_SET_PASSWORD_OK, false);
        Focus(IDC_SET_PASSWORD_CONFIRM);
        return;
    }
    std::string text;
    if (!typed.empty()) {
        text = PasswordText(m_dialog, typed.c_str(), "Information is incorrect ");
        if (text.empty())
            return;
    }
    std::snprintf(m_block.digest, sizeof m_block.digest, "%s", text.c_str());
    EndDialog(m_dialog, 1);
}

void CPasswordDialog::CheckOldPassword()
{
    if (Typed(IDC_SET_PASSWORD_OLD).empty() || !IsWindowEnabled(GetDlgItem(m_dialog, IDC_SET_PASSWORD_OLD)))
        return;
    if (OldPasswordMatches()) {
        EnableNewEdits(true);
        Enable(IDC_SET_PASSWORD_OLD, false);
        Focus(IDC_SET_PASSWORD_NEW);
        return;
    }
    EnableNewEdits(false);
    ShowErrorMessage(m_dialog, kMismatchOld, ProgramTitle);
    Focus(IDC_SET_PASSWORD_OLD);
}

void CPasswordDialog::CheckConfirmation()
{
    const std::string typed = Typed(IDC_SET_PASSWORD_NEW);
    if (typed.empty() || typed == Typed(IDC_SET_PASSWORD_CONFIRM))
        return;
    ShowErrorMessage(m_dialog, kMismatchNew, ProgramTitle);
    Enable(IDC_SET_PASSWORD_OK, false);
    Focus(IDC_SET_PASSWORD_CONFIRM);
}

void CPasswordDialog::OpenHelp()
{
    SetWindowPos(GetParent(m_dialog), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ShowHelpTopic(m_dialog, IDH_SET_PASSWORD);
}

// A press on the link, told before the link takes the focus.
void CPasswordDialog::OnParentNotify(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != WM_LBUTTONDOWN)
        return;
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (ChildWindowFromPoint(m_dialog, point) == m_link.GetWindow())
        m_buttonPressed = true;
}

bool CPasswordDialog::DrawLink(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType == ODT_MENU || item.CtlID != IDC_SET_PASSWORD_LINK)
        return false;
    m_link.DrawOwnerDrawListItem(item);
    return true;
}

LRESULT CALLBACK CPasswordDialog::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = static_cast<CPasswordDialog*>(GetPropA(window, kControlProperty));
    if (!dialog)
        return DefWindowProcA(window, message, wParam, lParam);
    const int id = GetDlgCtrlID(window);
    int index = 0;
    while (index < kSubclassedCount - 1 && kSubclassed[index] != id)
        ++index;
    return GuardCallback<LRESULT>(0, [&] { return dialog->OnControlMessage(window, index, message, wParam, lParam); });
}

LRESULT CPasswordDialog::OnControlMessage(HWND control, int index, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int id = kSubclassed[index];
    const bool edit = id != IDCANCEL && id != IDC_SET_PASSWORD_HELP;
    WNDPROC previous = m_previous[index];
    if (!edit) {
        // The press comes before the edit it takes the focus from hears of it.
        if (message == WM_LBUTTONDOWN)
            m_buttonPressed = true;
        return CallWindowProcA(previous, control, message, wParam, lParam);
    }
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcA(previous, control, message, wParam, lParam);
    case WM_CHAR:
        if (wParam == '\r' || wParam == '\t') {
            PostNextDialogControl(m_dialog, wParam == '\t' && GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            PostDialogCancel(m_dialog);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        if (m_buttonPressed)
            m_buttonPressed = false;
        else if (id == IDC_SET_PASSWORD_OLD)
            PostMessageA(m_dialog, kMsgCheckOldPassword, 0, 0);
        else if (id == IDC_SET_PASSWORD_CONFIRM)
            PostMessageA(m_dialog, kMsgCheckConfirmation, 0, 0);
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

namespace {
CPasswordDialog* SetPasswordDialogOf(HWND dialog)
{
    return reinterpret_cast<CPasswordDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR SetPasswordDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CPasswordDialog* dialog = SetPasswordDialogOf(window);
    switch (message) {
    case WM_INITDIALOG: {
        auto* created = new CPasswordDialog(window, *reinterpret_cast<PasswordDialogBlock*>(lParam));
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
        created->OnInitDialog();
        return FALSE;
    }
    case WM_COMMAND:
        return dialog && dialog->OnCommand(LOWORD(wParam), HIWORD(wParam));
    case kMsgCheckOldPassword:
        if (dialog)
            dialog->CheckOldPassword();
        return TRUE;
    case kMsgCheckConfirmation:
        if (dialog)
            dialog->CheckConfirmation();
        return TRUE;
    case WM_HELP:
        if (dialog)
            dialog->OpenHelp();
        return TRUE;
    case WM_DRAWITEM:
        return dialog && dialog->DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_MOUSEMOVE:
        if (dialog)
            dialog->EndHover();
        return FALSE;
    case WM_PARENTNOTIFY:
        if (dialog)
            dialog->OnParentNotify(wParam, lParam);
        return FALSE;
    case WM_DESTROY:
        delete dialog;
        SetWindowLongPtrA(window, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK PasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return SetPasswordDialogMessage(dialog, message, wParam, lParam); });
}

INT_PTR RunSetPasswordDialog(HWND owner, PasswordDialogBlock& block)
{
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SET_PASSWORD), owner,
                                     PasswordDlgProc, reinterpret_cast<LPARAM>(&block));
    return result == 1 ? 1 : 0;
}
