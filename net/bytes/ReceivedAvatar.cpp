#include "net/bytes/ReceivedAvatar.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "net/bytes/AttachmentName.h"

namespace {
std::string LowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
}

std::string SafeAvatarName(const std::string& senderName)
{
    std::string safe = SafeAttachmentName(senderName);
    const size_t dot = safe.find_last_of('.');
    if (dot == std::string::npos || dot == 0)
        return std::string();
    // The picture loader goes by the extension's spelling: lower case it is.
    const std::string extension = LowerCase(safe.substr(dot));
    if (extension != ".bmp" && extension != ".jpg" && extension != ".gif")
        return std::string();
    const std::string stem = safe.substr(0, std::min(dot, kReceivedAvatarNameBytes - extension.size()));
    return stem + extension;
}

bool LooksLikePicture(const unsigned char* bytes, size_t length)
{
    static const unsigned char kJpeg[] = {0xFF, 0xD8, 0xFF};
    if (length >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return true;
    if (length >= sizeof kJpeg && std::memcmp(bytes, kJpeg, sizeof kJpeg) == 0)
        return true;
    return length >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0);
}
