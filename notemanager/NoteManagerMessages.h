#pragma once

#include <windows.h>

#include "foundation/win/InPlaceEdit.h"

// The private messages the Note Manager window answers.
enum NoteManagerMessage : UINT {
    kNmMsgNoteDeleted = 0x8097,  // lParam: the note, now in the deleted list
    kNmMsgNoteCreated = 0x80A0,  // lParam: a note made by the user, received or duplicated
    kNmMsgReopen = 0x80A9,       // lParam: the requested day, yyyymmdd or 0
};

// Sent by the main window to the open Note Manager for each note it adopts new.
inline void TellNoteManagerOfNewNote(HWND manager, void* note)
{
    SendMessageA(manager, kNmMsgNoteCreated, 0, reinterpret_cast<LPARAM>(note));
}
