#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "foundation/win/CoolMenu.h"
#include "xmlfiles/BackupList.h"

class CFavouritesImageList;

// The tray's Restore submenu, filled as it opens. The newest rescue backups
// come first, in a group of their own with a bound (the others stay in their
// folders, where error.txt and the boxes that wrote them name them), then the
// dated backups, newest first, or a greyed line that says why they are
// missing. Every menu is one column that fits the screen: the dated backups
// that do not fit go into an "Older backups" submenu at the bottom, whose
// own overflow goes into one at its bottom, and so on.
class CRestoreSubmenu {
public:
    CRestoreSubmenu() = default;
    CRestoreSubmenu(const CRestoreSubmenu&) = delete;
    CRestoreSubmenu& operator=(const CRestoreSubmenu&) = delete;

    // Replaces the menu's items, owner-drawn through cool (attached here):
    // dated backup i has the command kCmdFirstBackup + i, rescue backup j
    // kCmdFirstRescueBackup + j.
    void Fill(HINSTANCE instance, HMENU menu, CCoolMenu& cool, CFavouritesImageList* images,
              const RestoreChoices& choices);
    // The "Older backups" menu that holds the item of a WM_MEASUREITEM, or
    // that is the menu drawn into; null for any other menu.
    CCoolMenu* HoldingItem(ULONG_PTR itemData);
    CCoolMenu* Drawing(HMENU menu);
    // The "Older backups" menus are forgotten (the tray menu that holds them
    // is about to be destroyed).
    void Release();

private:
    std::vector<std::unique_ptr<CCoolMenu>> m_older;
};
