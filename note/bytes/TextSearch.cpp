#include "note/bytes/TextSearch.h"

#include <cctype>
#include <cstring>

namespace {
int Fold(char c)
{
    return std::tolower(static_cast<unsigned char>(c));
}
}

int CTextSearch::Find(const char* text, const char* wanted)
{
    if (!text || !wanted)
        return -1;
    const size_t length = std::strlen(wanted);
    for (size_t start = 0; text[start]; ++start) {
        size_t i = 0;
        while (i < length && text[start + i] && Fold(text[start + i]) == Fold(wanted[i]))
            ++i;
        if (i == length)
            return static_cast<int>(start);
    }
    return length == 0 ? 0 : -1;
}
