#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "foundation/RecordList.h"

struct NoteRecord;

// A note associated with another program's top-level window, recognised by
// the window's title: while that window is on the screen the note shows, when
// it is minimised or closed the note hides. The marks make each of these
// happen once per appearance of the window.
struct CAppAssociation {
    DWORD id = 0;        // unique in the list: the largest id + 1 when made
    DWORD noteId = 0;
    int iconIndex = -1;  // the program's icon in the main window's image list; -1 none
    char application[255] = "";  // the window title, compared without regard to case
    DWORD shown = 0;     // set while a note has been shown for this window
};
inline long RecordId(const CAppAssociation& a) { return static_cast<long>(a.id); }
inline const char* RecordName(const CAppAssociation& a) { return a.application; }

// The program-wide list "AssociatedWithApps", built in its row of the program globals.
CRecordList<CAppAssociation>& AppAssociationsList();

// A top-level window that notes may follow: another program's visible,
// titled, ordinary window (not a note, a tool window, the desktop, the
// taskbar or this program's own titled windows).
struct AppWindow {
    HWND window = nullptr;
    std::string title;
    bool minimised = false;
};
// The titles of every such window on the screen now, in the system's order.
std::vector<AppWindow> CollectTopLevelWindows();

// Marks the note's association with the window title shown (clear false) or
// not shown (clear true); 1 when the mark changed, else 0. Without a title:
// 1 when the note has any association.
int SetAssociationShown(const NoteRecord& note, const char* title, bool clear);

// The ids of the notes whose association was marked shown for a window that
// is no longer among the titles; their marks are cleared.
std::vector<DWORD> DropClosedAppAssociations(const std::vector<AppWindow>& windows);
