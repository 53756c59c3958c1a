#include "foundation/bytes/ProtectedMark.h"

#include <cstring>

const unsigned char kProtectedBodyMark[3] = {0xAD, 0x05, 0xFE};

bool HasProtectedMark(const char* bytes, size_t length)
{
    const size_t mark = sizeof kProtectedBodyMark;
    return bytes && length >= mark && std::memcmp(bytes + length - mark, kProtectedBodyMark, mark) == 0;
}
