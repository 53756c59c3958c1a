#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/bytes/ByteStore.h"
#include "store/bytes/RecordCipher.h"

// A memo file keeps the long texts of a table: a 512-byte header, then memos
// of whole blocks, each an 8-byte header {type 1, text length} followed by the
// text and zero bytes up to the next block boundary. A record names its memo by
// the number of the first block. Numbers are big-endian. Memo files only grow.
enum {
    kMemoHeaderSize = 512,
    kMemoBlockHeaderSize = 8,
    kStandardMemoBlockSize = 64,
    kFirstMemoBlock = kMemoHeaderSize / kStandardMemoBlockSize,
};

// An empty memo file: the header alone, next free block 8, blocks of 64 bytes.
std::vector<unsigned char> BuildEmptyMemoFile();

struct MemoHeader {
    std::uint32_t nextFreeBlock;
    std::uint16_t blockSize;
};

struct MemoLocation {
    std::uint32_t offset;   // of the memo's 8-byte header
    std::uint32_t fileSize;
    std::uint32_t textLength;
};

class CMemoFile {
public:
    // The name only goes into error texts; it must outlive the object.
    CMemoFile(CByteStore& store, const char* fileName);

    // Throws when the file is too short for a header or its block size is 0.
    MemoHeader ReadHeader();

    // Where memo k lies and how long its text is; false when block k (or its
    // 8-byte header) is not inside the file. Block 0 means no memo.
    bool Locate(std::uint32_t block, MemoLocation& location);
    // The text of memo k, deciphered with the key when one is given; throws
    // when the memo is missing or its text runs past the end of the file.
    std::string ReadText(std::uint32_t block, const CRecordCipher* key = nullptr);
    // The same into the caller's buffer, which must hold the text (its length
    // is returned); a text longer than the capacity throws tooLongText.
    std::uint32_t ReadText(std::uint32_t block, char* buffer, std::uint32_t capacity, const char* tooLongText,
                           const CRecordCipher* key = nullptr);

    // Appends a memo and returns its first block, 0 for an empty text. Starting
    // afresh writes it at block 8 and ends the file after it, dropping every
    // earlier memo. A key enciphers the text as it is stored.
    std::uint32_t Append(const void* text, std::uint32_t length, bool startAfresh,
                         const CRecordCipher* key = nullptr);

private:
    [[noreturn]] void Damaged(const char* what) const;
    void WriteNextFree(std::uint32_t block);
    // Where the text of memo k starts and how long it is; throws as ReadText.
    MemoLocation LocateText(std::uint32_t block);

    CByteStore& m_store;
    const char* m_fileName;
    std::vector<unsigned char> m_memo;  // the memo being appended, kept for the next
};
