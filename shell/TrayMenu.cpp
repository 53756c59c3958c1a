// The tray menu of the application object: shown through owner-drawn menus,
// its submenus filled as they open (hidden notes, deleted notes, backups).
#include <winsock2.h>

#include <cstdio>
#include <string>

#include "calendar/CalendarSettings.h"
#include "foundation/FileHelpers.h"
#include "foundation/GenericString.h"
#include "foundation/TextFormatting.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/TrayMenuIds.h"
#include "shell/Hotkeys.h"
#include "globals/MainWindowMessages.h"
#include "shell/MenuLabels.h"
#include "shell/NoteLists.h"
#include "shell/OpenDialogs.h"
#include "globals/ProgramGlobals.h"
#include "shell/WindowController.h"
#include "xmlfiles/BackupList.h"
#include "xmlfiles/UnrestoreSet.h"

namespace {
const char kProtectedMark[] = " ...PROTECTED  NOTE... ";
const int kMenuTitleLength = 24;
// Positions in the tray menu and its submenus.
const int kUndeletePosition = 1;
const int kShowNotesPosition = 5;
const int kArrangePosition = 8;
const int kBackupPosition = 12;
const int kRestorePosition = 2;
const int kCascadePosition = 0;
// Pictures of the backup entries in the menus' image list.
const int kBackupAllImage = 42;
const int kUnrestoreImage = 44;
const int kUnrestoreGreyImage = 45;
const int kTilePosition = 1;
// The tray menu opens this far right of and above the pointer; position mode
// 2 opens it where it opened last.
const LONG kTrayMenuOffset = 10;
const WPARAM kTrayMenuAtLastPoint = 2;

// The note's title, else the start of its text.
std::string NoteEntryText(const CNoteController& note)
{
    char title[kMenuTitleSize];
    MakeMenuTitle(note.m_title, title, kMenuTitleLength);
    if (!title[0] && note.m_window) {
        char body[64] = "";
        GetWindowTextA(note.m_bodyEdit ? note.m_bodyEdit : note.m_window, body, sizeof body);
        MakeMenuTitle(body, title, kMenuTitleLength);
    }
    std::string text = title;
    if (note.m_protected && note.m_masked)
        text += kProtectedMark;
    return text;
}

// The entry text with the note's creation date after it; only the date for a
// note with neither title nor text.
std::string DatedEntryText(const CNoteController& note)
{
    char label[kNoteMenuLabelSize];
    MakeNoteMenuLabel(note.m_created, label, NoteEntryText(note).c_str());
    return label;
}

// A hotkey's text after a menu entry, when that hotkey is on.
std::string WithHotkey(const char* text, const CHotkeySetting& hotkey, bool enabled)
{
    if (!enabled || !hotkey.key)
        return text;
    CGenericString keys(64);
    HotkeyToText(keys, hotkey.ctrl != 0, hotkey.alt != 0, hotkey.shift != 0, hotkey.key);
    std::string keyText = keys.GetString();
    // A key the key table does not name yet is left out rather than shown half.
    if (keyText.empty() || keyText.back() == '+')
        return text;
    return std::string(text) + " - " + keyText;
}
}

// Every item of the menu becomes owner-drawn: separators by position, popups
// by their position, the rest by command.
void CWindowController::MakeOwnerDrawn(CCoolMenu& cool, HMENU menu)
{
    int count = GetMenuItemCount(menu);
    if (count < 1)
        return;
    cool.Attach(m_instance, menu, &ImageList(0));
    cool.SetSize(count);
    const CUserSettings& user = UserSettings();
    for (int position = 0; position < count; ++position) {
        char text[128] = "";
        GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        UINT id = GetMenuItemID(menu, position);
        if (GetSubMenu(menu, position)) {
            cool.InitMenuStructures(position, text, kFirstPopupId + static_cast<UINT>(position), -1, -1, 0,
                                    kNoRecolour, false);
        } else if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) {
            cool.InitMenuStructures(position, "", kMakeSeparatorId, position, -1, 0, kNoRecolour, false);
        } else {
            std::string entry = text;
            if (id == kCmdNewNote)
                entry = WithHotkey(text, user.newNote, user.hotkeyEnabled[kEnableNewNote] != 0);
            else if (id == kCmdNoteManager)
                entry = WithHotkey(text, user.noteManager, user.hotkeyEnabled[kEnableNoteManager] != 0);
            else if (id == kCmdHideAll)
                entry = WithHotkey(text, user.hideAll, user.hotkeyEnabled[kEnableHideAll] != 0);
            else if (id == kCmdCalendar)
                entry = WithHotkey(text, CalendarHotkey(), CurrentCalendarOptions().hotkeyAllow != 0);
            cool.InitMenuStructures(position, entry.c_str(), id, -1, -1, 0, kNoRecolour, id == kCmdNewNote);
        }
    }
}

void CWindowController::ShowTrayMenu(WPARAM positionMode)
{
    // The menu's commands would open their windows over the dialog the user
    // has not finished with, or a second one of it.
    if (ActivateOpenDialog(false))
        return;
    HMENU menu = LoadMenuA(m_instance, MAKEINTRESOURCEA(IDM_TRAY_MENU));
    if (!menu)
        return;
    const bool pointKnown = m_trayMenuPoint.x != 0 || m_trayMenuPoint.y != 0;
    if (positionMode != kTrayMenuAtLastPoint || !pointKnown) {
        POINT cursor{};
        GetCursorPos(&cursor);
        m_trayMenuPoint = {cursor.x + kTrayMenuOffset, cursor.y - kTrayMenuOffset};
    }
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    if (positionMode != 0)
        flags |= TPM_RIGHTALIGN | TPM_BOTTOMALIGN;
    SetForegroundWindow(m_mainWindow);
    m_submenus[kTrayPopup] = GetSubMenu(menu, 0);
    m_menus[kTrayPopup].Attach(m_instance, m_submenus[kTrayPopup], &ImageList(0));
    UINT chosen = m_menus[kTrayPopup].TrackPopup(flags, m_trayMenuPoint.x, m_trayMenuPoint.y, m_mainWindow);
    PostMessageA(m_mainWindow, WM_NULL, 0, 0);
    m_restoreSubmenu.Release();
    for (int i = 0; i < kMenuCount; ++i) {
        m_menus[i].Detach();
        m_submenus[i] = nullptr;
    }
    m_openPopup = 0;
    DestroyMenu(menu);
    if (chosen == kCmdExit)
        ExitCommand();
}

void CWindowController::BuildPopupMenu(HMENU popup)
{
    m_submenus[kShowNotesMenu] = GetSubMenu(popup, kShowNotesPosition);
    m_submenus[kUndeleteMenu] = GetSubMenu(popup, kUndeletePosition);
    m_submenus[kBackupMenu] = GetSubMenu(popup, kBackupPosition);
    m_submenus[kArrangeMenu] = GetSubMenu(popup, kArrangePosition);
    if (!m_submenus[kShowNotesMenu])
        ShowMessageBox(m_mainWindow, "SubMenuHidden loading failed", ProgramTitle, kMbOk);
    if (m_submenus[kArrangeMenu]) {
        m_submenus[kCascadeMenu] = GetSubMenu(m_submenus[kArrangeMenu], kCascadePosition);
        m_submenus[kTileMenu] = GetSubMenu(m_submenus[kArrangeMenu], kTilePosition);
    }
    m_submenus[kRestoreMenu] = m_submenus[kBackupMenu] ? GetSubMenu(m_submenus[kBackupMenu], kRestorePosition) : nullptr;
    if (!m_submenus[kRestoreMenu])
        ShowMessageBox(m_mainWindow, "Error loading the tray icon restore submenu(2). Please try again.", ProgramTitle,
                       kMbOk);
    MakeOwnerDrawn(m_menus[kTrayPopup], popup);
}

// The hidden own notes, one entry each, as many as the Show notes ids allow.
void CWindowController::BuildNotesMenu(HMENU menu)
{
    bool anyShown = false;
    bool anyAlarmed = false;
    UINT id = kCmdFirstHiddenNote;
    bool separatorAdded = false;
    ForEachNote(m_ourNotes, [&](CNoteController* note) {
        anyAlarmed = anyAlarmed || note->m_alarmSet;
        if (!note->m_hidden) {
            anyShown = true;
            return true;
        }
        if (id > kCmdLastHiddenNote)
            return true;
        if (!separatorAdded) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            separatorAdded = true;
        }
        std::string entry = NoteEntryText(*note);
        if (entry.empty())
            entry = DatedEntryText(*note);
        AppendMenuA(menu, MF_STRING, id++, entry.c_str());
        return true;
    });
    MakeOwnerDrawn(m_menus[kShowNotesMenu], menu);
    EnableMenuItem(menu, kCmdBringToFront, MF_BYCOMMAND | (anyShown ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, kCmdShowAlarmed, MF_BYCOMMAND | (anyAlarmed ? MF_ENABLED : MF_GRAYED));
}

void CWindowController::BuildUndeleteMenu(HMENU menu)
{
    CPtrList& deleted = DeletedNotesList();
    UINT id = kCmdFirstDeletedNote;
    if (!deleted.IsEmpty())
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ForEachNote(deleted, [&](CNoteController* note) {
        if (id > kCmdLastDeletedNote)
            return false;
        AppendMenuA(menu, MF_STRING, id++, DatedEntryText(*note).c_str());
        return true;
    });
    MakeOwnerDrawn(m_menus[kUndeleteMenu], menu);
    EnableMenuItem(menu, kCmdUndeleteAll, MF_BYCOMMAND | (deleted.IsEmpty() ? MF_GRAYED : MF_ENABLED));
}

// The rescue backups and the dated backups, each newest first; built as the
// submenu opens, so that a rescue backup written during the run is there.
// The lists stay with the application object, so that an entry restores the
// file its text shows even when a backup is written meanwhile.
void CWindowController::BuildBackupListMenu(HMENU menu)
{
    CCoolMenu& cool = m_menus[kRestoreMenu];
    if (cool.GetMenu() == menu)
        return;
    const RestoreChoices choices = BuildRestoreChoices();
    m_restoreState.backupList = choices.backups;
    m_restoreState.rescueList = choices.rescues;
    m_restoreSubmenu.Fill(m_instance, menu, cool, &ImageList(0), choices);
}

// Backup all notes, the Restore submenu (greyed with nothing to restore) and
// Unrestore (greyed unless the undo copy is complete).
void CWindowController::BackupToUnrestoreMenu(HMENU menu)
{
    CCoolMenu& cool = m_menus[kBackupMenu];
    if (cool.GetMenu() == menu)
        return;
    cool.Attach(m_instance, menu, &ImageList(0));
    cool.SetSize(GetMenuItemCount(menu));
    cool.InitMenuStructures(0, "&Backup all notes", kCmdBackupAll, kBackupAllImage, -1, 0, kNoRecolour, false);
    cool.InitMenuStructures(1, "", kMakeSeparatorId, 1, -1, 0, kNoRecolour, false);
    cool.InitMenuStructures(kRestorePosition, "&Restore...", kFirstPopupId + kRestorePosition, -1, -1, 0, kNoRecolour,
                            false);
    cool.InitMenuStructures(3, "&Unrestore...", kCmdUnrestore, kUnrestoreImage, kUnrestoreGreyImage, 0, kNoRecolour,
                            false);
    EnableMenuItem(menu, kRestorePosition, MF_BYPOSITION | (RestoreSubmenuHasEntries() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, kCmdUnrestore, MF_BYCOMMAND | (HasCompleteUnrestoreSet() ? MF_ENABLED : MF_GRAYED));
}

void CWindowController::OnInitMenuPopup(HMENU menu)
{
    if (menu == m_submenus[kTrayPopup]) {
        m_openPopup = 1;
        BuildPopupMenu(menu);
    } else if (menu == m_submenus[kShowNotesMenu]) {
        m_openPopup = 2;
        BuildNotesMenu(menu);
    } else if (menu == m_submenus[kArrangeMenu]) {
        m_openPopup = 3;
        MakeOwnerDrawn(m_menus[kArrangeMenu], menu);
        EnableMenuItem(menu, kCmdUnarrange, MF_BYCOMMAND | (HasArrangement() ? MF_ENABLED : MF_GRAYED));
    } else if (menu == m_submenus[kCascadeMenu]) {
        m_openPopup = 4;
        MakeOwnerDrawn(m_menus[kCascadeMenu], menu);
    } else if (menu == m_submenus[kTileMenu]) {
        m_openPopup = 5;
        MakeOwnerDrawn(m_menus[kTileMenu], menu);
    } else if (menu == m_submenus[kBackupMenu]) {
        m_openPopup = 6;
        BackupToUnrestoreMenu(menu);
    } else if (menu == m_submenus[kRestoreMenu]) {
        m_openPopup = 7;
        BuildBackupListMenu(menu);
    } else if (menu == m_submenus[kUndeleteMenu]) {
        m_openPopup = 8;
        BuildUndeleteMenu(menu);
    }
}

CCoolMenu* CWindowController::OpenMenu()
{
    static const int kByOpenPopup[] = {-1,          kTrayPopup,  kShowNotesMenu, kArrangeMenu, kCascadeMenu,
                                       kTileMenu,   kBackupMenu, kRestoreMenu,   kUndeleteMenu};
    if (m_openPopup < 1 || m_openPopup > 8)
        return nullptr;
    return &m_menus[kByOpenPopup[m_openPopup]];
}

void CWindowController::OnMeasureItem(MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_MENU)
        return;
    if (CCoolMenu* older = m_restoreSubmenu.HoldingItem(measure->itemData))
        older->MeasureItem(measure);
    else if (CCoolMenu* menu = OpenMenu())
        menu->MeasureItem(measure);
}

void CWindowController::OnDrawItem(const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_MENU)
        return;
    for (CCoolMenu& menu : m_menus) {
        if (menu.GetMenu() == reinterpret_cast<HMENU>(draw->hwndItem)) {
            menu.DrawItem(draw);
            return;
        }
    }
    if (CCoolMenu* older = m_restoreSubmenu.Drawing(reinterpret_cast<HMENU>(draw->hwndItem)))
        older->DrawItem(draw);
}
