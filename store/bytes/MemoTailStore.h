#pragma once

#include <cstdint>
#include <vector>

#include "store/bytes/ByteStore.h"

// A memo file that only grows at its end, seen through a buffer: what is
// appended past the stored end and every change of the 8-byte header stay
// in memory until Flush, which writes the new tail in one piece and then the
// header. Many memos appended in one go thus cost two writes. Reads see the
// bytes as they would stand after Flush. Writes over the stored bytes other
// than the header, Grow and Cut are refused: nothing reaches the file before
// Flush.
class CMemoTailStore : public CByteStore {
public:
    explicit CMemoTailStore(CByteStore& file);

    std::uint32_t Size() override;
    void Read(std::uint32_t offset, void* bytes, std::uint32_t count) override;
    void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) override;
    void Grow(std::uint32_t extraBytes) override;
    void Cut(std::uint32_t size) override;

    // Room for this many bytes appended before the next Flush, made at once
    // when memory allows (else the tail grows as it comes).
    void Reserve(std::uint32_t bytes);
    // The tail, then the header; nothing when nothing changed.
    void Flush();

private:
    CByteStore& m_file;
    std::uint32_t m_storedSize;
    std::vector<unsigned char> m_header;
    bool m_headerChanged = false;
    std::vector<unsigned char> m_tail;
};
