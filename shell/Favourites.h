#pragma once

#include <windows.h>

#include <string>

// The favourites folder: documents, folders and shortcuts that every note's
// "Quillnet+ Favourites" submenu opens, kept in one folder of the user's
// Favorites and watched so that the list follows the folder.

enum { kFavouritesLimit = 25 };

// The folder's path; empty when the user's Favorites folder is unknown.
std::string FavouritesFolderPath();

// Rebuilds the list from the folder; makes the folder (readme, shortcuts to
// the desktop's objects) when it is missing and was never made, or when the
// made-flag was cleared to ask for it again.
void SetupFavouritesFolder();
// Clears the made-flag, so that the next setup makes the folder again.
void ClearFavouritesMadeFlag();
// A request of "/addtofavourites": a shortcut to the object (or a copy of a
// shortcut) in the folder, which is made first when it is missing.
void AddToFavourites(const COPYDATASTRUCT* request);
// The note's command: makes the folder when missing and opens it in the Explorer.
void OrganizeFavourites(HWND owner);

// At start: the folder made when it is due and watched; the entries of a
// folder that was there are listed later, by ListPendingFavourites. Failures
// reach the log; the program runs without favourites.
void StartFavourites(HWND main);
// Lists the entries left by StartFavourites, once; nothing when the list is
// up to date.
void ListPendingFavourites();
// The favourites watcher of the program (FavouritesWatcher()) on the folder,
// for the main window.
void StartFavouritesWatcher(HWND window, const char* folder, UINT message);
void StopFavouritesWatcher();
