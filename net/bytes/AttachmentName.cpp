#include "net/bytes/AttachmentName.h"

#include <cctype>

namespace {
const size_t kMaxNameLength = 200;
const size_t kMaxExtensionLength = 16;

bool IsForbidden(unsigned char c)
{
    return c < 32 || c == 127 || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' || c == '\\' ||
           c == '|' || c == '?' || c == '*';
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// "CON", "nul.txt", "Com1.log": names Windows takes for its devices whatever
// folder or extension they are given.
bool IsDeviceName(const std::string& name)
{
    std::string stem = Upper(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

size_t ExtensionStart(const std::string& name)
{
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || name.size() - dot > kMaxExtensionLength)
        return name.size();
    return dot;
}
}

std::string SafeAttachmentName(const std::string& senderName)
{
    size_t cut = senderName.find_last_of("\\/:");
    std::string name = cut == std::string::npos ? senderName : senderName.substr(cut + 1);
    for (char& c : name)
        if (IsForbidden(static_cast<unsigned char>(c)))
            c = '_';
    // Windows drops trailing dots and blanks, so "a.txt." would be "a.txt".
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first);
    if (name.size() > kMaxNameLength) {
        size_t dot = ExtensionStart(name);
        std::string extension = name.substr(dot);
        name = name.substr(0, kMaxNameLength - extension.size()) + extension;
    }
    if (name.empty() || name == "." || name == "..")
        return "attachment";
    if (IsDeviceName(name))
        name = "_" + name;
    return name;
}

std::string NumberedFileName(const std::string& name, unsigned n)
{
    if (n <= 1)
        return name;
    size_t dot = ExtensionStart(name);
    return name.substr(0, dot) + " (" + std::to_string(n) + ")" + name.substr(dot);
}
