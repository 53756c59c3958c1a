#include "foundation/bytes/QuotedLink.h"

#include <cstring>
#include <string>

#include "foundation/bytes/TextEditing.h"

namespace {
bool HoldsSecondLinkStart(const char* span)
{
    static const char* const kLinkStarts[] = {" http:", " HTTP:", " ftp:", " FTP:", " www.", " WWW.",
                                              " ftp.",  " FTP.",  " file:", " mailto:"};
    for (const char* start : kLinkStarts)
        if (ContainsInMiddle(span, start))
            return true;
    for (char drive = 'C'; drive <= 'Z'; ++drive) {
        char path[] = {' ', drive, ':', '\\', 0};
        if (ContainsInMiddle(span, path))
            return true;
    }
    return false;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}
}

bool IsInsideQuotedLink(const char* text, size_t position, bool quotedOnly)
{
    if (!text)
        return false;
    size_t length = std::strlen(text);
    if (position == 0 || position + 1 >= length)
        return false;
    size_t lineStart = 0;
    for (size_t i = position; i > 0; --i) {
        if (text[i - 1] == '\r') {
            lineStart = i;
            break;
        }
    }
    const char* lineEndAt = std::strchr(text + position, '\r');
    size_t lineEnd = lineEndAt ? static_cast<size_t>(lineEndAt - text) : length;

    size_t quotesOnLine = 0;
    size_t quotesBefore = 0;
    for (size_t i = lineStart; i < lineEnd; ++i) {
        if (text[i] == '"') {
            ++quotesOnLine;
            if (i < position)
                ++quotesBefore;
        }
    }
    if (quotesOnLine < 2 || (!quotedOnly && quotesBefore % 2 == 0))
        return false;

    size_t open = position + 1;
    for (size_t i = position + 1; i > lineStart; --i) {
        if (text[i - 1] == '"') {
            open = i - 1;
            break;
        }
    }
    size_t close = lineEnd;
    for (size_t i = position; i < lineEnd; ++i) {
        if (text[i] == '"' && i != open) {
            close = i;
            break;
        }
    }
    if (open > position || close == lineEnd)
        return false;
    return !HoldsSecondLinkStart(std::string(text + open + 1, close - open - 1).c_str());
}

bool ExtractProgramPath(const char* command, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = 0;
    const char* exe = command ? std::strstr(command, ".exe") : nullptr;
    if (!exe)
        return false;
    size_t length = std::strlen(command);
    size_t at = static_cast<size_t>(exe - command);
    size_t first;
    size_t last;
    if (IsInsideQuotedLink(command, at, true)) {
        first = std::string(command, at).rfind('"');
        last = std::string(command).find('"', at);
    } else {
        first = at;
        while (first > 0 && !IsSeparator(command[first - 1]))
            --first;
        last = at;
        while (last + 1 < length && !IsSeparator(command[last]))
            ++last;
    }
    size_t count = last - first + 1;
    if (count >= size)
        return false;
    std::memcpy(out, command + first, count);
    out[count] = 0;
    return true;
}
