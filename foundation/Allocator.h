#pragma once

#include <windows.h>

#include "foundation/CriticalSectionLock.h"
#include "foundation/bytes/GenericException.h"

// A named pool of movable blocks: one data zone plus a table of descriptors.
// Blocks are carved from the end of the used part of the zone; a freed block
// leaves a hole that is reclaimed only when an allocation needs the room, and
// compaction then slides the live blocks down. Users keep the descriptor and read
// the block's current address through it each time.
//
// Threads: a pool's blocks belong to the main thread. Only the main thread
// allocates from a pool, so only the main thread can start a compaction, and it
// cannot move a block while the same thread is reading it. Worker threads get
// their blocks from the process heap instead (CAlocatorPointer does this), and
// those never move. Reading a pooled block from another thread is refused.

struct CBlockDescriptor {
    BYTE* address;  // 0 while the descriptor is free
    DWORD size;
    CBlockDescriptor* next;
    CBlockDescriptor* prev;
};

// The pool's block operations.
class CDescriptor {
public:
    // A new block of n bytes, or 0 when the table is full or has no free descriptor.
    // Throws when n exceeds the pool's total free space, or off the main thread.
    CBlockDescriptor* Aloca(DWORD n);
    // From any thread: freeing moves nothing.
    void Free(CBlockDescriptor* descriptor);
    bool CheckAllocatorConsistency();

    const char* GetName() const { return m_name; }
    DWORD GetFreeTotal() const { return m_dwdispTotal; }
    DWORD GetTailRun() const { return m_dwTailRun; }
    DWORD GetObjectCount() const { return m_dwNrOfObjects; }

protected:
    CDescriptor() = default;
    ~CDescriptor() = default;
    void Compact();

    BYTE* m_date = nullptr;
    DWORD m_dwDimZonaDeDate = 0;
    CBlockDescriptor* m_descriptor = nullptr;
    DWORD m_dwNrOfDescriptors = 0;
    DWORD m_dwdispTotal = 0;
    DWORD m_dwTailRun = 0;
    DWORD m_dwNrOfObjects = 0;
    CBlockDescriptor* m_first = nullptr;
    CBlockDescriptor* m_last = nullptr;
    char m_method[16] = "";
    CCriticalSection m_lock;
    char m_name[64] = "";
};

class CAllocator : public CDescriptor {
public:
    // method: "NEW" (or null) for the general heap, "PROCESSHEAP" for the process heap.
    CAllocator(const char* name, long zoneSize, long numberOfBlocks, const char* method);
    ~CAllocator();
    CAllocator(const CAllocator&) = delete;
    CAllocator& operator=(const CAllocator&) = delete;

private:
    void* Obtain(DWORD bytes);
    void Release(void* memory);
    bool m_processHeap = false;
};

// The two pools of the program, made on first use and kept until exit.
CAllocator& StringAllocator();  // "String Allocator": 50 strings in 41,010 bytes
CAllocator& NoteAllocator();    // "Note Allocator": two 51,200-byte work buffers

// A user's handle to one block. On the main thread the block comes from the pool
// and its address is valid only until the next allocation from the pool; on any
// other thread, or without a pool, it comes from the process heap and never moves.
template <class T>
class CAlocatorPointer {
public:
    CAlocatorPointer(CAllocator* pool, DWORD size);
    // Holds no block until TryAloca or AlocaNou.
    explicit CAlocatorPointer(CAllocator* pool) : m_pool(pool) {}
    ~CAlocatorPointer();
    CAlocatorPointer(const CAlocatorPointer&) = delete;
    CAlocatorPointer& operator=(const CAlocatorPointer&) = delete;

    // Obtains a block when none is held yet; false when the pool gave none.
    bool TryAloca(DWORD size);
    // Frees the held block and obtains a new one; the old contents are not kept.
    void AlocaNou(DWORD size);
    void SetCharFromIndex(DWORD index, T value);

    // The block's current address; a pooled block's is read on the main thread only.
    T* GetAddress() const;
    DWORD GetSize() const;
    bool HasBlock() const { return m_descriptor || m_heapBlock; }
    // True while the block lies in the pool, where compaction may move it.
    bool IsPooled() const { return m_descriptor != nullptr; }

private:
    void Obtain(DWORD size);
    void Release();

    CBlockDescriptor* m_descriptor = nullptr;
    T* m_heapBlock = nullptr;
    DWORD m_heapSize = 0;
    CAllocator* m_pool;
};

extern template class CAlocatorPointer<char>;
extern template class CAlocatorPointer<BYTE>;
