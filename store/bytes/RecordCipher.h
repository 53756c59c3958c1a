#pragma once

#include <cstddef>
#include <cstdint>

// The byte cipher of the table files: a stream with cipher-byte feedback driven
// by three 32-bit words. Every run restarts from the seed, so any range can be
// enciphered or deciphered on its own, and the length never changes.
class CRecordCipher {
public:
    CRecordCipher();
    CRecordCipher(std::uint32_t seed, std::uint32_t multiplier, std::uint32_t increment);

    void SetKey(std::uint32_t seed, std::uint32_t multiplier, std::uint32_t increment);

    void Encrypt(unsigned char* bytes, std::size_t length) const;
    void Decrypt(unsigned char* bytes, std::size_t length) const;

private:
    std::uint32_t m_seed;
    std::uint32_t m_multiplier;
    std::uint32_t m_increment;
};
