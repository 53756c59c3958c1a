#include "net/bytes/SenderAddress.h"

#include <algorithm>

namespace {
std::string Trim(const std::string& text)
{
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return "";
    return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

std::string AddressTooLong(const std::string& address)
{
    return "Sorry, no more than 60 characters can be used for the email address.\r\n\r\nThe email you typed is " +
           std::to_string(address.size()) + " characters long. Maximum allowed email address is: " +
           address.substr(0, kSenderAddressMax);
}

std::string NameTooLong(const std::string& name)
{
    return "Sorry, maximum 30 characters are accepted for the email friendly name (Your Name)\r\n\r\n"
           "The friendly name you typed is " +
           std::to_string(name.size()) + " characters long. Maximum allowed friendly name is: " +
           name.substr(0, kFriendlyNameMax);
}

// One "@", with something before and after it.
bool HoldsOneAt(const std::string& address)
{
    const size_t at = address.find('@');
    return at != std::string::npos && at > 0 && at + 1 < address.size() &&
           address.find('@', at + 1) == std::string::npos;
}

// The address taken with the name, or refused: too long with its reason, without
// exactly one '@' without one.
SenderAddressParse WithAddress(const std::string& address, const std::string& name)
{
    SenderAddressParse parse;
    if (address.size() > kSenderAddressMax) {
        parse.reason = AddressTooLong(address);
    } else if (HoldsOneAt(address)) {
        parse.address = address;
        parse.friendlyName = name;
        parse.accepted = true;
    }
    return parse;
}
}

SenderAddressParse ParseSenderAddress(const std::string& typed)
{
    SenderAddressParse parse;
    const std::string text = Trim(typed.substr(0, kSenderTextMax));
    if (text.empty()) {
        parse.accepted = true;
        return parse;
    }
    const size_t opening = text.find('<');
    const size_t closing = text.find('>');
    const long openings = std::count(text.begin(), text.end(), '<');
    const long closings = std::count(text.begin(), text.end(), '>');
    if (openings != closings || openings > 1 || std::count(text.begin(), text.end(), '@') != 1)
        return parse;
    if (opening == std::string::npos)
        return WithAddress(text, std::string());
    // The address sits in the brackets, which close the text.
    if (closing < opening || closing + 1 != text.size())
        return parse;
    const std::string name = Trim(text.substr(0, opening));
    if (name.size() > kFriendlyNameMax) {
        parse.reason = NameTooLong(name);
        return parse;
    }
    return WithAddress(Trim(text.substr(opening + 1, closing - opening - 1)), name);
}

std::string FormatSenderAddress(const std::string& address, const std::string& friendlyName)
{
    if (friendlyName.empty())
        return address;
    return friendlyName + " <" + address + ">";
}
