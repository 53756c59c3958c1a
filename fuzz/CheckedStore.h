#pragma once

#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "store/bytes/ByteStore.h"

// A file in memory that stops the run when asked for bytes it does not hold:
// the table and memo code must check sizes before they read.
class CheckedStore : public CMemoryByteStore {
public:
    explicit CheckedStore(std::vector<unsigned char> bytes) : CMemoryByteStore(std::move(bytes)) {}
    void Read(std::uint32_t offset, void* bytes, std::uint32_t count) override
    {
        FUZZ_CHECK(static_cast<std::uint64_t>(offset) + count <= Size());
        CMemoryByteStore::Read(offset, bytes, count);
    }
};
