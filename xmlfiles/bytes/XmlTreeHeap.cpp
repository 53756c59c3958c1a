#include "xmlfiles/bytes/XmlTreeHeap.h"

#include <cstring>
#include <new>

namespace {
const size_t kAlignment = alignof(std::max_align_t);
const size_t kSmallestBlock = 4096;
}

CXmlTreeHeap::CXmlTreeHeap(size_t initialSize)
    : m_blockSize(initialSize < kSmallestBlock ? kSmallestBlock : initialSize), m_used(0), m_capacity(0),
      m_created(false)
{
    m_created = AddBlock(m_blockSize);
}

bool CXmlTreeHeap::AddBlock(size_t minimum)
{
    size_t size = minimum > m_blockSize ? minimum : m_blockSize;
    char* block = new (std::nothrow) char[size];
    if (!block)
        return false;
    try {
        m_blocks.emplace_back(block);
    } catch (...) {
        delete[] block;
        return false;
    }
    m_used = 0;
    m_capacity = size;
    return true;
}

void* CXmlTreeHeap::Alloc(size_t size)
{
    if (!m_created || size > static_cast<size_t>(-1) / 2)
        return nullptr;
    size_t rounded = (size + kAlignment - 1) & ~(kAlignment - 1);
    if (rounded > m_capacity - m_used && !AddBlock(rounded))
        return nullptr;
    char* result = m_blocks.back().get() + m_used;
    m_used += rounded;
    return result;
}

char* CXmlTreeHeap::CopyText(const char* text)
{
    size_t length = std::strlen(text);
    char* copy = static_cast<char*>(Alloc(length + 1));
    if (copy)
        std::memcpy(copy, text, length + 1);
    return copy;
}
