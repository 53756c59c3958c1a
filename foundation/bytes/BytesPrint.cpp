#include "foundation/bytes/BytesPrint.h"

#include <cstdio>

namespace {
const std::uint64_t kPrime = 1099511628211ULL;
}

void CBytesPrint::Add(const void* bytes, std::size_t size)
{
    const unsigned char* piece = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < size; ++i)
        m_forwards = (m_forwards ^ piece[i]) * kPrime;
    m_forwards *= kPrime;
    for (std::size_t i = size; i > 0; --i)
        m_backwards = (m_backwards ^ piece[i - 1]) * kPrime;
    m_backwards *= kPrime;
    ++m_pieces;
    m_bytes += size;
}

std::string CBytesPrint::Text(const char* what) const
{
    char print[128];
    std::snprintf(print, sizeof print, "%llu %s, %llu bytes, %016llX%016llX",
                  static_cast<unsigned long long>(m_pieces), what, static_cast<unsigned long long>(m_bytes),
                  static_cast<unsigned long long>(m_forwards), static_cast<unsigned long long>(m_backwards));
    return print;
}
