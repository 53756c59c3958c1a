#include "xmlfiles/bytes/XmlValueText.h"

#include <climits>
#include <cstring>

void TrimBlanks(char* text)
{
    if (!text)
        return;
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    size_t first = 0;
    while (first < length && text[first] == ' ')
        ++first;
    std::memmove(text, text + first, length - first);
    text[length - first] = '\0';
}

int DecimalTextToInt(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}
