#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/MemoryZip.h"

// Allocations of this many bytes or more fail while it is not zero, so that a
// growing buffer runs out of memory in the middle of minizip.
static std::atomic<size_t> g_failAllocationsFrom{0};

void* operator new(size_t size)
{
    size_t limit = g_failAllocationsFrom.load();
    if (limit && size >= limit)
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

// The blocks above come from malloc, so free is their match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, size_t) noexcept
{
    std::free(block);
}
#pragma GCC diagnostic pop

TEST(MemoryZip, PacksAndUnpacksABufferInMemory)
{
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "{\\rtf1 note line " + std::to_string(i) + "}\r\n";
    std::vector<unsigned char> archive;
    ASSERT_TRUE(PackToMemoryZip("note.rtf", text.data(), text.size(), archive));
    ASSERT_GT(archive.size(), 5u);
    EXPECT_EQ(std::vector<unsigned char>(archive.begin(), archive.begin() + 5),
              (std::vector<unsigned char>{0x50, 0x4B, 0x03, 0x04, 0x14}));
    EXPECT_LT(archive.size(), text.size() / 4);

    std::vector<unsigned char> unpacked;
    std::string name;
    ASSERT_TRUE(UnpackFirstMemoryZipEntry(archive.data(), archive.size(), unpacked, &name));
    EXPECT_EQ(name, "note.rtf");
    EXPECT_EQ(std::string(unpacked.begin(), unpacked.end()), text);
}

TEST(MemoryZip, DamagedArchivesAreRefused)
{
    std::string text(5000, 'z');
    std::vector<unsigned char> archive;
    ASSERT_TRUE(PackToMemoryZip("z.txt", text.data(), text.size(), archive));
    std::vector<unsigned char> unpacked;
    // A cut archive is refused, or (when only trailing bookkeeping is lost) still
    // gives the whole entry: never partial or wrong bytes.
    for (size_t cut = 0; cut < archive.size(); ++cut) {
        if (UnpackFirstMemoryZipEntry(archive.data(), cut, unpacked))
            EXPECT_EQ(std::string(unpacked.begin(), unpacked.end()), text) << cut;
        else
            EXPECT_TRUE(unpacked.empty()) << cut;
    }
    EXPECT_FALSE(UnpackFirstMemoryZipEntry(archive.data(), archive.size() / 2, unpacked));
    std::vector<unsigned char> corrupt = archive;
    corrupt[40] ^= 0xFF;
    corrupt[41] ^= 0xFF;
    EXPECT_FALSE(UnpackFirstMemoryZipEntry(corrupt.data(), corrupt.size(), unpacked));
    EXPECT_TRUE(unpacked.empty());

    // An entry whose headers claim 2 GB is read for what it holds, never made
    // room for.
    std::vector<unsigned char> boasting = archive;
    const unsigned char central[] = {0x50, 0x4B, 0x01, 0x02};
    auto entry = std::search(boasting.begin(), boasting.end(), central, central + 4);
    ASSERT_NE(entry, boasting.end());
    for (unsigned char* size : {&boasting[22], &*entry + 24}) {
        size[0] = 0xF0;
        size[1] = size[2] = 0xFF;
        size[3] = 0x7F;
    }
    EXPECT_FALSE(UnpackFirstMemoryZipEntry(boasting.data(), boasting.size(), unpacked));
    EXPECT_TRUE(unpacked.empty());

    // Scrambled archives, as the network may bring them: refused, or the very
    // bytes that were packed.
    std::mt19937 random(11);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> scrambled = archive;
        for (unsigned k = 1 + random() % 4; k > 0; --k)
            scrambled[random() % scrambled.size()] = static_cast<unsigned char>(random());
        std::string name;
        if (UnpackFirstMemoryZipEntry(scrambled.data(), scrambled.size(), unpacked, &name)) {
            ASSERT_EQ(std::string(unpacked.begin(), unpacked.end()), text) << round;
            EXPECT_LE(name.size(), kMaxZipEntryNameLength);
        } else {
            ++refused;
            EXPECT_TRUE(unpacked.empty());
        }
    }
    EXPECT_GT(refused, 500);
}

TEST(MemoryZip, EntryNamesAreBoundedAndTerminated)
{
    const std::string text = "{\\rtf1 protected}";
    std::vector<unsigned char> archive;
    std::vector<unsigned char> unpacked;
    for (size_t length : {1u, 259u, 260u, 261u, 1000u, 65535u}) {
        std::string stored(length, 'n');
        stored[0] = 'A';
        stored[length - 1] = 'Z';
        ASSERT_TRUE(PackToMemoryZip(stored, text.data(), text.size(), archive)) << length;
        std::string name = "left over";
        ASSERT_TRUE(UnpackFirstMemoryZipEntry(archive.data(), archive.size(), unpacked, &name)) << length;
        EXPECT_EQ(name, stored.substr(0, kMaxZipEntryNameLength)) << length;
        EXPECT_EQ(std::string(unpacked.begin(), unpacked.end()), text) << length;
    }
}

TEST(MemoryZip, RunningOutOfMemoryWhilePackingIsAFailure)
{
    std::string text(300000, 'q');
    for (size_t i = 0; i < text.size(); i += 7)
        text[i] = static_cast<char>('a' + i % 26);
    std::vector<unsigned char> archive;
    ASSERT_TRUE(PackToMemoryZip("big.rtf", text.data(), text.size(), archive));
    const size_t packedSize = archive.size();

    // The archive's buffer grows a little at a time, minizip's own buffers are
    // below these limits: the failure comes from a write callback.
    for (size_t limit : {size_t{1024}, packedSize / 2}) {
        std::vector<unsigned char> failed;
        g_failAllocationsFrom = limit;
        bool packed = PackToMemoryZip("big.rtf", text.data(), text.size(), failed);
        g_failAllocationsFrom = 0;
        EXPECT_FALSE(packed) << limit;
        EXPECT_TRUE(failed.empty()) << limit;
    }
    ASSERT_TRUE(PackToMemoryZip("big.rtf", text.data(), text.size(), archive));
    std::vector<unsigned char> unpacked;
    ASSERT_TRUE(UnpackFirstMemoryZipEntry(archive.data(), archive.size(), unpacked));
    EXPECT_EQ(std::string(unpacked.begin(), unpacked.end()), text);
}
