#include "net/bytes/SendTarget.h"

#include <cctype>

#include "net/bytes/MimeEncoding.h"

const char kSendRequestSeparator[] = "!#%@";

namespace {
std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool AllDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// An address the mail client can use: the one check of what an e-mail
// address may hold, and a dot in its domain.
bool IsEmailAddress(const std::string& text)
{
    return text.size() <= SendTargetLimit::kEmail && IsPlainMailAddress(text) &&
           MailAddressDomain(text).find('.') != std::string::npos;
}
}

bool IsDottedAddress(const std::string& text)
{
    if (text.empty() || text.size() > SendTargetLimit::kIpAddress)
        return false;
    int parts = 0;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find('.', start);
        const std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!AllDigits(part) || part.size() > 3 || std::stoi(part) > 255)
            return false;
        ++parts;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts == 4;
}

bool IsComputerName(const std::string& text)
{
    if (text.empty() || text.size() > SendTargetLimit::kComputerName)
        return false;
    // Only digits and dots is an address typed wrong, not a name.
    if (text.find_first_not_of("0123456789.") == std::string::npos)
        return false;
    for (char c : text) {
        const bool allowed = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
        if (!allowed)
            return false;
    }
    return true;
}

bool ParsePortText(const std::string& text, unsigned& port)
{
    const std::string number = Trimmed(text);
    if (!AllDigits(number) || number.size() > 5)
        return false;
    const unsigned value = static_cast<unsigned>(std::stoul(number));
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

std::string CheckTypedDestination(const std::string& computerName, const std::string& ipAddress,
                                  const std::string& portText, SendTarget& target)
{
    const std::string name = Trimmed(computerName);
    const std::string address = Trimmed(ipAddress);
    target = SendTarget();
    if (name.empty() && address.empty())
        return std::string();
    // An e-mail address in the name box: the note goes by mail, nothing else counts.
    if (name.find('@') != std::string::npos) {
        if (!IsEmailAddress(name))
            return "\"" + name.substr(0, 120) +
                   "\" is not an e-mail address.\r\n\r\nAn e-mail address is a name, '@' and a domain, such as "
                   "ben@example.com, without blanks, quotes or brackets.";
        target.email = name;
        return std::string();
    }
    if (!name.empty() && !IsComputerName(name))
        return "\"" + name.substr(0, 120) +
               "\" is not a computer name.\r\n\r\nA computer name holds letters, digits, '-', '_' and '.' only, "
               "at most 100 of them.";
    if (!address.empty() && !IsDottedAddress(address))
        return "\"" + address.substr(0, 40) +
               "\" is not an IP address.\r\n\r\nPlease type four numbers from 0 to 255 with a dot between each "
               "two, such as 192.168.0.12.";
    if (!ParsePortText(portText, target.port))
        return "The port must be a number from 1 to 65535.";
    target.computerName = name;
    target.ipAddress = address;
    return std::string();
}

bool ParseSendRequestTarget(const std::string& text, SendTarget& target, std::string& reason)
{
    target = SendTarget();
    std::string destination = text;
    const size_t separator = text.find(kSendRequestSeparator);
    if (separator != std::string::npos) {
        destination = text.substr(0, separator);
        target.attachedFile = Trimmed(text.substr(separator + 4));
        if (target.attachedFile.size() > SendTargetLimit::kAttachedFile) {
            reason = "the attached file's path is longer than 259 characters";
            return false;
        }
    }
    destination = Trimmed(destination);
    if (destination.empty()) {
        reason = "no destination was given";
        return false;
    }
    if (destination.find('@') != std::string::npos) {
        if (!IsEmailAddress(destination)) {
            reason = "\"" + destination.substr(0, 120) + "\" is not an e-mail address";
            return false;
        }
        target.email = destination;
        return true;
    }
    const size_t colon = destination.rfind(':');
    if (colon != std::string::npos) {
        if (!ParsePortText(destination.substr(colon + 1), target.port)) {
            reason = "the port after \":\" must be a number from 1 to 65535";
            return false;
        }
        destination = destination.substr(0, colon);
    }
    if (IsDottedAddress(destination)) {
        target.ipAddress = destination;
        return true;
    }
    if (!IsComputerName(destination)) {
        reason = "\"" + destination.substr(0, 120) + "\" is neither a computer name nor an IP address";
        return false;
    }
    target.computerName = destination;
    return true;
}
