#include "foundation/bytes/LaunchText.h"

#include <cstring>
#include <string>

namespace {
bool IsQuoted(const std::string& text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

LaunchTextResult CopyOut(const std::string& text, char* out, size_t size)
{
    if (!out || text.size() >= size) {
        if (out && size)
            out[0] = 0;
        return LaunchTextResult::kTooLong;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return LaunchTextResult::kBuilt;
}
}

LaunchTextResult BuildLaunchCommandLine(const char* command, const char* argument, char* out, size_t size)
{
    std::string line = command ? command : "";
    std::string value = argument ? argument : "";
    if (!value.empty()) {
        bool quoted = IsQuoted(value);
        std::string inner = quoted ? value.substr(1, value.size() - 2) : value;
        if (inner.find('"') != std::string::npos) {
            if (out && size)
                out[0] = 0;
            return LaunchTextResult::kQuoteInArgument;
        }
        bool needsQuotes = quoted || inner.empty() || inner.find_first_of(" \t") != std::string::npos;
        line += ' ';
        line += needsQuotes ? '"' + inner + '"' : inner;
    }
    return CopyOut(line, out, size);
}

LaunchTextResult EscapeLinkQuotes(const char* link, char* out, size_t size)
{
    std::string text = link ? link : "";
    if (IsQuoted(text))
        text = text.substr(1, text.size() - 2);
    std::string escaped;
    for (char c : text)
        escaped += c == '"' ? std::string("%22") : std::string(1, c);
    return CopyOut(escaped, out, size);
}

LaunchTextResult QuoteLinkForShell(const char* link, char* out, size_t size)
{
    std::string text = link ? link : "";
    bool quote = text.find(' ') != std::string::npos && text.find(',') == std::string::npos &&
                 (text.empty() || (text.front() != '"' && text.back() != '"'));
    return CopyOut(quote ? '"' + text + '"' : text, out, size);
}
