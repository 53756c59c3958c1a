#include "store/bytes/ByteStore.h"

#include <cstring>

#include "foundation/bytes/GenericException.h"

namespace {
const std::uint64_t kLargestStore = 0xFFFFFFFFu;
}

std::uint32_t CMemoryByteStore::Size()
{
    return static_cast<std::uint32_t>(m_bytes.size());
}

void CMemoryByteStore::Read(std::uint32_t offset, void* bytes, std::uint32_t count)
{
    if (static_cast<std::uint64_t>(offset) + count > m_bytes.size())
        throw CGenericException("CMemoryByteStore::Read past the end");
    if (count)
        std::memcpy(bytes, m_bytes.data() + offset, count);
}

void CMemoryByteStore::Write(std::uint32_t offset, const void* bytes, std::uint32_t count)
{
    std::uint64_t end = static_cast<std::uint64_t>(offset) + count;
    if (end > kLargestStore)
        throw CGenericException("CMemoryByteStore::Write past 4 GB");
    if (end > m_bytes.size())
        m_bytes.resize(static_cast<std::size_t>(end), 0);
    if (count)
        std::memcpy(m_bytes.data() + offset, bytes, count);
}

void CMemoryByteStore::Grow(std::uint32_t extraBytes)
{
    if (m_bytes.size() + static_cast<std::uint64_t>(extraBytes) > kLargestStore)
        throw CGenericException("CMemoryByteStore::Grow past 4 GB");
    m_bytes.resize(m_bytes.size() + extraBytes, 0);
}

void CMemoryByteStore::Cut(std::uint32_t size)
{
    if (size < m_bytes.size())
        m_bytes.resize(size);
}
