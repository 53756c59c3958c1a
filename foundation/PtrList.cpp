#include "foundation/PtrList.h"

#include <cstdio>
#include <new>
#include <vector>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

namespace {
// The pool outlives every list: it is made on first use and never destroyed, so
// lists destroyed at exit still return their nodes to a live pool.
struct NodePool {
    CCriticalSection lock;
    std::vector<CPtrNod*> blocks;
    CPtrNod* freeHead = nullptr;
    DWORD live = 0;
    bool closing = false;
};

NodePool& Pool()
{
    static NodePool* pool = new NodePool;
    return *pool;
}

void PtrListErrorBox(const char* text)
{
    ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
}

// Takes a new block when the free list is empty; returns its first node.
CPtrNod* TakeNewBlock(NodePool& pool)
{
    if (!pool.blocks.empty())
        PtrListErrorBox("Memory allocation error\r\nCPtrNod::s_headOfFreeList==NULL!!");
    CPtrNod* block = static_cast<CPtrNod*>(::operator new(sizeof(CPtrNod) * kNodesPerBlock, std::nothrow));
    if (!block) {
        PtrListErrorBox("Memory allocation error\r\n::s_blockOfMemory==NULL");
        throw std::bad_alloc();
    }
    pool.blocks.push_back(block);
    for (int i = 1; i < kNodesPerBlock; ++i)
        block[i].freeLink = i + 1 < kNodesPerBlock ? &block[i + 1] : nullptr;
    pool.freeHead = &block[1];
    return &block[0];
}
}

void* CPtrNod::operator new(size_t size)
{
    if (size != sizeof(CPtrNod))
        return ::operator new(size);
    NodePool& pool = Pool();
    CCriticalSectionLock lock(pool.lock);
    CPtrNod* node = pool.freeHead;
    if (node)
        pool.freeHead = node->freeLink;
    else
        node = TakeNewBlock(pool);
    ++pool.live;
    return node;
}

void CPtrNod::operator delete(void* memory, size_t size)
{
    if (!memory)
        return;
    if (size != sizeof(CPtrNod)) {
        ::operator delete(memory);
        return;
    }
    NodePool& pool = Pool();
    CCriticalSectionLock lock(pool.lock);
    CPtrNod* node = static_cast<CPtrNod*>(memory);
    node->freeLink = pool.freeHead;
    pool.freeHead = node;
    --pool.live;
    // Blocks go back only when no node is in use any more, and the free list goes
    // with them, so no node is ever handed out of a released block.
    if (pool.closing && pool.live == 0) {
        for (CPtrNod* block : pool.blocks)
            ::operator delete(block);
        pool.blocks.clear();
        pool.freeHead = nullptr;
    }
}

void SetNodePoolClosing(bool closing)
{
    CCriticalSectionLock lock(Pool().lock);
    Pool().closing = closing;
}

DWORD GetLiveNodeCount()
{
    CCriticalSectionLock lock(Pool().lock);
    return Pool().live;
}

CPtrList::CPtrList(const char* name)
{
    std::snprintf(m_name, sizeof m_name, "%s", name ? name : "");
}

CPtrNod* CPtrList::NewNode(void* data, const char* failureText)
{
    return MakeListNode(failureText, [data] {
        CPtrNod* node = new CPtrNod;
        node->data = data;
        return node;
    });
}

CPtrNod* CPtrList::AddHead(void* data)
{
    CPtrNod* node = NewNode(data, " AddToTail failed ");
    LinkNode(m_first, m_last, m_first, node);
    return node;
}

CPtrNod* CPtrList::Find(void* data) const
{
    for (CPtrNod* node = m_first; node; node = node->next)
        if (node->data == data)
            return node;
    return nullptr;
}

void* CPtrList::GetNext(void* data) const
{
    CPtrNod* node = Find(data);
    return node && node->next ? node->next->data : nullptr;
}

void* CPtrList::GetPrev(void* data) const
{
    CPtrNod* node = Find(data);
    return node && node->previous ? node->previous->data : nullptr;
}

void* CPtrList::GetNextCircular(void* data) const
{
    CPtrNod* node = Find(data);
    if (!node)
        return nullptr;
    return node->next ? node->next->data : m_first->data;
}

void* CPtrList::GetPrevCircular(void* data) const
{
    CPtrNod* node = Find(data);
    if (!node)
        return nullptr;
    return node->previous ? node->previous->data : m_last->data;
}

DWORD CPtrList::GetCount() const
{
    DWORD count = 0;
    for (CPtrNod* node = m_first; node; node = node->next)
        ++count;
    return count;
}

int CPtrList::DeleteElem(void* data)
{
    CPtrNod* node = Find(data);
    if (!node) {
        AppendTextToFile("Error DeleteElem. Element not found??\r\n ", "error.txt");
        return 0;
    }
    UnlinkNode(m_first, m_last, node);
    delete node;
    return 1;
}

void CPtrList::RemoveAll()
{
    CPtrNod* node = m_first;
    while (node) {
        CPtrNod* next = node->next;
        delete node;
        node = next;
    }
    m_first = m_last = nullptr;
}
