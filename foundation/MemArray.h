#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "foundation/bytes/GenericException.h"

// Reports of the arrays, kept out of the template.
void ReportMemArrayBoundsFault(const void* data, DWORD count, DWORD index);
[[noreturn]] void ReportMemArrayAllocFailure(unsigned long long requestedBytes);

// An owning array of plain elements on the general heap, zero-filled, with a
// bounds-checked index: a bounds fault writes the array to "error.txt" and throws.
template <class T>
class CMemArray {
    static_assert(std::is_trivially_copyable<T>::value, "CMemArray holds plain records");

public:
    explicit CMemArray(DWORD count = 0) { Alloc(count); }
    ~CMemArray() { Free(); }
    CMemArray(const CMemArray&) = delete;

    // Discards the contents; the new elements are zero.
    void Alloc(DWORD count)
    {
        Free();
        m_count = count;
        if (count == 0)
            return;
        unsigned long long bytes = static_cast<unsigned long long>(count) * sizeof(T);
        if (bytes > 0x7FFFFFFFull || !(m_data = static_cast<T*>(std::calloc(count, sizeof(T))))) {
            m_count = 0;
            ReportMemArrayAllocFailure(bytes);
        }
    }

    T* GetPointerToData() const
    {
        if (!m_data)
            throw CGenericException("CMemArray GetPointerToData NULL pointer");
        return m_data;
    }

    T& operator[](DWORD index)
    {
        if (!m_data || index >= m_count) {
            ReportMemArrayBoundsFault(m_data, m_count, index);
            throw CGenericException("CMemArray T& operator[] out of bounds");
        }
        return m_data[index];
    }

    void Free()
    {
        std::free(m_data);
        m_data = nullptr;
        m_count = 0;
    }

    CMemArray& operator=(const CMemArray& other)
    {
        if (this == &other)
            return *this;
        Alloc(other.m_count);
        if (m_count)
            std::memcpy(m_data, other.m_data, m_count * sizeof(T));
        return *this;
    }

    DWORD GetCount() const { return m_count; }

private:
    T* m_data = nullptr;
    DWORD m_count = 0;
};
