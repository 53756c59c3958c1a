#include "net/bytes/ChatText.h"

#include <cctype>
#include <cstdlib>

namespace {
const char* const kNames[] = {"", "start", "message", "joined", "left", "closed", "undeleted", "avatar"};
const size_t kMaxComputerName = 100;
const size_t kMaxAddress = 15;
const size_t kMaxAvatarName = 99;

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(b[k])))
            return false;
    return true;
}

bool ReadSmallNumber(const std::string& text, unsigned limit, unsigned& value)
{
    if (text.empty() || text.size() > 5)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= limit;
}

std::vector<std::string> SplitBars(const std::string& text)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '|')
            parts.emplace_back();
        else
            parts.back() += c;
        if (parts.size() > 5)
            break;
    }
    return parts;
}

bool IsNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
}
}

const char* ChatOperationName(ChatOperation operation)
{
    size_t index = static_cast<size_t>(operation);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "";
}

ChatOperation ParseChatOperation(const std::string& name)
{
    for (size_t k = 1; k < sizeof kNames / sizeof kNames[0]; ++k)
        if (name == kNames[k])
            return static_cast<ChatOperation>(k);
    return ChatOperation::kNone;
}

bool CChatPeer::operator==(const CChatPeer& other) const
{
    return computerName == other.computerName && ipAddress == other.ipAddress && port == other.port &&
           state == other.state && avatar == other.avatar;
}

bool CChatPeer::SamePerson(const CChatPeer& other) const
{
    // Two programs on one computer share its name and differ by their port.
    if (!ipAddress.empty() && port != 0 && !other.ipAddress.empty() && other.port != 0)
        return ipAddress == other.ipAddress && port == other.port;
    return !computerName.empty() && SameIgnoringCase(computerName, other.computerName);
}

std::string WriteChatPeer(const CChatPeer& peer, bool withState)
{
    std::string text = peer.computerName.substr(0, kMaxComputerName) + "|" + peer.ipAddress.substr(0, kMaxAddress) +
                       "|" + std::to_string(peer.port);
    if (withState) {
        text += "|" + std::to_string(peer.state);
        if (!peer.avatar.empty())
            text += "|" + peer.avatar;
    }
    return text;
}

bool ParseChatPeer(const std::string& text, CChatPeer& peer)
{
    std::vector<std::string> parts = SplitBars(text);
    if (parts.size() < 3 || parts.size() > 5)
        return false;
    CChatPeer read;
    read.computerName = parts[0];
    read.ipAddress = parts[1];
    if (read.computerName.size() > kMaxComputerName || read.ipAddress.size() > kMaxAddress)
        return false;
    for (char c : read.computerName)
        if (!IsNameCharacter(c))
            return false;
    for (char c : read.ipAddress)
        if (!(c >= '0' && c <= '9') && c != '.')
            return false;
    if (read.computerName.empty() && read.ipAddress.empty())
        return false;
    if (!ReadSmallNumber(parts[2], 65535, read.port))
        return false;
    unsigned state = kPeerActive;
    if (parts.size() >= 4 && !ReadSmallNumber(parts[3], kPeerUnreachable, state))
        return false;
    read.state = static_cast<int>(state);
    if (parts.size() == 5 && parts[4].size() <= kMaxAvatarName && parts[4].find_first_of("\\/:") == std::string::npos &&
        parts[4] != "." && parts[4] != "..")
        read.avatar = parts[4];
    peer = read;
    return true;
}
