#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/bytes/Base64Codec.h"
#include "support/TempFolder.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
std::string BinaryContents(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(i % 7 == 0 ? 0 : i * 131 % 256);
    return bytes;
}

std::string EncodeInMemory(const std::string& bytes)
{
    CBase64Codec codec;
    std::string text(CBase64Codec::EncodedLength(bytes.size()) + 1, '\0');
    size_t length = 0;
    EXPECT_TRUE(codec.EncodeString(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &text[0],
                                   text.size(), &length));
    text.resize(length);
    return text;
}
}

TEST(Base64FileCodec, FilesOfEverySizeSurviveTheRoundTrip)
{
    TempFolder folder;
    CBase64Codec codec;
    for (size_t n : {3001u, 1u, 2u, 3u, 2999u, 3000u, 6000u, 9002u, 40000u}) {
        std::string contents = BinaryContents(n);
        WriteWholeFile(folder.File("in.bin"), contents);
        ASSERT_TRUE(codec.EncodeFileToBase64(folder.File("in.b64").c_str(), folder.File("in.bin").c_str())) << n;
        std::string text = ReadWholeFile(folder.File("in.b64"));
        EXPECT_EQ(text, EncodeInMemory(contents)) << "pieces join into the canonical text " << n;
        if (n == 3001) {
            ASSERT_EQ(text.size(), 4004u);
            EXPECT_EQ(text.substr(4002), "==");
        }
        ASSERT_TRUE(codec.DecodeFileFromBase64(folder.File("out.bin").c_str(), folder.File("in.b64").c_str())) << n;
        EXPECT_EQ(ReadWholeFile(folder.File("out.bin")), contents) << n;
    }

    // A text broken into lines decodes too.
    std::string contents = BinaryContents(5000);
    std::string text = EncodeInMemory(contents);
    std::string lines;
    for (size_t at = 0; at < text.size(); at += 76)
        lines += text.substr(at, 76) + "\r\n";
    WriteWholeFile(folder.File("lines.b64"), lines);
    ASSERT_TRUE(codec.DecodeFileFromBase64(folder.File("out.bin").c_str(), folder.File("lines.b64").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("out.bin")), contents);
}

TEST(Base64FileCodec, EmptyMissingAndDamagedSources)
{
    TempFolder folder;
    MessageBoxRecorder boxes;
    CBase64Codec codec;
    WriteWholeFile(folder.File("empty"), "");
    EXPECT_FALSE(codec.EncodeFileToBase64(folder.File("e.b64").c_str(), folder.File("empty").c_str()));
    EXPECT_FALSE(codec.DecodeFileFromBase64(folder.File("e.bin").c_str(), folder.File("empty").c_str()));
    EXPECT_FALSE(FileExists(folder.File("e.bin")));
    EXPECT_EQ(boxes.Count(), 0u);

    std::string missing = folder.File("missing.bin");
    EXPECT_FALSE(codec.EncodeFileToBase64(folder.File("m.b64").c_str(), missing.c_str()));
    ASSERT_EQ(boxes.Count(), 1u);
    RecordedBox box = boxes.Boxes()[0];
    EXPECT_EQ(box.caption, "Quillnet+");
    EXPECT_EQ(box.flags, 0u);
    EXPECT_EQ(box.text.find("Open ReadOnly failed - "), 0u);
    EXPECT_EQ(box.text.substr(box.text.size() - missing.size() - 1), " " + missing);

    // A damaged text leaves no half-written file behind, and the file it was
    // to replace as it was.
    std::string damaged = EncodeInMemory(BinaryContents(9000));
    damaged[8000] = '*';
    WriteWholeFile(folder.File("damaged.b64"), damaged);
    EXPECT_FALSE(codec.DecodeFileFromBase64(folder.File("d.bin").c_str(), folder.File("damaged.b64").c_str()));
    EXPECT_FALSE(FileExists(folder.File("d.bin")));
    WriteWholeFile(folder.File("d.bin"), "the last good attachment");
    EXPECT_FALSE(codec.DecodeFileFromBase64(folder.File("d.bin").c_str(), folder.File("damaged.b64").c_str()));
    EXPECT_EQ(ReadWholeFile(folder.File("d.bin")), "the last good attachment");
    EXPECT_FALSE(FileExists(folder.File("d.bin.new")));
}

TEST(Base64FileCodec, AFileIsEncodedAndDecodedInPlace)
{
    TempFolder folder;
    CBase64Codec codec;
    std::string path = folder.File("attachment");
    std::string contents = BinaryContents(7000);
    WriteWholeFile(path, contents);
    ASSERT_TRUE(codec.EncodeFileToBase64(path.c_str(), path.c_str()));
    EXPECT_EQ(ReadWholeFile(path), EncodeInMemory(contents));
    ASSERT_TRUE(codec.DecodeFileFromBase64(path.c_str(), path.c_str()));
    EXPECT_EQ(ReadWholeFile(path), contents);
}
