#include "shell/bytes/StartupPasswordCode.h"

#include <cctype>
#include <cstdio>

const char kPasswordSalt[] = "Marovinth+ ...";

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsTypedStoredCode(const std::string& trimmed)
{
    if (trimmed.size() != 9 || trimmed[8] != '#')
        return false;
    for (size_t i = 0; i < 8; ++i)
        if (!std::isalnum(static_cast<unsigned char>(trimmed[i])))
            return false;
    return true;
}

std::string CodeFromHash(const unsigned char* hash, size_t length)
{
    std::string code;
    for (size_t i = 0; i < length && code.size() < 8; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", hash[i]);
        code += digits;
    }
    return code;
}
