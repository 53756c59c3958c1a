#pragma once

#include <windows.h>

#include <string>

struct CWireNote;

// Chat avatars: the user's own picture (the chat options name it, a file of
// the data folder's CHAT folder), which every chat text that introduces the
// user carries, and the participants' pictures that such texts bring, kept in
// CHAT beside the user's own. Main thread only.

// The user's picture, loaded into the program's own avatar record when its
// name changed; null when the user has none or its file is gone.
HBITMAP OwnAvatarPicture();
const char* OwnAvatarName();

// Puts the user's avatar into a chat text: its name, and the picture itself
// when it is small enough to travel.
void PutOwnAvatar(CWireNote& wire);

// Keeps the picture a chat text brought under a safe name of CHAT and answers
// that name: a picture already there with the same bytes is used again, and
// another picture of that name is never replaced (the next free "name (2).bmp"
// is taken). Empty when the text brought no picture, or bytes that are none.
std::string KeepReceivedAvatar(const CWireNote& wire);

// The user's avatar command: the avatar picker with the current picture; a
// new choice is kept in the chat options, shown in every chat note and sent
// to the participants of every chat. Beeps when the picker cannot be shown.
void ChooseOwnAvatar(HWND owner);
