#include "store/bytes/MemoTailStore.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/bytes/GenericException.h"

namespace {
const std::uint32_t kHeldHeaderBytes = 8;
}

CMemoTailStore::CMemoTailStore(CByteStore& file) : m_file(file), m_storedSize(file.Size())
{
    m_header.resize(std::min(m_storedSize, kHeldHeaderBytes));
    if (!m_header.empty())
        m_file.Read(0, m_header.data(), static_cast<std::uint32_t>(m_header.size()));
}

std::uint32_t CMemoTailStore::Size()
{
    return m_storedSize + static_cast<std::uint32_t>(m_tail.size());
}

void CMemoTailStore::Read(std::uint32_t offset, void* bytes, std::uint32_t count)
{
    std::uint64_t end = static_cast<std::uint64_t>(offset) + count;
    if (end > Size())
        throw CGenericException("A read runs past the end of the memo file");
    unsigned char* out = static_cast<unsigned char*>(bytes);
    // The held header, then the stored bytes, then the tail.
    while (count > 0) {
        std::uint32_t piece;
        if (offset < m_header.size()) {
            piece = std::min<std::uint32_t>(count, static_cast<std::uint32_t>(m_header.size()) - offset);
            std::memcpy(out, m_header.data() + offset, piece);
        } else if (offset < m_storedSize) {
            piece = std::min(count, m_storedSize - offset);
            m_file.Read(offset, out, piece);
        } else {
            piece = count;
            std::memcpy(out, m_tail.data() + (offset - m_storedSize), piece);
        }
        out += piece;
        offset += piece;
        count -= piece;
    }
}

void CMemoTailStore::Write(std::uint32_t offset, const void* bytes, std::uint32_t count)
{
    std::uint64_t end = static_cast<std::uint64_t>(offset) + count;
    if (end > 0xFFFFFFFFu)
        throw CGenericException("A write runs past the largest memo file");
    const unsigned char* in = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        std::uint32_t piece;
        if (offset < m_header.size()) {
            piece = std::min<std::uint32_t>(count, static_cast<std::uint32_t>(m_header.size()) - offset);
            std::memcpy(m_header.data() + offset, in, piece);
            m_headerChanged = true;
        } else if (offset < m_storedSize) {
            throw CGenericException("A memo file written by its tail cannot be changed inside");
        } else {
            piece = count;
            std::size_t at = offset - m_storedSize;
            if (m_tail.size() < at + piece)
                m_tail.resize(at + piece, 0);
            std::memcpy(m_tail.data() + at, in, piece);
        }
        in += piece;
        offset += piece;
        count -= piece;
    }
}

void CMemoTailStore::Reserve(std::uint32_t bytes)
{
    try {
        m_tail.reserve(bytes);
    } catch (const std::bad_alloc&) {
    }
}

void CMemoTailStore::Grow(std::uint32_t)
{
    throw CGenericException("A memo file written by its tail cannot grow but by appending");
}

void CMemoTailStore::Cut(std::uint32_t)
{
    throw CGenericException("A memo file written by its tail cannot be cut");
}

void CMemoTailStore::Flush()
{
    if (!m_tail.empty()) {
        m_file.Write(m_storedSize, m_tail.data(), static_cast<std::uint32_t>(m_tail.size()));
        m_storedSize += static_cast<std::uint32_t>(m_tail.size());
        m_tail.clear();
    }
    if (m_headerChanged) {
        m_file.Write(0, m_header.data(), static_cast<std::uint32_t>(m_header.size()));
        m_headerChanged = false;
    }
}
