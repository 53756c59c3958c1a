#pragma once

#include <windows.h>

#include "foundation/RegistryKey.h"

enum class RegistryStringRead { kMissing, kNotString, kTooLong, kRead };

// A string value of the open key into the buffer, terminated; a value that is
// missing, not a string, or would not fit with its terminator is told apart and
// leaves the buffer unread.
RegistryStringRead ReadRegistryString(CRegistryKey& key, const char* name, char* buffer, DWORD size);
