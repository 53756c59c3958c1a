#include "foundation/win/RegistryString.h"

#include <string>

namespace {
// A REG_EXPAND_SZ value ("%ProgramFiles%\...") holds environment variables,
// which are replaced by their values; the result must fit the buffer too.
RegistryStringRead Expand(char* buffer, DWORD size)
{
    std::string stored(buffer);
    DWORD needed = ExpandEnvironmentStringsA(stored.c_str(), nullptr, 0);
    if (needed == 0 || needed > size || ExpandEnvironmentStringsA(stored.c_str(), buffer, size) == 0) {
        buffer[0] = 0;
        return needed > size ? RegistryStringRead::kTooLong : RegistryStringRead::kNotString;
    }
    buffer[size - 1] = 0;
    return RegistryStringRead::kRead;
}
}

RegistryStringRead ReadRegistryString(CRegistryKey& key, const char* name, char* buffer, DWORD size)
{
    DWORD type = 0;
    DWORD needed = 0;
    if (!key.GetTypeAndSize(name, &type, &needed))
        return RegistryStringRead::kMissing;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return RegistryStringRead::kNotString;
    if (needed >= size)
        return RegistryStringRead::kTooLong;
    DWORD read = size - 1;
    if (!key.Query(name, &type, reinterpret_cast<BYTE*>(buffer), &read))
        return RegistryStringRead::kMissing;
    buffer[read < size ? read : size - 1] = 0;
    return type == REG_EXPAND_SZ ? Expand(buffer, size) : RegistryStringRead::kRead;
}
