// Memo files from arbitrary bytes: every memo a record may name is found inside
// the file or refused, its text read whole or refused, plain and deciphered; an
// appended text reads back as written. No byte outside the file may ever be
// asked for.
#include <cstdint>
#include <string>
#include <vector>

#include "CheckedStore.h"
#include "FuzzCheck.h"
#include "foundation/bytes/GenericException.h"
#include "store/bytes/MemoFile.h"
#include "store/bytes/TableGroups.h"

namespace {
void ReadMemo(CMemoFile& memo, std::uint32_t block)
{
    MemoLocation where = {};
    bool found = false;
    try {
        found = memo.Locate(block, where); // a file too short for its header throws
    } catch (const CGenericException&) {
    }
    if (found)
        FUZZ_CHECK(static_cast<std::uint64_t>(where.offset) + kMemoBlockHeaderSize <= where.fileSize);
    for (const CRecordCipher* key : {static_cast<const CRecordCipher*>(nullptr), &GetSettingsMemoKey()}) {
        try {
            std::string text = memo.ReadText(block, key);
            FUZZ_CHECK(block == 0 || found);
            if (found)
                FUZZ_CHECK(where.offset + kMemoBlockHeaderSize + static_cast<std::uint64_t>(text.size()) <=
                           where.fileSize);
        } catch (const CGenericException&) {
        }
    }
}

std::uint32_t BigEndianAt(const uint8_t* data, size_t size, size_t at)
{
    std::uint32_t value = 0;
    for (size_t k = at; k < at + 4 && k < size; ++k)
        value = value << 8 | data[k];
    return value;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnswerBoxesQuietly();
    CheckedStore store(std::vector<unsigned char>(data, data + size));
    CMemoFile memo(store, "fuzz.QPS");
    MemoHeader header = {};
    try {
        header = memo.ReadHeader();
    } catch (const CGenericException&) {
    }
    // The blocks a record could name: the usual ones, the edges, the last
    // memo the header counts and numbers taken from the input's own end.
    const std::uint32_t blocks[] = {0, kFirstMemoBlock, kFirstMemoBlock + 1, kFirstMemoBlock + 2,
                                    header.nextFreeBlock - 1, header.nextFreeBlock, 0xFFFFFFFFu,
                                    BigEndianAt(data, size, size >= 4 ? size - 4 : 0),
                                    BigEndianAt(data, size, size >= 8 ? size - 8 : 0) % 4096};
    for (std::uint32_t block : blocks)
        ReadMemo(memo, block);

    const std::string text(data, data + (size < 200 ? size : 200));
    const bool startAfresh = size % 5 == 0;
    try {
        std::uint32_t block = memo.Append(text.data(), static_cast<std::uint32_t>(text.size()), startAfresh,
                                          size % 2 ? &GetSettingsMemoKey() : nullptr);
        FUZZ_CHECK(block != 0 || text.empty());
        if (block != 0)
            FUZZ_CHECK(memo.ReadText(block, size % 2 ? &GetSettingsMemoKey() : nullptr) == text);
    } catch (const CGenericException&) {
    }
    return 0;
}
