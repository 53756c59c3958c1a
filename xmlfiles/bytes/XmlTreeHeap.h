#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// The private heap of one XML tree: blocks handed out in order and never freed
// one by one; the whole heap goes at once with its owner.
class CXmlTreeHeap {
public:
    explicit CXmlTreeHeap(size_t initialSize);
    CXmlTreeHeap(const CXmlTreeHeap&) = delete;
    CXmlTreeHeap& operator=(const CXmlTreeHeap&) = delete;

    bool IsCreated() const { return m_created; }

    // Memory for size bytes, aligned for any node; null when none can be had.
    void* Alloc(size_t size);
    // A copy of the zero-terminated text; null when it cannot be had.
    char* CopyText(const char* text);

private:
    bool AddBlock(size_t minimum);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_blockSize;
    size_t m_used;
    size_t m_capacity;
    bool m_created;
};
