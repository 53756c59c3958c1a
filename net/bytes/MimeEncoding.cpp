#include "net/bytes/MimeEncoding.h"

#include <cstdio>
#include <cstring>

#include "foundation/bytes/Base64Lines.h"

namespace {
const size_t kQuotedLineLength = 76;
const size_t kHeaderLineLength = 78;
const size_t kMaxAddressLength = 254;
// Bytes per encoded word: 36 bytes are 48 Base64 characters, and with the
// charset around them the word stays well inside a header line.
const size_t kEncodedWordBytes = 36;
const char kHex[] = "0123456789ABCDEF";

bool IsLiteralQuoted(unsigned char c)
{
    return (c >= 33 && c <= 126 && c != '=') || c == ' ' || c == '\t';
}

void AppendEscaped(std::string& out, unsigned char c)
{
    out += '=';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// One line of the text, without its line end.
void EncodeQuotedLine(std::string& out, const char* line, size_t length)
{
    size_t column = 0;
    for (size_t k = 0; k < length; ++k) {
        unsigned char c = static_cast<unsigned char>(line[k]);
        bool last = k + 1 == length;
        // Blanks at a line's end would be lost on the way.
        bool literal = IsLiteralQuoted(c) && !(last && (c == ' ' || c == '\t'));
        size_t width = literal ? 1 : 3;
        // Room is kept for the '=' of a soft break, unless this is the last character.
        size_t room = last ? kQuotedLineLength : kQuotedLineLength - 1;
        if (column + width > room) {
            out += "=\r\n";
            column = 0;
        }
        if (literal)
            out += static_cast<char>(c);
        else
            AppendEscaped(out, c);
        column += width;
    }
}

bool IsPlainAscii(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return false;
    return true;
}

std::string WithoutControls(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return out;
}

std::string EncodedWords(const std::string& text)
{
    std::string out;
    for (size_t start = 0; start < text.size(); start += kEncodedWordBytes) {
        size_t count = text.size() - start < kEncodedWordBytes ? text.size() - start : kEncodedWordBytes;
        char encoded[80];
        size_t length = sizeof encoded;
        Base64Encode(reinterpret_cast<const unsigned char*>(text.data() + start), count, encoded, &length,
                     kBase64NoLineBreaks);
        if (!out.empty())
            out += "\r\n ";
        out += "=?windows-1252?B?";
        out.append(encoded, length);
        out += "?=";
    }
    return out;
}

// Breaks before blanks so that no line passes the usual length where the text
// allows; a word longer than a line stays whole.
std::string FoldAtBlanks(const std::string& text, size_t firstColumn)
{
    std::string out;
    size_t column = firstColumn;
    size_t k = 0;
    while (k < text.size()) {
        size_t next = text.find(' ', k + 1);
        if (next == std::string::npos)
            next = text.size();
        size_t wordLength = next - k;
        if (column + wordLength > kHeaderLineLength && !out.empty() && text[k] == ' ') {
            out += "\r\n";
            column = 0;
        }
        out.append(text, k, wordLength);
        column += wordLength;
        k = next;
    }
    return out;
}
}

std::string EncodeQuotedPrintable(const std::string& text)
{
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        EncodeQuotedLine(out, text.data() + start, end - start);
        if (end == text.size())
            break;
        out += "\r\n";
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

bool IsPlainMailAddress(const std::string& address)
{
    if (address.empty() || address.size() > kMaxAddressLength)
        return false;
    size_t at = address.find('@');
    if (at == 0 || at == std::string::npos || at + 1 == address.size() || address.find('@', at + 1) != std::string::npos)
        return false;
    for (char c : address) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || std::strchr("\"<>()[],;:\\", c))
            return false;
    }
    return true;
}

std::string MailAddressDomain(const std::string& address)
{
    size_t at = address.find('@');
    return at == std::string::npos ? std::string() : address.substr(at + 1);
}

std::string EncodeHeaderText(const std::string& text, const std::string& headerName)
{
    std::string clean = WithoutControls(text);
    if (IsPlainAscii(clean))
        return FoldAtBlanks(clean, headerName.size() + 2);
    return EncodedWords(clean);
}

std::string EncodeDisplayName(const std::string& name)
{
    std::string clean = WithoutControls(name);
    if (!IsPlainAscii(clean))
        return EncodedWords(clean);
    std::string quoted = "\"";
    for (char c : clean) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string FormatMailDate(const CMailDate& date)
{
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int weekday = date.weekday >= 0 && date.weekday < 7 ? date.weekday : 0;
    int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
    int offset = date.utcOffsetMinutes;
    char sign = offset < 0 ? '-' : '+';
    if (offset < 0)
        offset = -offset;
    offset %= 24 * 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[weekday],
                  date.day % 100, kMonths[month - 1], date.year % 10000, date.hour % 100, date.minute % 100,
                  date.second % 100, sign, offset / 60, offset % 60);
    return text;
}
