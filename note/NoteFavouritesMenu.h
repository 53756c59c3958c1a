#pragma once

#include <windows.h>

#include <vector>

// The note's "Quillnet+ Favourites" menu: one line per object of the
// favourites folder, in the folder's order, with its small icon, then a line
// that opens the folder itself. Choosing a line opens that object.

enum NoteFavouritesCommand : UINT {
    kNoteCmdOrganizeFavourites = 4530,
    kNoteCmdFirstFavourite = 4531,
    kNoteCmdLastFavourite = 4555,  // 25 objects at most
};

// The menu's pictures live as long as the object; the menu itself goes with
// the menu it was put into, or with the object when it stands alone.
class CNoteFavouritesMenu {
public:
    CNoteFavouritesMenu();
    ~CNoteFavouritesMenu();
    CNoteFavouritesMenu(const CNoteFavouritesMenu&) = delete;
    CNoteFavouritesMenu& operator=(const CNoteFavouritesMenu&) = delete;

    // Handed to a parent menu, which destroys it.
    HMENU Release();
    // Shown alone at the pointer; the chosen command, 0 for none.
    UINT TrackAtPointer(HWND owner);

private:
    HMENU m_menu = nullptr;
    std::vector<HBITMAP> m_pictures;
};

// The favourites folder is the shell's: it registers what makes the folder
// when it is missing and opens it, for the menu's last line
// (shell/ProgramParts.cpp). Without it that line does nothing.
using FavouritesOrganizer = void (*)(HWND owner);
void SetFavouritesOrganizer(FavouritesOrganizer organizer);
// It also registers what completes a list whose reading was put off, which
// the menu calls before it reads the list.
using FavouritesLister = void (*)();
void SetFavouritesLister(FavouritesLister lister);

// Acts on a command of the menu: the object of the line chosen last opened,
// or the folder. False when the command is not one of the menu's.
bool OnNoteFavouritesCommand(HWND owner, UINT id);
