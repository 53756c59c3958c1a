#include "foundation/Allocator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/CriticalSectionLock.h"
#include "foundation/DiagnosticLog.h"
#include "foundation/MainThread.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"
#include "resources/ids/StringIds.h"

namespace {
void AllocatorErrorBox(const char* text)
{
    ShowErrorMessage(ForegroundOwner(), text, ProgramTitle);
}

// The text thrown when a request exceeds the pool: string-table texts 137 and 136.
void BuildFatalMemoryText(char* text, size_t size)
{
    text[0] = 0;
    char part[256];
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_FATAL_MEMORY, part, sizeof part) > 0)
        std::snprintf(text, size, "%s", part);
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_REPORT_PROBLEM, part, sizeof part) > 0)
        std::snprintf(text + std::strlen(text), size - std::strlen(text), "%s", part);
}
}

CAllocator::CAllocator(const char* name, long zoneSize, long numberOfBlocks, const char* method)
{
    RunOperation("CAlocator constructor error", [&] {
        std::snprintf(m_name, sizeof m_name, "%s", name ? name : "");
        if (zoneSize <= 0)
            throw CGenericException("The Allocator size is negative or zero");
        if (numberOfBlocks <= 0)
            throw CGenericException("The Allocator NumberOfObjects is negative or zero");
        if (!method || !*method || std::strcmp(method, "NEW") == 0)
            m_processHeap = false;
        else if (std::strcmp(method, "PROCESSHEAP") == 0)
            m_processHeap = true;
        else
            throw CGenericException(" Unknown allocator method?! Use NEW or PROCESSHEAP.");
        std::snprintf(m_method, sizeof m_method, "%s", method ? method : "");

        m_dwdispTotal = m_dwTailRun = static_cast<DWORD>(zoneSize);
        m_date = static_cast<BYTE*>(Obtain(static_cast<DWORD>(zoneSize)));
        m_descriptor = static_cast<CBlockDescriptor*>(Obtain((numberOfBlocks + 1) * sizeof(CBlockDescriptor)));
        if (!m_descriptor)
            AllocatorErrorBox("Memory allocation error\r\nCAllocator::m_descriptor is NULL?? ");
        if (!m_date)
            AllocatorErrorBox("Memory allocation error\r\nCAllocator::m_date is NULL??");
        if (m_descriptor && m_date) {
            m_descriptor[0].address = m_date;
            m_first = m_last = &m_descriptor[0];
        }
        m_dwNrOfObjects = 1;
        m_dwDimZonaDeDate = static_cast<DWORD>(zoneSize);
        m_dwNrOfDescriptors = static_cast<DWORD>(numberOfBlocks) + 1;
    });
}

CAllocator::~CAllocator()
{
    CCriticalSectionLock lock(m_lock);
    Release(m_date);
    m_date = nullptr;
    if (m_descriptor) {
        Release(m_descriptor);
        m_descriptor = nullptr;
    } else {
        AppendTextToFile("delete[] m_descriptori has already been freed\r\n", "error.txt");
        AllocatorErrorBox("delete[] m_descriptori has already been freed??\r\n");
    }
}

void* CAllocator::Obtain(DWORD bytes)
{
    if (m_processHeap)
        return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
    return std::calloc(bytes, 1);
}

void CAllocator::Release(void* memory)
{
    if (!memory)
        return;
    if (m_processHeap)
        HeapFree(GetProcessHeap(), 0, memory);
    else
        std::free(memory);
}

CBlockDescriptor* CDescriptor::Aloca(DWORD n)
{
    RequireMainThread("CDescriptor::Aloca");
    if (m_dwNrOfObjects == m_dwNrOfDescriptors) {
        char text[64];
        std::snprintf(text, sizeof text, "%lu - The memory allocator is full", static_cast<unsigned long>(m_dwNrOfObjects));
        AllocatorErrorBox(text);
        return nullptr;
    }
    if (!m_descriptor) {
        AllocatorErrorBox("CDescriptor::Aloca m_descriptor is NULL?? ");
        return nullptr;
    }
    CCriticalSectionLock lock(m_lock);
    if (n > m_dwdispTotal) {
        char line[96];
        std::snprintf(line, sizeof line, "Memory request: %lu bytes, Available: %lu bytes\r\n",
                      static_cast<unsigned long>(n), static_cast<unsigned long>(m_dwdispTotal));
        AppendTextToFile(line, "error.txt");
        char text[512];
        BuildFatalMemoryText(text, sizeof text);
        throw CGenericException(text);
    }
    if (n > m_dwTailRun)
        Compact();

    CBlockDescriptor* found = nullptr;
    for (DWORD i = 0; i < m_dwNrOfDescriptors; ++i) {
        if (m_descriptor[i].address == nullptr) {
            found = &m_descriptor[i];
            break;
        }
    }
    if (!found) {
        ShowWarningMessage(ForegroundOwner(), "no free descriptor found ??", ProgramTitle);
        return nullptr;
    }
    found->address = m_last->address + m_last->size;
    found->size = n;
    found->next = nullptr;
    found->prev = m_last;
    m_last->next = found;
    m_last = found;
    m_dwdispTotal -= n;
    m_dwTailRun -= n;
    ++m_dwNrOfObjects;
    return found;
}

void CDescriptor::Free(CBlockDescriptor* d)
{
    if (!d)
        return;
    if (d->address == nullptr) {
        AllocatorErrorBox("The descriptor is already free !?");
        return;
    }
    // The anchor starts the chain for the pool's whole life: refuse to free it.
    if (d == m_first) {
        AllocatorErrorBox("Free the first descriptor ?!");
        return;
    }
    CCriticalSectionLock lock(m_lock);
    if (d == m_last) {
        m_last = d->prev;
        m_last->next = nullptr;
        m_dwTailRun = static_cast<DWORD>((m_date + m_dwDimZonaDeDate) - (m_last->address + m_last->size));
    } else {
        d->prev->next = d->next;
        d->next->prev = d->prev;
    }
    m_dwdispTotal += d->size;
    d->address = nullptr;
    d->size = 0;
    d->next = d->prev = nullptr;
    --m_dwNrOfObjects;
}

void CDescriptor::Compact()
{
    if (!m_descriptor) {
        AllocatorErrorBox("CDescriptor::Compact m_descriptor is NULL?? ");
        return;
    }
    DWORD occupied = 0;
    for (CBlockDescriptor* d = m_first; d; d = d->next) {
        occupied += d->size;
        CBlockDescriptor* following = d->next;
        if (!following)
            break;
        BYTE* newStart = d->address + d->size;
        if (newStart < following->address) {
            std::memmove(newStart, following->address, following->size);
            following->address = newStart;
        }
    }
    m_dwTailRun = m_dwDimZonaDeDate - occupied;
    CheckAllocatorConsistency();
}

bool CDescriptor::CheckAllocatorConsistency()
{
    DWORD occupied = 0;
    DWORD counted = 0;
    for (DWORD i = 0; i < m_dwNrOfDescriptors; ++i) {
        if (m_descriptor[i].address) {
            occupied += m_descriptor[i].size;
            ++counted;
        }
    }
    if (m_dwdispTotal + occupied != m_dwDimZonaDeDate) {
        char line[160];
        std::snprintf(line, sizeof line, "dimOcupata=%lu, m_dwdispTotal=%lu m_dwDimZonaDeDate=%lu\r\n",
                      static_cast<unsigned long>(occupied), static_cast<unsigned long>(m_dwdispTotal),
                      static_cast<unsigned long>(m_dwDimZonaDeDate));
        AppendTextToFile(line, "actionDebug.txt");
        std::snprintf(line, sizeof line, "nrObiecte=%lu, m_dwNrOfObjects=%lu\r\n", static_cast<unsigned long>(counted),
                      static_cast<unsigned long>(m_dwNrOfObjects));
        AppendTextToFile(line, "actionDebug.txt");
        throw CGenericException("Allocator Inconsistency - Total occupied area");
    }
    if (counted != m_dwNrOfObjects)
        throw CGenericException("Allocator Inconsistency - Number of objects");

    DWORD walked = 1;
    for (CBlockDescriptor* d = m_first; d; d = d->next, ++walked) {
        if (d->next && d->address + d->size > d->next->address)
            throw CGenericException("Allocator Inconsistency - Overlapping data");
        if (d == m_last) {
            if (walked == m_dwNrOfObjects)
                return true;
            break;
        }
        if (walked >= m_dwNrOfObjects)
            break;
    }
    throw CGenericException("Allocator Inconsistency - Unfinished scan");
}

CAllocator& StringAllocator()
{
    static CAllocator pool("String Allocator", 41010, 50, "NEW");
    return pool;
}

CAllocator& NoteAllocator()
{
    static CAllocator pool("Note Allocator", 102402, 2, "NEW");
    return pool;
}

template <class T>
CAlocatorPointer<T>::CAlocatorPointer(CAllocator* pool, DWORD size) : m_pool(pool)
{
    RunOperation(" CAlocatorPointer<T>::Constructor Unknown error", [&] { Obtain(size); });
}

template <class T>
CAlocatorPointer<T>::~CAlocatorPointer()
{
    Release();
}

// The pool's block on the main thread; a heap block, which never moves, elsewhere.
template <class T>
void CAlocatorPointer<T>::Obtain(DWORD size)
{
    if (m_pool && OnMainThread()) {
        m_descriptor = m_pool->Aloca(size);
        return;
    }
    m_heapBlock = static_cast<T*>(std::calloc(size ? size : 1, 1));
    m_heapSize = m_heapBlock ? size : 0;
}

template <class T>
void CAlocatorPointer<T>::Release()
{
    if (m_descriptor) {
        m_pool->Free(m_descriptor);
        m_descriptor = nullptr;
    }
    std::free(m_heapBlock);
    m_heapBlock = nullptr;
    m_heapSize = 0;
}

template <class T>
bool CAlocatorPointer<T>::TryAloca(DWORD size)
{
    if (!HasBlock())
        Obtain(size);
    return HasBlock();
}

template <class T>
void CAlocatorPointer<T>::AlocaNou(DWORD size)
{
    RunOperation(" CAlocatorPointer<T>::AlocaNou Unknown error", [&] {
        Release();
        Obtain(size);
        if (!HasBlock())
            AllocatorErrorBox("NULL pointer in allocator");
    });
}

template <class T>
T* CAlocatorPointer<T>::GetAddress() const
{
    if (!m_descriptor)
        return m_heapBlock;
    // Another thread could see the block move under it at any moment.
    RequireMainThread("Reading a pooled block");
    return reinterpret_cast<T*>(m_descriptor->address);
}

template <class T>
DWORD CAlocatorPointer<T>::GetSize() const
{
    return m_descriptor ? m_descriptor->size : m_heapSize;
}

template <class T>
void CAlocatorPointer<T>::SetCharFromIndex(DWORD index, T value)
{
    if (!HasBlock() || index >= GetSize() / sizeof(T))
        throw CGenericException("CAlocatorPointer<T>:: SetCharFromIndex out of range ");
    GetAddress()[index] = value;
}

template class CAlocatorPointer<char>;
template class CAlocatorPointer<BYTE>;
