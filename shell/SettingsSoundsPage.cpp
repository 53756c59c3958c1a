// The Sounds page of the settings sheet: for a note's alarm, an incoming
// note, a new chat and a received chat line, no sound, a beep, the standard
// sound or a file of the user's own, with a test button; for the alarm also
// after how long its sound is repeated.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <string>

#include "foundation/CallbackGuard.h"
#include "foundation/DataFolder.h"
#include "foundation/FileHelpers.h"
#include "foundation/ResourceData.h"
#include "foundation/bytes/MessageBoxes.h"
#include "foundation/win/HelpFile.h"
#include "foundation/win/MciSound.h"
#include "resources/ids/SoundsPageIds.h"
#include "globals/GlobalTexts.h"
#include "shell/SettingsPageControls.h"
#include "shell/SettingsPageData.h"
#include "shell/SettingsPages.h"
#include "store/Sounds.h"

namespace {
const char* const kEventNames[4] = {"Note alarm", "Incoming note", "New chat initiated", "Chat line received"};
const int kLongestRepeat = 120;
const int kRepeatStep = 10;

CSoundPageData* SettingsSoundsPageDataOf(HWND page)
{
    return reinterpret_cast<CSoundPageData*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

int SelectedKind(HWND page)
{
    LRESULT index = SendDlgItemMessageA(page, IDC_SOUNDS_EVENTS, LB_GETCURSEL, 0, 0);
    return index >= 0 && index < 4 ? static_cast<int>(index) + 1 : kSoundAlarm;
}

CSoundSlot& SelectedSlot(HWND page, CSoundPageData& data)
{
    return data.slots[SelectedKind(page) - 1];
}

std::string SoundsPageText(UINT id)
{
    CResourceString text;
    return text.LoadString(GetModuleHandleA(nullptr), id);
}

// Repeats come in steps of ten seconds: the nearest step, and nothing below
// the first.
int SnapRepeat(int position)
{
    int snapped = position % kRepeatStep < 5 ? position - position % kRepeatStep
                                             : position - position % kRepeatStep + kRepeatStep;
    if (snapped < kRepeatStep)
        snapped = 0;
    return snapped > kLongestRepeat ? kLongestRepeat : snapped;
}

std::string RepeatText(int snapped)
{
    std::string text = SoundsPageText(IDS_REPEAT_AFTER);
    if (snapped == 60)
        return text + " 1 minute";
    if (snapped == 120)
        return text + " 2 minutes";
    return text + std::to_string(snapped) + SoundsPageText(IDS_SECONDS);
}

void ShowRepeat(HWND page, int position)
{
    SetDlgItemTextA(page, IDC_SOUNDS_REPEAT_TEXT,
                    position == 0 ? SoundsPageText(IDS_NO_REPEAT).c_str() : RepeatText(SnapRepeat(position)).c_str());
}

void Enable(HWND page, int id, bool enable)
{
    EnableWindow(GetDlgItem(page, id), enable);
}

// What the slot's type allows; a custom file that has gone is reported.
void UpdateSoundsPageStates(HWND page, const CSoundSlot& slot, bool reportMissingFile)
{
    const bool sounds = slot.type != kSoundNone;
    const bool file = slot.type == kSoundStandardFile || slot.type == kSoundCustomFile;
    Enable(page, IDC_SOUNDS_PATH, file);
    Enable(page, IDC_SOUNDS_TEST, sounds);
    Enable(page, IDC_SOUNDS_BROWSE, slot.type == kSoundCustomFile);
    Enable(page, IDC_SOUNDS_REPEAT_SLIDER, sounds);
    Enable(page, IDC_SOUNDS_REPEAT_TEXT, sounds);
    if (reportMissingFile && slot.type == kSoundCustomFile && !FileExists(slot.path))
        ShowErrorMessage(page, "The sound file does not exist\r\nOr the file path is wrong", ProgramTitle);
}

void ShowSlot(HWND page, const CSoundSlot& slot, bool alarm)
{
    SetDlgItemTextA(page, IDC_SOUNDS_PATH, slot.path);
    HWND slider = GetDlgItem(page, IDC_SOUNDS_REPEAT_SLIDER);
    SendMessageA(slider, TBM_SETTICFREQ, kRepeatStep, 0);
    SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kLongestRepeat));
    SendMessageA(slider, TBM_SETLINESIZE, 0, kRepeatStep);
    SendMessageA(slider, TBM_SETPAGESIZE, 0, kRepeatStep);
    SendMessageA(slider, TBM_SETPOS, TRUE, slot.replay);
    ShowRepeat(page, slot.replay);
    const int type = slot.type >= kSoundNone && slot.type <= kSoundCustomFile ? static_cast<int>(slot.type) : 1;
    CheckRadioButton(page, IDC_SOUNDS_NONE, IDC_SOUNDS_CUSTOM, IDC_SOUNDS_NONE + type - 1);
    ShowWindow(slider, alarm ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(page, IDC_SOUNDS_REPEAT_TEXT), alarm ? SW_SHOW : SW_HIDE);
    UpdateSoundsPageStates(page, slot, true);
}

void ShowSelectedSlot(HWND page, CSoundPageData& data)
{
    ShowSlot(page, SelectedSlot(page, data), SelectedKind(page) == kSoundAlarm);
}

void InitSoundsPage(HWND page, CSoundPageData* data)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    SetDlgItemTextA(page, IDC_SOUNDS_TEST, " Test sound ");
    SetDlgItemTextA(page, IDC_SOUNDS_BROWSE, " Browse... ");
    for (const char* name : kEventNames)
        SendDlgItemMessageA(page, IDC_SOUNDS_EVENTS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageA(page, IDC_SOUNDS_EVENTS, LB_SETCURSEL, 0, 0);
    ShowSelectedSlot(page, *data);
}

void OnRepeatMoved(HWND page, CSoundPageData& data, HWND slider)
{
    const int position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    const int snapped = position == 0 ? 0 : SnapRepeat(position);
    if (snapped != position)
        SendMessageA(slider, TBM_SETPOS, TRUE, snapped);
    ShowRepeat(page, position);
    data.slots[kSoundAlarm - 1].replay = static_cast<WORD>(snapped);
}

// The folder part of the path, or the current folder when it has none.
std::string SoundFileFolder(const char* path)
{
    std::string text = path;
    const size_t slash = text.find_last_of('\\');
    if (slash == std::string::npos) {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof current, current);
        return current;
    }
    return text.substr(0, slash);
}

void BrowseForSound(HWND page, CSoundSlot& slot, int kind)
{
    char file[MAX_PATH] = "";
    const std::string folder = SoundFileFolder(slot.path);
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = page;
    open.lpstrFilter = "Sound Files (*.wav;*.mid;*.mp3;*.wma)\0*.wav;*.mid;*.mp3;*.wma\0";
    open.lpstrFile = file;
    open.nMaxFile = sizeof file;
    open.lpstrInitialDir = folder.c_str();
    open.lpstrTitle = "Select a sound file";
    open.lpstrDefExt = "wav";
    open.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES | OFN_NOCHANGEDIR;
    const bool chosen = GetOpenFileNameA(&open) != FALSE;
    SetCurrentDirectoryA(GetDataFolder().c_str());
    if (!chosen)
        return;
    // A path cut to fit would name another file.
    if (std::string(file).size() >= sizeof slot.path) {
        ShowMessageBox(page, SoundPathTooLongText(kind, file).c_str(), ProgramTitle, kMbOk);
        return;
    }
    std::snprintf(slot.path, sizeof slot.path, "%s", file);
    slot.type = kSoundCustomFile;
    SetDlgItemTextA(page, IDC_SOUNDS_PATH, slot.path);
    CheckRadioButton(page, IDC_SOUNDS_NONE, IDC_SOUNDS_CUSTOM, IDC_SOUNDS_CUSTOM);
    UpdateSoundsPageStates(page, slot, false);
}

// The event's standard file as the slot's sound.
void TakeStandardSound(HWND page, CSoundSlot& slot, int kind)
{
    slot.type = kSoundStandardFile;
    std::snprintf(slot.path, sizeof slot.path, "%s", GetSoundFileNameBuffer(kind));
    SetDlgItemTextA(page, IDC_SOUNDS_PATH, slot.path);
}

void OnSoundsPageCommand(HWND page, CSoundPageData& data, int id, int code)
{
    CSoundSlot& slot = SelectedSlot(page, data);
    switch (id) {
    case IDC_SOUNDS_EVENTS:
        if (code == LBN_SELCHANGE)
            ShowSelectedSlot(page, data);
        break;
    case IDC_SOUNDS_NONE:
    case IDC_SOUNDS_BEEP:
    case IDC_SOUNDS_CUSTOM:
        if (code != BN_CLICKED)
            break;
        slot.type = static_cast<BYTE>(id - IDC_SOUNDS_NONE + kSoundNone);
        UpdateSoundsPageStates(page, slot, id == IDC_SOUNDS_CUSTOM);
        break;
    case IDC_SOUNDS_DEFAULT:
        if (code != BN_CLICKED)
            break;
        TakeStandardSound(page, slot, SelectedKind(page));
        UpdateSoundsPageStates(page, slot, false);
        break;
    case IDC_SOUNDS_BROWSE:
        BrowseForSound(page, slot, SelectedKind(page));
        break;
    case IDC_SOUNDS_TEST:
        PlaySoundFile(slot);
        break;
    case IDC_SOUNDS_RESET:
        if (code != BN_CLICKED)
            break;
        TakeStandardSound(page, slot, SelectedKind(page));
        ShowSelectedSlot(page, data);
        break;
    default:
        break;
    }
}

INT_PTR SettingsSoundsPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        InitSoundsPage(page, PageCreationData<CSoundPageData>(lParam));
        return TRUE;
    }
    CSoundPageData* data = SettingsSoundsPageDataOf(page);
    if (!data)
        return FALSE;
    switch (message) {
    case WM_NOTIFY:
        return AnswerPageNotify(page, reinterpret_cast<const NMHDR*>(lParam)->code, data->applied, IDH_SOUNDS_PAGE,
                                [] { return true; });
    case WM_HELP:
        ShowHelpTopic(GetParent(page), IDH_SOUNDS_PAGE);
        return TRUE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_SOUNDS_REPEAT_SLIDER))
            OnRepeatMoved(page, *data, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnSoundsPageCommand(page, *data, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        // A sound still playing for the test button ends with the page.
        StopAllSounds();
        SetWindowLongPtrA(page, GWLP_USERDATA, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
}

INT_PTR CALLBACK SoundPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<INT_PTR>(FALSE, [&] { return SettingsSoundsPageMessage(page, message, wParam, lParam); });
}
