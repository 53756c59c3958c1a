#include "note/NotePasswordDialog.h"

#include <cstdio>

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/GenericFile.h"
#include "foundation/StartupValues.h"
#include "foundation/bytes/BoxedFailures.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/bytes/ModalLoops.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/Subclassing.h"
#include "foundation/win/SystemProbes.h"
#include "noteprops/HideNoteButton.h"
#include "noteprops/ProtectedContent.h"
#include "note/SnoozeMenus.h"
#include "resources/ids/NotePasswordIds.h"
#include "resources/ids/SnoozeMenuIds.h"
#include "globals/MainWindowMessages.h"
#include "globals/ProgramGlobals.h"

const char kNotePasswordPromptTitle[] = "  Quillnet+";

namespace {
// Sent by the split button's menu: hide to remind again, and alarm off.
const UINT kCmdHideAndRemind = 0x8001;
const UINT kCmdAlarmOffAndHide = 0x8002;
const int kNotePasswordTries = 3;
const int kNotePasswordTypedLimit = 100;
const int kSaveContentKey = '6';
const WPARAM kCtrlSixCharacter = 0x1E;
const int kBelowNoteTop = 50;
const char kPasswordEditProperty[] = "QnNotePasswordEdit";
const char kHideButtonProperty[] = "QnHideNoteButton";
const char kContentForMail[] = "Quillnet.txt";
}

// The prompt while it is open: kept in the dialog's user data from
// WM_INITDIALOG to WM_DESTROY.
class CNotePasswordDialogBoxController {
public:
    CNotePasswordDialogBoxController(HWND dialog, CNotePasswordDialogParams& params)
        : m_dialog(dialog), m_params(params), m_edit(GetDlgItem(dialog, IDC_NOTE_PASSWORD_EDIT)),
          m_cancel(GetDlgItem(dialog, IDCANCEL)), m_link(dialog, IDC_NOTE_PASSWORD_LINK)
    {
    }
    ~CNotePasswordDialogBoxController() { RestoreSubclasses(); }
    CNotePasswordDialogBoxController(const CNotePasswordDialogBoxController&) = delete;
    CNotePasswordDialogBoxController& operator=(const CNotePasswordDialogBoxController&) = delete;

    void OnInitDialog();
    bool OnCommand(UINT id);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void OpenHelp();
    void EndHover() { m_link.EndHover(); }

    static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DispatchToSubclassOwner(window, kPasswordEditProperty, &CNotePasswordDialogBoxController::OnEditMessage,
                                       message, wParam, lParam);
    }
    static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DispatchToSubclassOwner(window, kHideButtonProperty, &CNotePasswordDialogBoxController::OnButtonMessage,
                                       message, wParam, lParam);
    }

private:
    LRESULT OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void End(int result);
    void RestoreSubclasses();
    void MakeSplitButton();
    void PlaceBelowNoteTop();
    bool CheckNotePassword();
    void SaveContentForMail();
    void ShowHideForMenu();
    void ChooseRecurrence(UINT id);

    HWND m_dialog;
    CNotePasswordDialogParams& m_params;
    HWND m_edit;
    HWND m_cancel;
    CLinkStatic m_link;
    CGdiFont m_font;
    WNDPROC m_editPrevious = nullptr;
    WNDPROC m_buttonPrevious = nullptr;
    int m_tries = 0;
    bool m_hover = false;
    SnoozeTable m_snooze;
};

void CNotePasswordDialogBoxController::OnInitDialog()
{
    SetWindowTextA(m_dialog, kNotePasswordPromptTitle);
    m_editPrevious = SubclassWindow(m_edit, kPasswordEditProperty, this, &EditProc);
    if (m_params.ringing)
        MakeSplitButton();
    SetWindowTextA(m_edit, "");
    SendMessageA(m_edit, EM_LIMITTEXT, kNotePasswordTypedLimit, 0);
    SetDlgItemTextA(m_dialog, IDC_NOTE_PASSWORD_LINK, "Password Recovery Service");
    const int scheme = GetXpColorScheme();
    m_link.SetBackgroundColor(scheme == 1 || scheme == 2 ? RGB(0xEC, 0xE9, 0xD8) : GetSysColor(COLOR_BTNFACE));
    const WindowsVersionInfo& windows = GetStartupValues().windows;
    if ((windows.isWindowsXp || windows.isVistaOrLater) && windows.commonControlsMajor >= 6) {
        m_font.ChangeLogFont(LOGFONTA{-11, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"});
        SendMessageA(m_edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetHFONT()), TRUE);
    }
    SendDlgItemMessageA(m_dialog, IDC_NOTE_PASSWORD_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_APPLICATION)), 0);
    SendDlgItemMessageA(m_dialog, IDC_NOTE_PASSWORD_CAPS_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_EXCLAMATION)), 0);
    PlaceBelowNoteTop();
    if (!m_params.ringing)
        SendMessageA(m_dialog, DM_SETDEFID, IDC_NOTE_PASSWORD_OK, 0);
    SetForegroundWindow(m_dialog);
    SetFocus(m_edit);
}

// Cancel becomes the owner-drawn "H&ide note" with its menu part.
void CNotePasswordDialogBoxController::MakeSplitButton()
{
    m_buttonPrevious = SubclassWindow(m_cancel, kHideButtonProperty, this, &ButtonProc);
    SetWindowTextA(m_cancel, "H&ide note");
    LONG style = GetWindowLongA(m_cancel, GWL_STYLE);
    SetWindowLongA(m_cancel, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
    InvalidateRect(m_cancel, nullptr, TRUE);
}

// The prompt never hides the top of the note it asks for.
void CNotePasswordDialogBoxController::PlaceBelowNoteTop()
{
    RECT prompt{};
    GetWindowRect(m_dialog, &prompt);
    const RECT& note = m_params.noteRect;
    if (IsRectEmpty(&note) || prompt.bottom <= note.top)
        return;
    SetWindowPos(m_dialog, nullptr, prompt.left, note.top + kBelowNoteTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNotePasswordDialogBoxController::RestoreSubclasses()
{
    RestoreWindowProc(m_edit, kPasswordEditProperty, m_editPrevious);
    m_editPrevious = nullptr;
    if (m_buttonPrevious)
        RestoreWindowProc(m_cancel, kHideButtonProperty, m_buttonPrevious);
    m_buttonPrevious = nullptr;
}

void CNotePasswordDialogBoxController::End(int result)
{
    RestoreSubclasses();
    EndDialog(m_dialog, result);
}

bool CNotePasswordDialogBoxController::OnCommand(UINT id)
{
    switch (id) {
    case IDC_NOTE_PASSWORD_OK:
        ++m_tries;
        if (CheckNotePassword())
            End(kPromptOpened);
        else if (m_tries >= kNotePasswordTries)
            End(kPromptHide);
        else
            SetFocus(m_edit);
        return true;
    case IDCANCEL:
        End(kPromptHide);
        return true;
    case IDC_NOTE_PASSWORD_STOP:
        End(kPromptStopSearching);
        return true;
    case IDC_NOTE_PASSWORD_HELP:
        OpenHelp();
        return true;
    case IDC_NOTE_PASSWORD_LINK:
        OpenPasswordRecoveryFrom(GetMainWindow());
        return true;
    case kCmdHideAndRemind:
        End(kPromptHideAndRemind);
        return true;
    case kCmdAlarmOffAndHide:
        End(kPromptAlarmOffAndHide);
        return true;
    case ID_SNOOZE_ALARM_OFF:
        PostMessageA(m_dialog, WM_COMMAND, kCmdAlarmOffAndHide, 0);
        return true;
    default:
        if (id >= ID_SNOOZE_FIRST && id <= ID_HIDE_FOR_LAST) {
            ChooseRecurrence(id);
            return true;
        }
        return false;
    }
}

bool CNotePasswordDialogBoxController::CheckNotePassword()
{
    char typed[kNotePasswordTypedLimit + 1] = "";
    GetWindowTextA(m_edit, typed, sizeof typed);
    const std::string text = PasswordText(m_dialog, typed, "The string 1 failed to be created");
    if (!text.empty() &&
        RPB(m_params.rtf, text.c_str(), m_params.body.data(), m_params.body.size(), m_params.attachedFile)) {
        CHashRecord record{};
        std::snprintf(record.name, sizeof record.name, "%s", text.c_str());
        AddToHashesList(record);
        m_params.passwordText = text;
        return true;
    }
    if (m_tries == 1)
        ShowErrorMessage(m_dialog, "The password is incorrect, please try again (two tries remaining)", ProgramTitle);
    else if (m_tries == 2)
        ShowErrorMessage(m_dialog, "The password is incorrect, please try again (last try)", ProgramTitle);
    return false;
}

void CNotePasswordDialogBoxController::OpenHelp()
{
    SetWindowPos(m_dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    if (HWND help = OpenHelpWindow(kHelpContext, IDH_NOTE_PASSWORD))
        SetWindowPos(help, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    else
        ShowMessageBox(m_dialog, "Unable to activate help", ProgramTitle, kMbIconHand);
}

// Ctrl+6: the body as stored, into a file the user can mail to the maker.
void CNotePasswordDialogBoxController::SaveContentForMail()
{
    const std::string path = DataFilePath(kContentForMail);
    const bool saved = RunShowingFailures(path.c_str(), "Unknown exception saving the note content", [&] {
        CGenericFile file;
        file.CreateOverwrite(path.c_str());
        file.WriteToFile(m_params.body.data(), static_cast<DWORD>(m_params.body.size()));
        return true;
    });
    if (!saved)
        return;
    const std::string text = std::string("The encrypted note content has been saved in\r\n   '") + GetDataFolder() +
                             "\\" + kContentForMail + "'" + ", ready for emailing.";
    ShowInfoMessage(m_dialog, text.c_str(), ProgramTitle);
}

LRESULT CNotePasswordDialogBoxController::OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | CallWindowProcA(m_editPrevious, m_edit, message, wParam, lParam);
    if (message == WM_KEYDOWN && wParam == kSaveContentKey && GetKeyState(VK_CONTROL) < 0) {
        SaveContentForMail();
        return 0;
    }
    if (message == WM_CHAR) {
        switch (wParam) {
        case '\r':
            PostMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(IDC_NOTE_PASSWORD_OK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(m_dialog, IDC_NOTE_PASSWORD_OK)));
            return 0;
        case VK_ESCAPE:
            PostDialogCancel(m_dialog);
            return 0;
        case '\t':
            PostNextDialogControl(m_dialog, GetKeyState(VK_SHIFT) < 0);
            return 0;
        case kCtrlSixCharacter:
            return 0;  // Ctrl+6 types nothing
        default:
            break;
        }
    }
    return CallWindowProcA(m_editPrevious, m_edit, message, wParam, lParam);
}

LRESULT CNotePasswordDialogBoxController::OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (IsOnHideNoteMenuPart(m_cancel, static_cast<short>(LOWORD(lParam)))) {
            ShowHideForMenu();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            m_hover = true;
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_cancel, 0};
            TrackMouseEvent(&track);
            InvalidateRect(m_cancel, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        m_hover = false;
        InvalidateRect(m_cancel, nullptr, FALSE);
        break;
    default:
        break;
    }
    return CallWindowProcA(m_buttonPrevious, m_cancel, message, wParam, lParam);
}

void CNotePasswordDialogBoxController::ShowHideForMenu()
{
    RECT button{};
    GetWindowRect(m_cancel, &button);
    const POINT corner = {button.right, button.top};
    if (!::ShowHideForMenu(m_dialog, m_snooze, m_params.unit, m_params.value, m_params.recurring != 0, corner))
        ShowErrorMessage(m_dialog, "CNotePasswordDialogBoxController::LoadMenu failed", ProgramTitle);
}

void CNotePasswordDialogBoxController::ChooseRecurrence(UINT id)
{
    const int index = static_cast<int>(id - ID_SNOOZE_FIRST);
    const SnoozePair pair = m_snooze.pairs[index];
    if (pair.value < 1 || pair.value > 255 || pair.unit < kUnitMinutes || pair.unit > kUnitWeekdays)
        return;
    m_params.snoozeIndex = static_cast<DWORD>(index);
    m_params.value = static_cast<BYTE>(pair.value);
    m_params.unit = static_cast<BYTE>(pair.unit);
    PostMessageA(m_dialog, WM_COMMAND, kCmdHideAndRemind, 0);
}

bool CNotePasswordDialogBoxController::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlType == ODT_MENU)
        return OnSnoozeMenuItemMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&item));
    if (item.CtlID == IDC_NOTE_PASSWORD_LINK) {
        m_link.DrawOwnerDrawListItem(item);
        return true;
    }
    if (item.hwndItem == m_cancel && m_buttonPrevious) {
        DrawHideNoteButton(item, m_hover);
        return true;
    }
    return false;
}

namespace {
CNotePasswordDialogBoxController* PasswordDialogControllerOf(HWND dialog)
{
    return reinterpret_cast<CNotePasswordDialogBoxController*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR NotePasswordDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CNotePasswordDialogBoxController* controller = PasswordDialogControllerOf(dialog);
    switch (message) {
    case WM_INITDIALOG: {
        auto* created =
            new CNotePasswordDialogBoxController(dialog, *reinterpret_cast<CNotePasswordDialogParams*>(lParam));
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
        created->OnInitDialog();
        return FALSE;
    }
    case WM_COMMAND:
        return controller && controller->OnCommand(LOWORD(wParam));
    case WM_HELP:
        if (controller)
            controller->OpenHelp();
        return TRUE;
    case WM_MEASUREITEM:
        return OnSnoozeMenuItemMessage(message, lParam);
    case WM_DRAWITEM:
        return controller && controller->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_MOUSEMOVE:
        if (controller)
            controller->EndHover();
        return FALSE;
    case WM_DESTROY:
        delete controller;
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK NotePasswordDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return NotePasswordDialogMessage(dialog, message, wParam, lParam); });
}

int RunNotePasswordPrompt(HWND owner, int templateId, CNotePasswordDialogParams& params)
{
    // A command on several notes may ask for a password on its way: what
    // the prompt's loop lets in is not that command's work.
    CModalLoop promptLoop;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                                           NotePasswordDlgProc, reinterpret_cast<LPARAM>(&params));
    return result < 0 ? kPromptHide : static_cast<int>(result);
}
