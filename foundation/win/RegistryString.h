#pragma once

#include <windows.h>

#include "foundation/RegistryKey.h"

enum class RegistryStringRead { kMissing, kNotString, kTooLong, kRead };

// A string value of the open key into the buffer, terminated; a value that is
// missing, not a string, or would not fit with its terminator is told apart and
// leaves the buffer unread. A REG_EXPAND_SZ value is read with its environment
// variables expanded; when the expansion does not fit, kTooLong.
RegistryStringRead ReadRegistryString(CRegistryKey& key, const char* name, char* buffer, DWORD size);
