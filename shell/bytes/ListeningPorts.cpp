#include "shell/bytes/ListeningPorts.h"

namespace {
const size_t kLongestPortsText = 29;

// A port's digits as a number; anything that is not 1 to 65535 gives 0, and
// text beyond five digits gives a number above 65535.
long PortNumber(const std::string& digits, bool& tooLarge)
{
    tooLarge = false;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const size_t firstDigit = digits.find_first_not_of('0');
    if (firstDigit == std::string::npos)
        return 0;
    if (digits.size() - firstDigit > 5) {
        tooLarge = true;
        return 65536;
    }
    long number = std::stol(digits.substr(firstDigit));
    tooLarge = number > 65535;
    return number;
}
}

ListeningPortsCheck CheckListeningPorts(const std::string& typed)
{
    ListeningPortsCheck check;
    std::string text = typed.substr(0, kLongestPortsText);
    const size_t start = text.find_first_not_of(' ');
    text = start == std::string::npos ? "" : text.substr(start, text.find_last_not_of(' ') - start + 1);

    const size_t comma = text.find(',');
    if (text.size() < 5) {
        check.error = "Please type at least 5 digits.";
        return check;
    }
    if (comma == std::string::npos) {
        check.error = "You cannot remove the second listening port.\r\n Please only modify the value of the second "
                      "listening port, if you really need to.";
        return check;
    }
    if (text.find(',', comma + 1) != std::string::npos) {
        check.error = "Too many commas, please check.";
        return check;
    }
    bool firstTooLarge = false;
    bool secondTooLarge = false;
    const long first = PortNumber(text.substr(0, comma), firstTooLarge);
    const long second = PortNumber(text.substr(comma + 1), secondTooLarge);
    if (first == second && first > 0) {
        check.error = "The TCP/IP ports must be different.";
        return check;
    }
    if (first <= 0 || second <= 0) {
        check.error = "The TCP/IP ports must be greater than zero.";
        return check;
    }
    if (firstTooLarge || secondTooLarge) {
        check.error = "The TCP/IP ports must not be greater than 65535.";
        return check;
    }
    check.first = static_cast<std::uint16_t>(first);
    check.second = static_cast<std::uint16_t>(second);
    return check;
}

std::string FormatListeningPorts(std::uint16_t first, std::uint16_t second)
{
    return std::to_string(first) + "," + std::to_string(second);
}
