#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/bytes/MemoryZip.h"

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
}
