#include "foundation/ProcessHeap.h"

#include <cstring>

#include "foundation/DiagnosticLog.h"
#include "foundation/bytes/GenericException.h"
#include "foundation/bytes/MessageBoxes.h"

void CProcessHeapPointer::ReportBoundsFault(const char* prefix, DWORD index, const char* failureText) const
{
    WriteBoundsFaultReport(prefix, m_block, m_size, index);
    throw CGenericException(failureText);
}

BYTE CProcessHeapPointer::GetCharFromIndex(DWORD index) const
{
    if (index >= m_size)
        ReportBoundsFault("ProcessHeapPointer::GetCharFromIndex(): ", index,
                          "CProcessHeapPointer::GetCharFromIndex index out of bounds");
    return m_block[index];
}

void CProcessHeapPointer::SetCharFromIndex(DWORD index, BYTE value)
{
    if (index >= m_size)
        ReportBoundsFault("ProcessHeapPointer::SetCharFromIndex(): ", index,
                          "CProcessHeapPointer::SetCharFromIndex index out of bounds !");
    m_block[index] = value;
}

void CProcessHeapPointer::RemoveLeft(DWORD n)
{
    if (n == 0 || m_size == 0)
        return;
    if (n >= m_size) {
        m_block[0] = 0;
        return;
    }
    // The text may fill the block without a terminator: never read past it.
    const char* rest = reinterpret_cast<const char*>(m_block + n);
    size_t length = strnlen(rest, m_size - n);
    std::memmove(m_block, rest, length);
    m_block[length < m_size ? length : m_size - 1] = 0;
}

namespace {
BYTE* AllocateZeroed(SIZE_T size)
{
    if (size > MAXDWORD)
        return nullptr;
    return static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
}
}

CProcessHeap::CProcessHeap(SIZE_T size)
{
    if (size == 0)
        return;
    m_block = AllocateZeroed(size);
    if (!m_block)
        throw CGenericException("CProcessHeap constructor Failed");
    m_size = static_cast<DWORD>(size);
}

CProcessHeap::~CProcessHeap()
{
    if (m_block && !HeapFree(GetProcessHeap(), 0, m_block)) {
        char caption[256] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(),
                       MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), caption, sizeof caption - 1, nullptr);
        ShowMessageBox(nullptr, "HeapFree failed", caption, kMbOk);
    }
}

void CProcessHeap::Alloc(SIZE_T size)
{
    Free();
    if (size == 0)
        return;
    m_block = AllocateZeroed(size);
    if (!m_block)
        throw CGenericException("CProcessHeap::Alloc Failed");
    m_size = static_cast<DWORD>(size);
}

void CProcessHeap::Free()
{
    if (m_block)
        HeapFree(GetProcessHeap(), 0, m_block);
    m_block = nullptr;
    m_size = 0;
}
