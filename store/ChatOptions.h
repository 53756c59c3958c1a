#pragma once

#include <windows.h>

// The current user's chat options, kept in the profile file "chat.QPD" of the
// data folder in a section named by the user id: the avatar picture (a file of
// the CHAT folder, or "  NoImage") and five switches of how chat lines show.
struct CChatOptions {
    enum { kAvatarSize = 100 };
    char avatar[kAvatarSize] = "";
    DWORD showSenderComputer = 0;
    DWORD showSenderName = 1;
    DWORD showReceivedDate = 0;
    DWORD showReceivedTime = 1;
    DWORD myOwnMessagesInBold = 1;
};
CChatOptions& ChatOptions();

// Reads the user's section; without one, picks an avatar from the CHAT
// pictures by the clock and writes a new section.
void LoadChatOptions();
// Writes the user's section: Avatar and the five switches, in that order.
void SaveChatOptions();
