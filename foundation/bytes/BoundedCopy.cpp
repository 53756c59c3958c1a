#include "foundation/bytes/BoundedCopy.h"

#include <cstring>

void CopyBounded(char* target, std::size_t size, const char* text)
{
    if (size == 0)
        return;
    const std::size_t length = text ? strnlen(text, size - 1) : 0;
    if (length)
        std::memcpy(target, text, length);
    target[length] = '\0';
}
