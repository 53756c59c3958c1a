#pragma once

#include <cstdint>
#include <vector>

// Random access to the bytes of one open file, or of a buffer standing in for
// one. Offsets and sizes are 32-bit, as are the program's files. Every
// operation throws CGenericException when it cannot do all it was asked.
class CByteStore {
public:
    virtual ~CByteStore() = default;

    virtual std::uint32_t Size() = 0;
    // Exactly count bytes from inside the store.
    virtual void Read(std::uint32_t offset, void* bytes, std::uint32_t count) = 0;
    // Writes may run past the end where the store can grow that way (a file
    // written through its handle); a mapped view refuses them.
    virtual void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) = 0;
    // Makes the store extraBytes longer (a mapped file is mapped anew).
    virtual void Grow(std::uint32_t extraBytes) = 0;
    // Ends the store at size.
    virtual void Cut(std::uint32_t size) = 0;
};

// A store held in memory: the tables and memo files a build-time tool writes,
// and the files the tests take apart.
class CMemoryByteStore : public CByteStore {
public:
    CMemoryByteStore() = default;
    explicit CMemoryByteStore(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}

    std::uint32_t Size() override;
    void Read(std::uint32_t offset, void* bytes, std::uint32_t count) override;
    void Write(std::uint32_t offset, const void* bytes, std::uint32_t count) override;
    void Grow(std::uint32_t extraBytes) override;
    void Cut(std::uint32_t size) override;

    const std::vector<unsigned char>& Bytes() const { return m_bytes; }

private:
    std::vector<unsigned char> m_bytes;
};
