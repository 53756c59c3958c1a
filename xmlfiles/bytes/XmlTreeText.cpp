#include "xmlfiles/bytes/XmlTreeText.h"

#include <cstring>

void CopyToCallerBuffer(char* target, int size, const char* text)
{
    if (!target || size <= 0)
        return;
    size_t length = text ? std::strlen(text) : 0;
    if (length > static_cast<size_t>(size - 1))
        length = static_cast<size_t>(size - 1);
    if (length)
        std::memcpy(target, text, length);
    target[length] = '\0';
}

void SetLookupError(char* err, int errSize, std::initializer_list<const char*> pieces)
{
    std::string text;
    for (const char* piece : pieces)
        if (piece)
            text += piece;
    CopyToCallerBuffer(err, errSize, text.c_str());
}

std::string QuotedPath(const char* const* tags, size_t count)
{
    std::string text = "\"";
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ' ';
        text += tags[i] ? tags[i] : "";
    }
    text += '"';
    return text;
}

std::string QuotedPath(std::initializer_list<const char*> tags)
{
    return QuotedPath(tags.begin(), tags.size());
}
