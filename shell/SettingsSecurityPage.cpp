// The Security page of the settings sheet: confirming deletions, sharing the
// user's notes, the daily backups and their folder, the start-up password and
// the protection of hidden locked notes. Choices that contradict each other
// (a password asked for but none set, a backup folder that is not a full
// path) keep the user on the page, whether the page is left for another tab
// or the sheet closed with OK. The days are checked as their edit is left
// too.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/bytes/BoundedCopy.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/LinkStatic.h"
#include "foundation/win/ShellPaths.h"
#include "noteprops/SetPasswordDialog.h"
#include "resources/ids/SecurityPageIds.h"
#include "globals/ProgramGlobals.h"
#include "shell/SettingsNumberEdit.h"
#include "shell/SettingsPageControls.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPages.h"
#include "xmlfiles/BackupFolderBrowser.h"

namespace {
const char kSetPasswordText[] = "&Set password...";
const char kChangePasswordText[] = "Change or reset pa&ssword...";
const char kClearPasswordsText[] = "&Clear password(s) entered this session";

// Password state: whether the choices need a password that is not set, or
// keep one that nothing uses.
enum PasswordState { kPasswordFine = 0, kPasswordMissing = 1, kPasswordUnused = 2 };
// Folder state: the backup folder is usable, is not a full path, or is a
// full path that does not exist.
enum FolderState { kFolderFine = 0, kFolderNotFullPath = 1, kFolderMissing = 2 };

struct CSecurityPage {
    CSecurityPage(HWND window, CSecurityPageData* pageData)
        : page(window), data(pageData), setPassword(window, IDC_SECURITY_SET_PASSWORD),
          clearPasswords(window, IDC_SECURITY_CLEAR_PASSWORDS)
    {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfUnderline = TRUE;
        linkFont = CreateFontIndirectA(&font);
    }
    ~CSecurityPage()
    {
        if (linkFont)
            DeleteObject(linkFont);
    }
    CSecurityPage(const CSecurityPage&) = delete;
    CSecurityPage& operator=(const CSecurityPage&) = delete;

    HWND page;
    CSecurityPageData* data;
    CLinkStatic setPassword;
    CLinkStatic clearPasswords;
    HFONT linkFont = nullptr;
    int passwordState = kPasswordFine;
    int folderState = kFolderFine;
    // What the user already agreed to when asked, so that OK does not ask again.
    bool unusedPasswordAccepted = false;
    std::string missingFolderAccepted;
    bool passwordDialogOpen = false;
};

CSecurityPage* SecurityPageOf(HWND page)
{
    return reinterpret_cast<CSecurityPage*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

bool SecurityFolderExists(const char* folder)
{
    DWORD attributes = GetFileAttributesA(folder);
    return folder[0] && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFullPath(const char* folder)
{
    return std::string(folder).find(":\\") != std::string::npos || IsNetworkPath(folder);
}

void EnableControl(HWND page, int id, bool enable)
{
    EnableWindow(GetDlgItem(page, id), enable);
}

// The controls' states and the page's two states from the object; the
// folder is looked at on disk only with folderCheck.
void UpdatePage(CSecurityPage& state, bool folderCheck)
{
    HWND page = state.page;
    const CSecurityPageData& data = *state.data;
    const bool hasPassword = data.password[0] != '\0';
    SetDlgItemTextA(page, IDC_SECURITY_SET_PASSWORD, hasPassword ? kChangePasswordText : kSetPasswordText);
    InvalidateRect(GetDlgItem(page, IDC_SECURITY_SET_PASSWORD), nullptr, TRUE);
    EnableControl(page, IDC_SECURITY_DAYS, data.dailyBackups != 0);
    EnableControl(page, IDC_SECURITY_DAYS_SPIN, data.dailyBackups != 0);
    const bool passwordUsed = data.passwordAtStart || data.protectHiddenLocked;
    const bool canSetPassword = passwordUsed || hasPassword;
    EnableControl(page, IDC_SECURITY_CLEAR_PASSWORDS,
                  canSetPassword && HashesList().GetCount() > 0 && data.passwordMode == 1);
    EnableControl(page, IDC_SECURITY_ONCE_PER_SESSION, data.protectHiddenLocked != 0);
    EnableControl(page, IDC_SECURITY_EVERY_TIME, data.protectHiddenLocked != 0);
    EnableControl(page, IDC_SECURITY_SET_PASSWORD, canSetPassword);

    if (!hasPassword && passwordUsed)
        state.passwordState = kPasswordMissing;
    else if (hasPassword && !passwordUsed)
        state.passwordState = kPasswordUnused;
    else
        state.passwordState = kPasswordFine;
    if (state.passwordState != kPasswordUnused)
        state.unusedPasswordAccepted = false;

    if (SecurityFolderExists(data.backupFolder))
        state.folderState = IsFullPath(data.backupFolder) ? kFolderFine : kFolderNotFullPath;
    else if (folderCheck)
        state.folderState = IsFullPath(data.backupFolder) ? kFolderMissing : kFolderNotFullPath;
    // A folder that does not exist only warns: OK stays available for it.
    const bool blocked = state.passwordState == kPasswordMissing || state.folderState == kFolderNotFullPath;
    EnableWindow(GetDlgItem(GetParent(page), IDOK), !blocked);
}

void ShowSecurityValues(CSecurityPage& state)
{
    HWND page = state.page;
    const CSecurityPageData& data = *state.data;
    CheckItem(page, IDC_SECURITY_PROTECT_LOCKED, data.protectHiddenLocked);
    CheckItem(page, IDC_SECURITY_PASSWORD_AT_START, data.passwordAtStart);
    SetDlgItemInt(page, IDC_SECURITY_DAYS, data.backupDays, FALSE);
    SetDlgItemTextA(page, IDC_SECURITY_FOLDER, data.backupFolder);
    CheckItem(page, IDC_SECURITY_SHARE, data.shareNotes);
    CheckItem(page, IDC_SECURITY_DAILY_BACKUPS, data.dailyBackups);
    CheckItem(page, IDC_SECURITY_CONFIRM_DELETE, data.confirmDelete);
    CheckItem(page, IDC_SECURITY_MONTHLY_BACKUP, data.keepMonthlyBackup);
    CheckRadioButton(page, IDC_SECURITY_ONCE_PER_SESSION, IDC_SECURITY_EVERY_TIME,
                     data.passwordMode == 1 ? IDC_SECURITY_ONCE_PER_SESSION : IDC_SECURITY_EVERY_TIME);
}

// The typed (or arrowed) days into the object; false, after telling the
// user, for a number that is not 1 to 100. Days the page does not offer
// (daily backups off) are left as they were.
bool TakeDays(CSecurityPage& state)
{
    if (!state.data->dailyBackups)
        return true;
    const unsigned days = ReadNumberEdit(state.page, IDC_SECURITY_DAYS);
    if (days == 0) {
        RefuseZeroInEdit(state.page, IDC_SECURITY_DAYS);
        return false;
    }
    if (days > CSecurityPageData::kMaximumDays) {
        RefuseEditValue(state.page, IDC_SECURITY_DAYS, "Daily backups can be kept for 1 to 100 days.");
        return false;
    }
    state.data->backupDays = days;
    return true;
}

// The days checked as soon as their edit is left for another control; a
// click on a tab leaves the word to the check of the page being left.
void CheckDaysOnLeaving(HWND edit, HWND gaining)
{
    HWND page = GetParent(edit);
    CSecurityPage* state = SecurityPageOf(page);
    if (state && !IsSheetTabs(page, gaining))
        TakeDays(*state);
}

void InitSecurityPage(HWND page, CSecurityPageData* data)
{
    auto* state = new CSecurityPage(page, data);
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    SetDlgItemTextA(page, IDC_SECURITY_CLEAR_PASSWORDS, kClearPasswordsText);
    PlaceNumberEdit(page, IDC_SECURITY_DAYS, IDC_SECURITY_DAYS_SPIN, "777", 1, CSecurityPageData::kMaximumDays);
    SendDlgItemMessageA(page, IDC_SECURITY_DAYS, EM_LIMITTEXT, 3, 0);
    SubclassPageEdit(GetDlgItem(page, IDC_SECURITY_DAYS), PageEditChars::kDigits, &CheckDaysOnLeaving);
    SubclassPageEdit(GetDlgItem(page, IDC_SECURITY_FOLDER), PageEditChars::kAny);
    SendDlgItemMessageA(page, IDC_SECURITY_FOLDER, EM_LIMITTEXT, CSecurityPageData::kFolderSize - 1, 0);
    ShowSecurityValues(*state);
    UpdatePage(*state, false);
}

// Whether the page may be left (for another tab, or by OK); the user is told
// why not, or asked to agree to a choice that only deserves a warning.
bool SecurityPageMayLeave(CSecurityPage& state)
{
    HWND page = state.page;
    const CSecurityPageData& data = *state.data;
    if (!TakeDays(state))
        return false;
    UpdatePage(state, true);
    if (state.passwordState == kPasswordMissing) {
        ShowErrorMessage(page,
                         data.passwordAtStart
                             ? "Before leaving the Security tab, please either set a password or turn off the\r\n"
                               " \"Require password entry on startup \" checkbox. "
                             : "Before leaving the Security tab, please either set a password or turn off the\r\n"
                               " \"Password-protect locked notes\" checkbox. ",
                         ProgramTitle);
        return false;
    }
    if (state.folderState == kFolderNotFullPath) {
        ShowWarningMessage(page,
                           "Before leaving the Security tab, please enter a full path Backup folder "
                           "\r\ne.g. C:\\MyBackupLocation or \\\\ServerName\\SharedFolder\\MyBackupLocation.",
                           ProgramTitle);
        return false;
    }
    if (state.folderState == kFolderMissing) {
        if (state.missingFolderAccepted == data.backupFolder)
            return true;
        std::string question = std::string("Warning: your current Backup location '") + data.backupFolder +
                               "' does not exist, so the '" + StandardBackupFolderPath() +
                               "' folder will be used instead.\r\n\r\nIf this is your intention, then please click "
                               "\"Yes\" to leave the dialog box, otherwise please click \"No\" and correct the "
                               "Backup location.";
        if (ShowMessageBox(page, question.c_str(), ProgramTitle, kMbYesNo | kMbIconExclamation) != kIdYes) {
            SetFocus(GetDlgItem(page, IDC_SECURITY_FOLDER));
            return false;
        }
        state.missingFolderAccepted = data.backupFolder;
        return true;
    }
    if (state.passwordState == kPasswordUnused && !state.unusedPasswordAccepted) {
        if (ShowMessageBox(page,
                           "You've just turned off both security checkboxes but you've left the password set.\r\n\r\n"
                           "If this is your intention, then please click \"Yes\" to leave the dialog box,\r\n"
                           "otherwise please click \"No\" and go reset the password yourself.",
                           ProgramTitle, kMbYesNo | kMbIconQuestion) != kIdYes)
            return false;
        state.unusedPasswordAccepted = true;
    }
    return true;
}

void BrowseForFolder(CSecurityPage& state)
{
    CSecurityPageData& data = *state.data;
    BackupFolderRequest request;
    CopyBounded(request.path,
                SecurityFolderExists(data.backupFolder) ? data.backupFolder : StandardBackupFolderPath().c_str());
    request.title = "Select the notes backup folder";
    request.owner = state.page;
    if (!BrowseBackupFolder(request))
        return;
    const char* chosen = request.path;
    const size_t length = std::string(chosen).size();
    if (length >= CSecurityPageData::kFolderSize) {
        char text[300];
        std::snprintf(text, sizeof text,
                      "Sorry, the maximum allowed length of the Backup folder is 100 characters.\r\n"
                      "The folder you've selected is %d characters long.",
                      static_cast<int>(length));
        ShowErrorMessage(state.page, text, ProgramTitle);
        return;
    }
    std::snprintf(data.backupFolder, sizeof data.backupFolder, "%s", chosen);
    SetDlgItemTextA(state.page, IDC_SECURITY_FOLDER, data.backupFolder);
}

void TakeFolderText(CSecurityPage& state)
{
    const std::string folder = TrimmedItemText(state.page, IDC_SECURITY_FOLDER, CSecurityPageData::kFolderSize - 1);
    std::snprintf(state.data->backupFolder, sizeof state.data->backupFolder, "%s", folder.c_str());
    UpdatePage(state, GetFocus() == GetDlgItem(state.page, IDC_SECURITY_FOLDER));
}

void OpenPasswordDialog(CSecurityPage& state)
{
    // A click that reaches the link while its dialog is open opens no second one.
    if (state.passwordDialogOpen)
        return;
    CSecurityPageData& data = *state.data;
    PasswordDialogBlock block{};
    std::snprintf(block.digest, sizeof block.digest, "%s", data.password);
    // The caption is the link's text without its "&".
    std::string caption = data.password[0] ? kChangePasswordText : kSetPasswordText;
    caption.erase(caption.find('&'), 1);
    std::snprintf(block.caption, sizeof block.caption, "%s", caption.c_str());
    state.passwordDialogOpen = true;
    const INT_PTR accepted = RunSetPasswordDialog(GetParent(state.page), block);
    state.passwordDialogOpen = false;
    if (accepted)
        std::snprintf(data.password, sizeof data.password, "%s", block.digest);
    UpdatePage(state, false);
}

void ResetSecurityPage(CSecurityPage& state)
{
    if (GetKeyState(VK_CONTROL) < 0) {
        std::snprintf(state.data->backupFolder, sizeof state.data->backupFolder, "%s",
                      StandardBackupFolderPath().c_str());
        SetDlgItemTextA(state.page, IDC_SECURITY_FOLDER, state.data->backupFolder);
    } else {
        TakeStandardSecurityValues(*state.data);
        ShowSecurityValues(state);
    }
    UpdatePage(state, true);
}

void OnSecurityPageCommand(CSecurityPage& state, int id, int code)
{
    HWND page = state.page;
    CSecurityPageData& data = *state.data;
    if (id == IDC_SECURITY_FOLDER) {
        if (code == EN_CHANGE)
            TakeFolderText(state);
        return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_SECURITY_SHARE:
        data.shareNotes = ItemChecked(page, id);
        data.shareForEveryUser = GetKeyState(VK_CONTROL) < 0;
        if (data.shareForEveryUser)
            MessageBeep(0);
        break;
    case IDC_SECURITY_CONFIRM_DELETE:
        data.confirmDelete = ItemChecked(page, id);
        break;
    case IDC_SECURITY_MONTHLY_BACKUP:
        data.keepMonthlyBackup = ItemChecked(page, id);
        break;
    case IDC_SECURITY_DAILY_BACKUPS:
        data.dailyBackups = ItemChecked(page, id);
        UpdatePage(state, data.dailyBackups != 0);
        break;
    case IDC_SECURITY_PASSWORD_AT_START:
        data.passwordAtStart = ItemChecked(page, id);
        UpdatePage(state, false);
        break;
    case IDC_SECURITY_PROTECT_LOCKED:
        data.protectHiddenLocked = ItemChecked(page, id);
        UpdatePage(state, false);
        break;
    case IDC_SECURITY_ONCE_PER_SESSION:
    case IDC_SECURITY_EVERY_TIME:
        data.passwordMode = id == IDC_SECURITY_ONCE_PER_SESSION ? 1 : 2;
        UpdatePage(state, false);
        break;
    case IDC_SECURITY_SET_PASSWORD:
        OpenPasswordDialog(state);
        break;
    case IDC_SECURITY_CLEAR_PASSWORDS:
        HashesList().RemoveAll();
        EnableControl(page, id, false);
        PostNextDialogControl(page, false);
        data.maskProtectedNotes = 1;
        break;
    case IDC_SECURITY_BROWSE:
        BrowseForFolder(state);
        break;
    case IDC_SECURITY_RESET:
        ResetSecurityPage(state);
        break;
    default:
        break;
    }
}

// The two link buttons, drawn with their mnemonics.
void DrawLink(CSecurityPage& state, const DRAWITEMSTRUCT& item)
{
    const CLinkStatic& link = item.CtlID == IDC_SECURITY_SET_PASSWORD ? state.setPassword : state.clearPasswords;
    char text[100] = "";
    GetWindowTextA(item.hwndItem, text, sizeof text);
    RECT area = item.rcItem;
    // The page's own background, which a themed sheet paints with its texture.
    auto background = reinterpret_cast<HBRUSH>(SendMessageA(
        state.page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(item.hDC), reinterpret_cast<LPARAM>(item.hwndItem)));
    FillRect(item.hDC, &area, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(item.hDC, state.linkFont);
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    SetTextColor(item.hDC, disabled ? GetSysColor(COLOR_GRAYTEXT)
                                    : link.IsHovering() ? CLinkStatic::kHoverColor : CLinkStatic::kLinkColor);
    RECT measured = area;
    DrawTextA(item.hDC, text, -1, &measured, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_CALCRECT);
    DrawTextA(item.hDC, text, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (item.itemState & ODS_FOCUS) {
        measured.top = area.top;
        measured.bottom = area.bottom;
        DrawFocusRect(item.hDC, &measured);
    }
    SetBkMode(item.hDC, oldMode);
    SelectObject(item.hDC, oldFont);
}

INT_PTR SettingsSecurityPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        InitSecurityPage(page, PageCreationData<CSecurityPageData>(lParam));
        return TRUE;
    }
    CSecurityPage* state = SecurityPageOf(page);
    if (!state)
        return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return AnswerPageNotify(page, reinterpret_cast<const NMHDR*>(lParam)->code, state->data->applied,
                                IDH_SECURITY_PAGE, [&] { return SecurityPageMayLeave(*state); });
    case WM_HELP:
        ShowHelpTopic(GetParent(page), IDH_SECURITY_PAGE);
        return TRUE;
    case WM_COMMAND:
        OnSecurityPageCommand(*state, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_SECURITY_SET_PASSWORD && item->CtlID != IDC_SECURITY_CLEAR_PASSWORDS)
            return FALSE;
        DrawLink(*state, *item);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        state->setPassword.EndHover();
        state->clearPasswords.EndHover();
        return FALSE;
    case WM_DESTROY:
        SetWindowLongPtrA(page, GWLP_USERDATA, 0);
        delete state;
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK SecurityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return SettingsSecurityPageMessage(page, message, wParam, lParam); });
}
