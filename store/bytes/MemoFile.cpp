#include "store/bytes/MemoFile.h"

#include <algorithm>
#include <cstring>

#include "foundation/bytes/GenericException.h"

namespace {
const std::uint32_t kTextMemoType = 1;
const std::uint64_t kLargestFile = 0xFFFFFFFFu;

std::uint32_t ReadBigEndian32(const unsigned char* bytes)
{
    return (static_cast<std::uint32_t>(bytes[0]) << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3];
}

void WriteBigEndian32(unsigned char* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}
}

std::vector<unsigned char> BuildEmptyMemoFile()
{
    std::vector<unsigned char> file(kMemoHeaderSize, 0);
    WriteBigEndian32(file.data(), kFirstMemoBlock);
    file[7] = kStandardMemoBlockSize;
    return file;
}

CMemoFile::CMemoFile(CByteStore& store, const char* fileName) : m_store(store), m_fileName(fileName ? fileName : "")
{
}

void CMemoFile::Damaged(const char* what) const
{
    std::string text = std::string("The memo file ") + m_fileName + " is damaged: " + what;
    throw CGenericException(text.c_str());
}

MemoHeader CMemoFile::ReadHeader()
{
    unsigned char bytes[kMemoBlockHeaderSize];
    if (m_store.Size() < sizeof bytes)
        Damaged("no header");
    m_store.Read(0, bytes, sizeof bytes);
    MemoHeader header;
    header.nextFreeBlock = ReadBigEndian32(bytes);
    header.blockSize = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    if (header.blockSize == 0)
        Damaged("block size 0");
    return header;
}

void CMemoFile::WriteNextFree(std::uint32_t block)
{
    unsigned char bytes[4];
    WriteBigEndian32(bytes, block);
    m_store.Write(0, bytes, sizeof bytes);
}

bool CMemoFile::Locate(std::uint32_t block, MemoLocation& location)
{
    MemoHeader header = ReadHeader();
    location.fileSize = m_store.Size();
    location.textLength = 0;
    std::uint64_t offset = static_cast<std::uint64_t>(header.blockSize) * block;
    if (block == 0 || offset + kMemoBlockHeaderSize > location.fileSize) {
        location.offset = static_cast<std::uint32_t>(offset > kLargestFile ? kLargestFile : offset);
        return false;
    }
    location.offset = static_cast<std::uint32_t>(offset);
    unsigned char memoHeader[kMemoBlockHeaderSize];
    m_store.Read(location.offset, memoHeader, sizeof memoHeader);
    location.textLength = ReadBigEndian32(memoHeader + 4);
    return true;
}

MemoLocation CMemoFile::LocateText(std::uint32_t block)
{
    MemoLocation location;
    if (!Locate(block, location))
        Damaged("a memo lies beyond its end");
    std::uint64_t textStart = static_cast<std::uint64_t>(location.offset) + kMemoBlockHeaderSize;
    if (textStart + location.textLength > location.fileSize)
        Damaged("a memo text runs past its end");
    location.offset = static_cast<std::uint32_t>(textStart);
    return location;
}

std::string CMemoFile::ReadText(std::uint32_t block, const CRecordCipher* key)
{
    MemoLocation location = LocateText(block);
    std::string text(location.textLength, '\0');
    if (location.textLength) {
        m_store.Read(location.offset, &text[0], location.textLength);
        if (key)
            key->Decrypt(reinterpret_cast<unsigned char*>(&text[0]), text.size());
    }
    return text;
}

std::uint32_t CMemoFile::ReadText(std::uint32_t block, char* buffer, std::uint32_t capacity, const char* tooLongText,
                                  const CRecordCipher* key)
{
    MemoLocation location = LocateText(block);
    if (location.textLength > capacity || (location.textLength && !buffer))
        throw CGenericException(tooLongText);
    if (location.textLength) {
        m_store.Read(location.offset, buffer, location.textLength);
        if (key)
            key->Decrypt(reinterpret_cast<unsigned char*>(buffer), location.textLength);
    }
    return location.textLength;
}

std::uint32_t CMemoFile::Append(const void* text, std::uint32_t length, bool startAfresh, const CRecordCipher* key)
{
    std::uint32_t blockSize = kStandardMemoBlockSize;
    std::uint32_t startBlock = kFirstMemoBlock;
    if (!startAfresh) {
        MemoHeader header = ReadHeader();
        blockSize = header.blockSize;
        startBlock = header.nextFreeBlock;
    }
    std::uint64_t position = static_cast<std::uint64_t>(startBlock) * blockSize;
    if (position < kMemoHeaderSize)
        Damaged("its next free block lies inside the header");
    // A next free block beyond the end can only come from damage; the memo
    // then goes at the end rather than gigabytes further on.
    std::uint64_t endBlock = (std::max<std::uint64_t>(m_store.Size(), kMemoHeaderSize) + blockSize - 1) / blockSize;
    if (!startAfresh && startBlock > endBlock) {
        startBlock = static_cast<std::uint32_t>(endBlock);
        position = endBlock * blockSize;
    }

    std::uint64_t end = position;
    if (length > 0) {
        std::uint64_t used = kMemoBlockHeaderSize + static_cast<std::uint64_t>(length);
        std::uint64_t padded = (used + blockSize - 1) / blockSize * blockSize;
        end = position + padded;
        if (end > kLargestFile)
            throw CGenericException((std::string("The memo file ") + m_fileName + " is full").c_str());
        std::vector<unsigned char>& memo = m_memo;
        memo.assign(static_cast<std::size_t>(padded), 0);
        WriteBigEndian32(memo.data(), kTextMemoType);
        WriteBigEndian32(memo.data() + 4, length);
        std::memcpy(memo.data() + kMemoBlockHeaderSize, text, length);
        if (key)
            key->Encrypt(memo.data() + kMemoBlockHeaderSize, length);
        m_store.Write(static_cast<std::uint32_t>(position), memo.data(), static_cast<std::uint32_t>(padded));
    }
    if (startAfresh) {
        // The file ends right after the new memo, and its header is whole again.
        std::uint32_t size = m_store.Size();
        if (size > end) {
            m_store.Cut(static_cast<std::uint32_t>(end));
        } else if (size < end) {
            std::vector<unsigned char> zeros(static_cast<std::size_t>(end - size), 0);
            m_store.Write(size, zeros.data(), static_cast<std::uint32_t>(zeros.size()));
        }
        const unsigned char blockSizeBytes[2] = {0, kStandardMemoBlockSize};
        m_store.Write(6, blockSizeBytes, sizeof blockSizeBytes);
    }
    std::uint64_t nextFree = (end + blockSize - 1) / blockSize;
    WriteNextFree(static_cast<std::uint32_t>(nextFree));
    return length > 0 ? startBlock : 0;
}
