#pragma once

#include <windows.h>

#include "foundation/bytes/GenericException.h"

// One zero-filled block on the process heap. CProcessHeapPointer is its
// bounds-checked byte access; a bounds fault writes the whole block to
// "error.txt" before it throws.
class CProcessHeapPointer {
public:
    BYTE GetCharFromIndex(DWORD index) const;
    void SetCharFromIndex(DWORD index, BYTE value);
    // Drops the first n characters of the zero-terminated text in the block.
    void RemoveLeft(DWORD n);

    BYTE* GetBlock() const { return m_block; }
    DWORD GetSize() const { return m_size; }

protected:
    CProcessHeapPointer() = default;
    ~CProcessHeapPointer() = default;

    BYTE* m_block = nullptr;
    DWORD m_size = 0;

private:
    void ReportBoundsFault(const char* prefix, DWORD index, const char* failureText) const;
};

// A request is as wide as the heap's (a pointer's width); a block is reached
// by 32-bit positions, so a request past them is refused like one the heap
// cannot give.
class CProcessHeap : public CProcessHeapPointer {
public:
    explicit CProcessHeap(SIZE_T size = 0);
    ~CProcessHeap();
    CProcessHeap(const CProcessHeap&) = delete;
    CProcessHeap& operator=(const CProcessHeap&) = delete;

    // Replaces the block by a new zero-filled one of the given size.
    void Alloc(SIZE_T size);
    void Free();
};
