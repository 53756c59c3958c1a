#include "foundation/win/RegistryString.h"

RegistryStringRead ReadRegistryString(CRegistryKey& key, const char* name, char* buffer, DWORD size)
{
    DWORD type = 0;
    DWORD needed = 0;
    if (!key.GetTypeAndSize(name, &type, &needed))
        return RegistryStringRead::kMissing;
    if (type != REG_SZ)
        return RegistryStringRead::kNotString;
    if (needed >= size)
        return RegistryStringRead::kTooLong;
    DWORD read = size - 1;
    if (!key.Query(name, &type, reinterpret_cast<BYTE*>(buffer), &read))
        return RegistryStringRead::kMissing;
    buffer[read < size ? read : size - 1] = 0;
    return RegistryStringRead::kRead;
}
