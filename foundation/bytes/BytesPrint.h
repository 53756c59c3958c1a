#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A short text that tells one run of pieces of bytes from any other: two
// 64-bit FNV-1a hashes, over each piece forwards and backwards, each piece
// closed by a zero byte, with the count of pieces and of bytes. The same
// pieces in the same order give the same text.
class CBytesPrint {
public:
    void Add(const void* bytes, std::size_t size);
    void Add(const std::string& piece) { Add(piece.data(), piece.size()); }
    // "<pieces> <what>, <bytes> bytes, " and the two hashes in hexadecimal.
    std::string Text(const char* what) const;

private:
    std::uint64_t m_forwards = 14695981039346656037ULL;
    std::uint64_t m_backwards = 14695981039346656037ULL;
    std::uint64_t m_pieces = 0;
    std::uint64_t m_bytes = 0;
};
