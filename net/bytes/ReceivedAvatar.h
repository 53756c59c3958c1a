#pragma once

#include <cstddef>
#include <string>

// A participant's avatar picture as a chat text brings it: the name it is kept
// under in the CHAT folder, and whether its bytes are a picture at all. The
// sender chooses both, so neither is taken on trust.

// The longest name kept, so that a number " (99)" still fits an avatar name.
const size_t kReceivedAvatarNameBytes = 94;

// The sender's name as a plain file name of CHAT (made safe as an attached
// file's name is) of at most kReceivedAvatarNameBytes, its extension kept in
// lower case; empty unless it ends in ".bmp", ".jpg" or ".gif" in any case, the
// pictures the chat shows.
std::string SafeAvatarName(const std::string& senderName);

// True when the bytes begin as a BMP, JPEG or GIF file does.
bool LooksLikePicture(const unsigned char* bytes, size_t length);
