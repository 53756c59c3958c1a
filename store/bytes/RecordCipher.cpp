#include "store/bytes/RecordCipher.h"

namespace {
// The key a new table object holds until it is bound to a table.
const std::uint32_t kDefaultSeed = 0x5A17C3E1u;
const std::uint32_t kDefaultMultiplier = 0x2C9277B5u;
const std::uint32_t kDefaultIncrement = 0x6A09E667u;

inline unsigned char KeyByte(std::uint32_t state)
{
    return static_cast<unsigned char>(state >> 8);
}

inline std::uint32_t NextState(std::uint32_t state, unsigned char cipherByte, std::uint32_t multiplier,
                               std::uint32_t increment)
{
    return (cipherByte + state) * multiplier + increment;
}
}

CRecordCipher::CRecordCipher()
    : m_seed(kDefaultSeed), m_multiplier(kDefaultMultiplier), m_increment(kDefaultIncrement)
{
}

CRecordCipher::CRecordCipher(std::uint32_t seed, std::uint32_t multiplier, std::uint32_t increment)
    : m_seed(seed), m_multiplier(multiplier), m_increment(increment)
{
}

void CRecordCipher::SetKey(std::uint32_t seed, std::uint32_t multiplier, std::uint32_t increment)
{
    m_seed = seed;
    m_multiplier = multiplier;
    m_increment = increment;
}

void CRecordCipher::Encrypt(unsigned char* bytes, std::size_t length) const
{
    std::uint32_t state = m_seed;
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char cipherByte = static_cast<unsigned char>(bytes[i] ^ KeyByte(state));
        bytes[i] = cipherByte;
        state = NextState(state, cipherByte, m_multiplier, m_increment);
    }
}

void CRecordCipher::Decrypt(unsigned char* bytes, std::size_t length) const
{
    std::uint32_t state = m_seed;
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char cipherByte = bytes[i];
        bytes[i] = static_cast<unsigned char>(cipherByte ^ KeyByte(state));
        state = NextState(state, cipherByte, m_multiplier, m_increment);
    }
}
