#pragma once

#include <windows.h>

#include <string>

#include "foundation/RecordList.h"
#include "globals/CalendarStyle.h"
#include "globals/HotkeyEntries.h"

// The calendar settings dialog (template 736): every option of the calendar
// edited on a working copy while a one-month preview follows each change,
// and the user's nine calendar styles, which it changes at once.

// What the dialog edits. The caller fills it, runs the dialog and, on 1,
// applies the working settings; the styles it changed are already the
// program's.
struct CCalendarSettingsDlg {
    CCalendarSettingsDlg() : groups("") {}
    CCalendarSettingsDlg(const CCalendarSettingsDlg&) = delete;
    CCalendarSettingsDlg& operator=(const CCalendarSettingsDlg&) = delete;

    // The working settings: every option and colour of the calendar, with
    // its fonts.
    CCalendarStyle settings;
    // The program's other hotkeys, against which the calendar's is checked:
    // the actions ("Calendar" among them) and the note groups.
    CHotkeyActionEntry actions[kHotkeyActionCount] = {};
    CRecordList<CHotkeyGroupEntry> groups;
    // A copy of the user's nine styles, and the one applied last (-1: none).
    CCalendarStyle styles[9];
    int selectedStyle = -1;
};

// The record from the options, the program's hotkeys and the user's styles.
void FillCalendarSettingsDlg(CCalendarSettingsDlg& record, const CCalendarStyle& options);
// Runs the dialog over the owner: 1 after OK, 0 after Cancel.
INT_PTR RunCalendarSettingsDialog(HWND owner, CCalendarSettingsDlg& record);

INT_PTR CALLBACK CalendarSettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the dialog needs of the program's hotkeys, which the shell keeps and
// hands over at start. Without them the hotkey stays as it is.
struct CalendarHotkeyServices {
    // The key-combination dialog; the combination changes only on OK.
    bool (*askForKeys)(HWND owner, const std::string& title, DWORD restricted, DWORD& ctrl, DWORD& alt,
                       DWORD& shift, DWORD& key) = nullptr;
    // The program's action and group hotkeys as they stand.
    void (*readHotkeys)(CHotkeyActionEntry (&actions)[kHotkeyActionCount],
                        CRecordList<CHotkeyGroupEntry>& groups) = nullptr;
    // Tells the user when another hotkey has the combination; 1 when an
    // action hotkey has it.
    int (*checkConflict)(HWND owner, const CRecordList<CHotkeyGroupEntry>& groups,
                         const CHotkeyActionEntry (&actions)[kHotkeyActionCount], const char* name, long groupId,
                         DWORD ctrl, DWORD alt, DWORD shift, DWORD key) = nullptr;
};
void SetCalendarHotkeyServices(const CalendarHotkeyServices& services);
const CalendarHotkeyServices& GetCalendarHotkeyServices();
