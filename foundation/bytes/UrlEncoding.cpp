#include "foundation/bytes/UrlEncoding.h"

#include <cstring>

#include "foundation/bytes/TextChecks.h"

namespace {
bool MustEscape(unsigned char c)
{
    static const char kReserved[] = "\\+\"&=<>[]:;?@,${}|^~`#/()'";
    return c < 32 || c >= 127 || std::strchr(kReserved, static_cast<char>(c)) != nullptr;
}

void AppendEscape(std::string& out, unsigned char c)
{
    static const char kDigits[] = "0123456789ABCDEF";
    out += '%';
    out += kDigits[c >> 4];
    out += kDigits[c & 0x0F];
}
}

std::string UrlEncodedText(const char* text)
{
    std::string out;
    if (!text)
        return out;
    out.reserve(std::strlen(text));
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == ' ')
            out += '+';
        else if (c == '%' && HexDigitOrNone(p[1]) >= 0 && HexDigitOrNone(p[2]) >= 0)
            out += '%';
        else if (c == '%' || MustEscape(c))
            AppendEscape(out, c);
        else
            out += static_cast<char>(c);
    }
    return out;
}
