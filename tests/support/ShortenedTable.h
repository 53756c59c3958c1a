#pragma once

#include <cstdint>
#include <string>

#include "store/bytes/TableGroups.h"

// Cuts an enciphered table of the group down to its first records, as a
// damaged copy or a table of an older version may be.
void KeepFirstRecords(const std::string& path, TableGroup group, std::uint32_t count);
